#pragma once
// playlistF: the playlist window, a view onto the program's playlist
// (core::PlaylistModel, the songs the decks and the automatic DJ draw from).
// Its list List1 shows an entry a line ("n.  title"); the window saves and
// opens the playlist as M3U files, adds music files, edits the order (remove,
// clear, move, sort, shuffle) and opens the search window. The window lives
// for the whole run: closing it hides it. Everything runs on the
// user-interface thread.
#include "platform/ui/dialogs.h"

#include <QWidget>

class QLabel;
class QListView;
class QMenu;
class QAction;
class ConsoleButton;

namespace core {
struct ProgramState;
}

class playlistF : public QWidget {
    Q_OBJECT

public:
    explicit playlistF(core::ProgramState& state);

    // Loads the window (hidden) unless it is loaded: answers the playlist's
    // add requests from then on and runs Form_Load. Returns the window.
    static playlistF* load(core::ProgramState& state);

    // ---- The playlist (files) ----
    // Start-up: a command line naming a playlist opens it; an empty command
    // line reopens the last playlist.
    void Form_Load();
    // Adds the files the add dialog returned: one full path, or the folder
    // followed by NUL-separated names.
    void loadsongs_to_playlist(const QString& fileNames);
    void new_playlist();
    // Replaces the list by the playlist file's entries.
    void Load_playlist(const QString& path);
    // The playlist named on the command line: loaded, or, when there is no
    // such file, the open dialog's "File not found." box and no playlist.
    void openCommandLinePlaylist(const QString& path);
    // Appends the playlist file's entries, numbered on from the last entry.
    void open_playlist(const QString& path);
    // Writes the list to the playlist's save path (".m3u" added when missing).
    void save_playlist();
    // Asks about unsaved changes, hides the window, remembers the playlist.
    void close_playlist_window();
    // The program closes: remembers the playlist without a question.
    void Form_QueryUnload();

    // ---- Editing ----
    // Asks "Remove "<title>" from the playlist?" and on Yes removes the selected entry.
    void removeCB_Click();
    void clearCB_Click();
    void cmdMoveUp_Click();
    void cmdMoveDown_Click();
    void cmdAZsort_Click();
    void cmdZAsort_Click();
    void cmdRandomShuffle_Click();

    // ---- Buttons ----
    void addCB_Click();
    void newPlaylistCB_Click();
    void openPlaylistCB_Click();
    void importPlaylistCB_Click();
    void saveCB_Click();
    void findCB_Click();
    void cmdID3_Click();
    void cmdcloseButton_Click();

    // ---- Analysis ----
    // "Analyse all": every entry's tempo and length, with the progress shown
    // below the list; Stop ends it.
    void analyseAllCB_Click();
    void stopAnalysisCB_Click();
    // The progress "Analysing 12 of 340" (and the Stop button) while `done`
    // is below `total`; nothing otherwise.
    void showAnalysisProgress(int done, int total);

    // ---- The list ----
    // The user selected an entry of List1 (click or keys): it becomes the
    // playlist's cursor entry.
    void List1_Click();
    // Right button at `y` pixels from the top of the visible list.
    void List1_RightButton(int y);
    void List1_DblClick();

    QLabel* titlebar = nullptr;
    QLabel* imgIcon = nullptr;
    QLabel* playlistLABEL = nullptr;
    QListView* List1 = nullptr;
    ConsoleButton* cmdcloseButton = nullptr;
    ConsoleButton* newPlaylistCB = nullptr;
    ConsoleButton* openPlaylistCB = nullptr;
    ConsoleButton* saveCB = nullptr;
    ConsoleButton* importPlaylistCB = nullptr;
    ConsoleButton* clearCB = nullptr;
    ConsoleButton* addCB = nullptr;
    ConsoleButton* removeCB = nullptr;
    ConsoleButton* cmdID3 = nullptr;
    ConsoleButton* findCB = nullptr;
    ConsoleButton* cmdAZsort = nullptr;
    ConsoleButton* cmdZAsort = nullptr;
    ConsoleButton* cmdRandomShuffle = nullptr;
    ConsoleButton* cmdMoveUp = nullptr;
    ConsoleButton* cmdMoveDown = nullptr;
    ConsoleButton* analyseAllCB = nullptr;
    ConsoleButton* stopAnalysisCB = nullptr;
    QLabel* analysisLABEL = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFileEditTags = nullptr;
    QAction* mnuFileSortAsc = nullptr;
    QAction* mnuFileSortDesc = nullptr;
    QAction* mnuFileRandomShuffle = nullptr;
    QAction* mnuFileRemove = nullptr;

    // The three file dialogs' settings (initial folders are used once).
    ui::FileDialogRequest cDlgLoadFiles;
    ui::FileDialogRequest cDlgOpenPlaylist;
    ui::FileDialogRequest cDlgSavePlaylist;

    core::ProgramState& state;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void applyDialogSettings();
    // Shows the open (or save) dialog `request`, named `name`, in the folder
    // sys::dialogStartFolder picks from its initial folder and the folder
    // last used in it, and remembers the chosen file's folder.
    ui::FileDialogResult showFileDialog(const ui::FileDialogRequest& request, const QString& name,
                                        bool save);
    // Appends one entry, numbered after the last.
    void appendEntry(const QString& path);
    // The line of an entry: its number + ".  " + its file's title.
    QString entryLine(const QString& path, int number);
    void setLabel(const QString& playlistPath);
    void moveEntry(int from, int to);
    void sortEntries(int order);
    void rememberLastPlaylist();
    // Asks whether to save the changed list before it is replaced; true when
    // it must stay (Cancel, or a save that did not happen).
    bool keepChangedList();
    // Set while the list follows the playlist's cursor (not the user).
    bool syncing_ = false;
};

namespace playlist {
// The program closes: when the playlist changed, asks whether to save it
// (Yes saves). False when the user cancels the close.
bool savePlaylistBeforeExit(core::ProgramState& state);
// True when the command line names a song: it ends with one of the song
// extensions (core/song_types.h), in any case.
bool isCommandLineSong(const QString& commandLine);
} // namespace playlist
