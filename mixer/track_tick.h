#pragma once
// The 80 ms track tick, the one place that orders it: the level meters take
// one reading; the decks follow a held bend and show their time and
// progress; then, with the automatic DJ on, each deck past its mix point
// reports it (right deck first), which runs one automatic-DJ step; last, the
// recording shows its time (and ends when its file failed). The main
// window's track timer runs it. UI thread only.
namespace core {
struct ProgramState;
}
namespace decks {
class Decks;
}

namespace mixer {

class MixerDesk;
class Recording;

class TrackTick {
public:
    TrackTick(core::ProgramState& state, decks::Decks& decks, MixerDesk& mixer)
        : state_(state), decks_(decks), mixer_(mixer) {}

    void run();
    // The recording whose time the tick shows last (none until attached).
    void attachRecording(Recording& recording) { recording_ = &recording; }

private:
    core::ProgramState& state_;
    decks::Decks& decks_;
    MixerDesk& mixer_;
    Recording* recording_ = nullptr;
};

} // namespace mixer
