#pragma once
// The program-wide state: one object that main() owns and hands to every
// window. Nothing else in the program keeps mutable global values, so a test
// builds a fresh program by building a fresh ProgramState.
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ui {
class Dialogs;
}

class QWidget;
class loadingF;
class halvoranF;
class optionsF;

namespace app {

// A stream of the audio library: the 32-bit handle it returns, 0 = none.
using StreamHandle = std::uint32_t;

// One deck's record (0 left, 1 right). The deck code extends it.
struct DeckRecord {
    QString filePath;               // file loaded or to be loaded; empty = none
    StreamHandle stream = 0;        // engine stream; 0 = none
    std::int16_t streamKind = 0;    // 1 = WMA add-on, 2 = main library
    std::uint32_t baseRate = 44100; // Hz, the rate the pitch is computed from
    std::int16_t paused = 0;        // -1 true, 0 false
    std::uint32_t cuePosition = 0;  // bytes
    std::int16_t cueMode = 0;       // -1 true, 0 false
    std::uint32_t length = 0;       // bytes
};

// What the engine is started with; filled by the options window's load.
struct EngineSettings {
    std::int16_t device = 0;          // wanted device: -1 default, else the list position - 1
    std::int16_t deviceInUse = 0;     // the device the engine is started on
    std::uint32_t outputRate = 22050; // Hz: 44100 (CD quality) or 22050 (FM quality)
    std::uint32_t streamFlags = 0;    // "SeekAccuracy": 0 or BASS_MP3_SETPOS, for every stream
    double bufferLength = 1.1;        // seconds, 0.2 .. 2.0
};

// The other settings kept in the registry.
struct Settings {
    std::int16_t optStartUp = 0;            // 1 = offer the file associations at start-up
    std::int32_t turntableStopSpeed = 4000; // 1000 .. 7000
    double pitchRange = 1.0;                // 1.0, 1.5 or 2.0
    std::int16_t djSetup = 0;               // 0, 1, 2: arrangement of the main window's panels
    std::int16_t automixStart = 85;         // percent of the track, 70 .. 100
    QString playlistPath;                   // the saved playlist folder
};

// A loaded window, in the order of loading. Unloading it removes the entry.
struct LoadedForm {
    QString name;
    QObject* window = nullptr;
    std::function<void()> unload;
};

// Calls from a lower part of the program to a higher or sibling one (a deck
// asking the playlist for an entry, the track timer raising an automatic-DJ
// step). The part that answers connects its function at start-up; a call that
// nobody connected does nothing and answers the empty value.
struct ProgramLinks {
    // Mixer: volume and pan of both decks reach their streams.
    std::function<void()> runVolumeTimer;
    // Level meters: one update from the track timer.
    std::function<void()> runVUmeterTimer;
    // Automatic DJ: one hand-over step.
    std::function<void()> runAutoDJ;
    // Playlist window: its add and remove buttons, the path of an entry of
    // List1(0) ("" when there is none), the number of entries, and marking an
    // entry as selected in both lists.
    std::function<void()> pressPlaylistAdd;
    std::function<void()> pressPlaylistRemove;
    std::function<QString(int index)> playlistPath;
    std::function<int()> playlistCount;
    std::function<void(int index)> selectPlaylistEntry;
    // Playlist window: rebuild the display line of the entry at `index` from
    // its file's tags (after the tag editor saved).
    std::function<void(int index)> refreshPlaylistEntry;
};

// Runs a link when it is connected.
template <typename Fn, typename... Args>
auto callLink(const std::function<Fn>& link, Args&&... args) {
    using Result = typename std::function<Fn>::result_type;
    if (!link)
        return Result();
    return link(std::forward<Args>(args)...);
}

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

    // Mixer start values.
    std::int16_t crossMax = 0;
    std::int16_t crossCentre = 0;

    // Modifier keys as the keyboard shortcuts see them (-1 held, 0 not).
    std::int16_t ctrlDown = 0;
    std::int16_t altDown = 0;

    // Automatic DJ: on, and each deck's mix-point flag (-1 set, 0 clear).
    std::int16_t autoDJ_On = 0;
    std::int16_t leftAtMixPoint = 0;
    std::int16_t rightAtMixPoint = 0;

    // Connections between the parts of the program.
    ProgramLinks links;

    // The playlist's program-wide values.
    std::int32_t song_index = 0;
    bool playlist_changed = false;
    QString current_playlist;
    QString last_added_file;
    QString nextSongPath;

    // The command line as the program received it (arguments joined by blanks).
    QString commandLine;

    // Window references; null when the window is not loaded.
    QPointer<loadingF> splash;
    QPointer<halvoranF> mainWindow;
    QPointer<optionsF> optionsWindow;
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

    // Names of the start-up and shutdown steps in the order they ran.
    std::vector<std::string> steps;
    void step(const char* name) { steps.emplace_back(name); }
};

} // namespace app
