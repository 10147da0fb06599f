#pragma once
// The program-wide state: one object that main() owns and hands to every
// window. Nothing else in the program keeps mutable global values, so a test
// builds a fresh program by building a fresh ProgramState.
#include "core/playlist_model.h"
#include "engine/channel.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {
class Dialogs;
}

class QWidget;
class loadingF;
class halvoranF;
class optionsF;
class frmAssociate;
class playlistF;
class searchF;

namespace core {

// A stream's 32-bit engine handle, 0 = none: tells one loaded stream from the next.
using StreamHandle = engine::Channel::Handle;

// One deck's record (0 left, 1 right).
struct DeckRecord {
    QString filePath;               // file loaded or to be loaded; empty = none
    QString loadedFile;             // file of the stream now loaded; empty = none
    engine::Channel stream;         // the loaded file's stream and who opened it; empty = none
    std::uint32_t baseRate = 44100; // Hz, the rate the pitch is computed from
    bool paused = false;            // set by pause, cleared by the next play
    std::uint64_t cuePosition = 0;  // bytes; where play starts
    bool cueMode = false;           // the deck stands at its cue point
    std::uint64_t length = 0;       // bytes of the stream's data (a 10-hour song is over 4 GB)
    std::uint64_t memoryCue1 = 0;   // bytes; the cue position before the last cue press
    std::uint64_t memoryCue2 = 0;   // bytes; the previous memory cue 1
    // Pitch: 1000 = no change, above faster, below slower (slider units, 0..2000).
    std::int16_t pitchPosition = 1000;
    std::int32_t lastSliderValue = 0; // slider value last turned into a pitch position
    bool bendUpHeld = false;
    bool bendDownHeld = false;
    bool scrubBackHeld = false; // a scrub button is held (cue mode only)
    bool scrubForwardHeld = false;
    std::int16_t lastProgress = 0; // display progress (percent) seen at the last track tick
    // The loaded track's own rate and tempo (from its analysis): beats a
    // minute, 0 while not known, and the first beat's time in seconds.
    std::uint32_t fileRate = 44100; // Hz
    double bpm = 0;
    double firstBeat = 0;
    // The music's first and last moment (seconds of the track) and whether
    // the analysis of the loaded track has answered at all.
    double musicStart = 0;
    double musicEnd = 0;
    bool analysed = false;
    bool analysisFailed = false; // the analysis of the loaded track could not be done
    // The exact rate (Hz) SYNC set, kept while the pitch position stays at
    // syncedPosition; 0 = none.
    std::int64_t syncedRate = 0;
    std::int16_t syncedPosition = 1000;
    // KEY LOCK: the pitch changes the tempo only; kept across loads.
    bool keyLock = false;
};

// Where the automatic DJ's hand-overs stand: the deck on air (the one faded
// in last) and whether its mix point has come. A hand-over happens while a
// deck is due; afterwards the other deck is on air. The stage is kept while
// the mode is off, and switching it on again goes on from there.
enum class AutoDJStage : std::uint8_t {
    NotStarted, // no hand-over yet: the first one goes to the right deck
    LeftDue,    // the left deck is on air and has passed its mix point
    RightOnAir, // the right deck took over from the left one
    RightDue,   // the right deck is on air and has passed its mix point
    LeftOnAir,  // the left deck took over from the right one
};

// The headphones: which decks are pre-listened, and the split (pre-listen
// on the left ear, the main mix on the right). The cue/main knob and the
// headphone volume are the mixer panel's sliders.
struct HeadphoneState {
    std::array<bool, 2> prelisten{}; // 0 left deck, 1 right deck
    bool split = false;
};

// How the automatic DJ hands over (the registry keeps the number).
enum class AutoDJMode : std::int16_t {
    Percent = 0, // "hand over at N %" of the track, the crossfader in steps of 2
    Beats = 1,   // where the music ends, the fade on the playing track's beat
};

struct AutoDJState {
    bool on = false; // the AUTO DJ button shows this
    AutoDJStage stage = AutoDJStage::NotStarted;
};

// What the engine is started with; filled by the options window's load.
struct EngineSettings {
    std::int16_t device = 0;          // wanted device: -1 default, else the list position - 1
    std::int16_t deviceInUse = 0;     // the device the engine is started on
    std::uint32_t outputRate = 22050; // Hz: 44100 (CD quality) or 22050 (FM quality)
    std::uint32_t streamFlags = 0;    // "SeekAccuracy": 0 or engine::kExactSeeks, for every stream
    double bufferLength = 1.1;        // seconds, 0.2 .. 2.0
};

// The other settings kept in the registry.
struct Settings {
    std::int16_t optStartUp = 0;            // 1 = offer the file associations at start-up
    std::int32_t turntableStopSpeed = 4000; // 1000 .. 7000
    double pitchRange = 1.0;                // 1.0, 1.5 or 2.0
    std::int16_t djSetup = 0;               // 0, 1, 2: arrangement of the main window's panels
    std::int16_t automixStart = 85;         // percent of the track, 70 .. 100
    // The automatic DJ's hand-over ("AutoDJMode"): at automixStart percent of
    // the track, or where the playing track's music ends, on its beat, over
    // autoDJFadeBeats beats ("AutoDJFadeBeats", 4 .. 64).
    AutoDJMode autoDJMode = AutoDJMode::Percent;
    std::int16_t autoDJFadeBeats = 16;
    QString playlistPath;             // the saved playlist folder
    QString recordingsFolder;         // where recordings go ("RecordingsFolder")
    QString headphones = "None";      // "Headphones": the headphone output, from the next start
    std::int16_t recordingFormat = 0; // "RecordingFormat": 0 WAV, 1 FLAC, 2 MP3
    // "BpmRangeMin", "BpmRangeMax": the analysed tempo is folded by octaves
    // into [min, max) beats a minute.
    double bpmRangeMin = 75;
    double bpmRangeMax = 150;
    bool keyLockFiner = false; // "KeyLockEngine": "Faster" (false) or "Finer"
};

// What the program's own ID3v2 reader found in the last file it read: one
// text per frame it keeps (empty when the tag has no such frame), the tag's
// total size in bytes (header size + 10, where the audio starts; 1 when the
// file has no tag) and whether the file starts with a tag.
struct Id3v2Values {
    QString TIT2, TPE1, TALB, COMM, TYER, TCON, TCOM, TCOP, TOPE, WXXX, TENC, TRCK;
    double totalSize = 1;
    bool hasId3v2 = false;
};

// A loaded window, in the order of loading. Unloading it removes the entry.
struct LoadedForm {
    QString name;
    QObject* window = nullptr;
    std::function<void()> unload;
};

struct ProgramState {
    explicit ProgramState(ui::Dialogs& dialogs);
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    // Every message box and file dialog goes through here.
    ui::Dialogs& dialogs;

