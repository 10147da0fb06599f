#pragma once
// The code of the last failed call, kept per calling thread.

namespace audio {

int lastError();
void setLastError(int code);

// Records `code` as the last error and returns 0 (the calls' failure value).
inline int fail(int code) {
    setLastError(code);
    return 0;
}
// Records success (code 0) and returns 1.
inline int succeed() {
    setLastError(0);
    return 1;
}

} // namespace audio
