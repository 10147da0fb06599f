#pragma once
// The code of the last failed call (process-wide). A successful call leaves
// it as it was, so an error box shows the code of the call that failed even
// when other calls succeeded in between.

namespace audio {

int lastError();
void setLastError(int code);

// Records `code` as the last error and returns 0 (the calls' failure value).
inline int fail(int code) {
    setLastError(code);
    return 0;
}
// Success: returns 1 and leaves the last error alone.
inline int succeed() {
    return 1;
}

} // namespace audio
