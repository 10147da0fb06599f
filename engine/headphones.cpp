#include "engine/headphones.h"

#include "engine/channel.h"
#include "platform/audio/headphones.h"

namespace engine {

void chooseHeadphones(const QString& choice) {
    audio::setHeadphonesWanted(choice == kHeadphonesJack || choice == kHeadphonesChannels);
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
