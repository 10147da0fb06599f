#include "platform/audio/error.h"

#include <atomic>

namespace audio {
namespace {
std::atomic<int> lastCode{0};
}

int lastError() {
    return lastCode.load();
}
void setLastError(int code) {
    lastCode.store(code);
}

} // namespace audio
