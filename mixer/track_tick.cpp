#include "mixer/track_tick.h"

#include "core/program_state.h"
#include "decks/decks.h"
#include "mixer/mixer_desk.h"
#include "mixer/recording.h"

namespace mixer {

void TrackTick::run() {
    mixer_.run_VUmeterTimer();
    decks_.showTrackTimes();
    if (state_.autoDJ.on)
        decks_.reportMixPoints();
    if (recording_)
        recording_->showTime();
}

} // namespace mixer
