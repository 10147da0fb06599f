#include "engine/headphones.h"

#include "engine/channel.h"
#include "engine/engine_lifecycle.h"
#include "platform/audio/headphones.h"

namespace engine {

void chooseHeadphones(const QString& choice) {
    int device = -1;
    for (int number = 1; device < 0 && !choice.isEmpty(); ++number) {
        const std::optional<QString> description = deviceDescription(number);
        if (!description)
            break;
        if (*description == choice)
            device = number - 1;
    }
    audio::setHeadphonesDevice(device);
    audio::setHeadphonesWanted(choice == kHeadphonesJack || choice == kHeadphonesChannels ||
                               device >= 0);
}

bool headphonesReady() {
    return audio::headphonesReady();
}

void setPrelisten(const Channel& stream, bool on) {
    if (stream)
        audio::setPrelisten(stream.handle(), on);
}

void setHeadphoneMix(double mainShare, double volume, bool split) {
    audio::setHeadphoneMix(mainShare, volume, split);
}

} // namespace engine
