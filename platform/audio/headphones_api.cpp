// The engine's headphone calls.
#include "platform/audio/engine.h"
#include "platform/audio/error.h"
#include "platform/audio/headphones.h"

namespace audio {

void setHeadphonesWanted(bool wanted) {
    withEngine([&](Engine& engine) { engine.setPhonesWanted(wanted); });
}

void setHeadphonesDevice(int device) {
    withEngine([&](Engine& engine) { engine.setPhonesDevice(device); });
}

bool headphonesReady() {
    return withEngine([](Engine& engine) {
        Output* output = engine.output();
        return output && output->hasPhones();
    });
}

bool setPrelisten(DWORD handle, bool on) {
    return withEngine([&](Engine& engine) {
        StreamEntry* entry = engine.find(handle, CallKind::Any);
        if (!entry)
            return false;
        entry->stream->setPrelisten(on);
        return succeed() != 0;
    });
}

void setHeadphoneMix(double mainShare, double volume, bool split) {
    withEngine([&](Engine& engine) {
        if (Output* output = engine.output())
            output->mixer().setPhones(static_cast<float>(mainShare), static_cast<float>(volume),
                                      split);
    });
}

} // namespace audio