    // Decks.
    std::int16_t selectedDeck = 0; // 0 left, 1 right
    std::array<DeckRecord, 2> decks;

    EngineSettings engine;
    Settings settings;
    std::int16_t cueSearchInterval = 80; // ms, the cue timers' interval
    QString appHelpFile;                 // empty when the help cannot be shown
    // How many of the five file types belong to the program; counted each
    // time the association window loads.
    std::int16_t associatedTypes = 0;

    // Pan given to a stream when a deck loads it (left channel only, where
    // the monitor is heard) until the mixer sets the deck's pan.
    std::int16_t startupPan = -100;

    // Mixer start values.
    std::int16_t crossMax = 0;
    std::int16_t crossCentre = 0;

    // Mixer: the last mixed volume of each deck (0..100), recomputed from the
    // sliders on every volume run; the monitor mode (1 monitor the left deck,
    // 2 the right deck, any other value off); the audio library's result of
    // the last attribute call (non-zero = done), kept and never reported.
    std::int32_t leftDeckVolume = 0;
    std::int32_t rightDeckVolume = 0;
    std::int16_t monitorMode = 0;
    std::int32_t lastResult = 0;

    HeadphoneState phones;

    // Automatic DJ: the mode switch, and where its hand-overs stand.
    AutoDJState autoDJ;
    // Set when a drag of the next-song box or of a playlist entry starts,
    // cleared by a drop that loads a deck.
    bool dragArmed = false;

    // The playlist: entries, cursor, changed flag, files.
    PlaylistModel playlist;
    // The folder of the file last chosen in each file dialog, by the
    // dialog's name ("cDlgLoadFiles", ...); the dialog opens there next time.
    QHash<QString, QString> dialogFolders;

    // The program's uniform random source in [0, 1); never reseeded, so the
    // shuffles repeat from start to start. Tests may replace it.
    std::function<double()> rnd;

    // The twelve ID3v2 texts of the program's own tag reader.
    Id3v2Values id3v2;

    // The command line as the program received it (arguments joined by blanks).
    QString commandLine;

    // Window references; null when the window is not loaded.
    QPointer<loadingF> splash;
    QPointer<halvoranF> mainWindow;
    QPointer<optionsF> optionsWindow;
    QPointer<frmAssociate> associateWindow;
    QPointer<playlistF> playlistWindow;
    QPointer<searchF> searchWindow;
    // Loaded windows in loading order (the close unloads them last to first).
    std::vector<LoadedForm> forms;
    void addForm(const QString& name, QObject* window, std::function<void()> unload);
    void removeForm(QObject* window);
    // Every window made for this program, in creation order; those still
    // alive when the program object goes away are destroyed with it.
    std::vector<QPointer<QObject>> createdWindows;

    // Seams. The engine version text the start-up checks (the library's own
    // by default); ending the program with an exit status.
    std::function<QString()> bassVersionText;
    std::function<void(int exitCode)> endProgram;
    // Called once the main window is shown (unattended runs arm themselves here).
    std::function<void(QWidget* mainWindow)> onMainWindowShown;
    bool programEnded = false;
    int exitCode = 0;
    void end(int code);
};

} // namespace core
