#pragma once
// Recording the set: the REC button starts and ends a recording of the main
// output into the recordings folder (options), as WAV, FLAC or MP3, with a
// cue sheet of the same name listing every track that went on air. The
// mixer panel shows the recording's time. A file that stops taking sound
// (a full disk, a size limit) ends the recording with one message; what was
// recorded stays in a closed, readable file. UI thread only.
#include "core/program_state.h"
#include "mixer/cue_sheet.h"

#include <QString>
#include <array>
#include <optional>

class ConsoleButton;
class QLabel;

namespace mixer {

struct RecordingControls {
    ConsoleButton* rec = nullptr; // recCB: red while recording
    QLabel* time = nullptr;       // recTimeTXT: the recording's time, h:mm:ss
};

class Recording {
public:
    Recording(core::ProgramState& state, const RecordingControls& controls);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    bool running() const { return running_; }
    // The recording's files (empty before the first recording).
    const QString& audioPath() const { return audioPath_; }
    const QString& cuePath() const { return cuePath_; }

    // REC: starts a recording, or ends the one running.
    void recCB_Click();
    // Starts recording into a new file in the recordings folder; false after
    // telling the user why it could not.
    bool start();
    // Ends the recording; its file and cue sheet are complete.
    void stop();
    // Track tick: the time on the display, and the end of a recording whose
    // file stopped taking sound.
    void showTime();
    // After every change of the decks' levels: a deck that plays and is heard
    // in the main output with a track not yet listed puts it on the cue
    // sheet, at the recording's time now.
    void noteTracksOnAir();

private:
    // Ends the recording and shows one box when anything of it went wrong;
    // `failure` is the file's own failure when it is already known.
    void finish(QString failure);
    void showState();

    core::ProgramState& state_;
    RecordingControls controls_;
    bool running_ = false;
    QString audioPath_;
    QString cuePath_;
    std::optional<CueSheet> sheet_;
    // The stream of each deck last put on the sheet (0 = none).
    std::array<core::StreamHandle, 2> listed_{};
};

// The recordings folder when the options hold none: the user's music folder
// and "Vorlan recordings" in it.
QString defaultRecordingsFolder();

} // namespace mixer
