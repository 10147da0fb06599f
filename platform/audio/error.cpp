#include "platform/audio/error.h"

namespace audio {
namespace {
thread_local int lastCode = 0;
}

int lastError() {
    return lastCode;
}
void setLastError(int code) {
    lastCode = code;
}

} // namespace audio
