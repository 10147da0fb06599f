// The playlist window's file operations: adding music files, new, open,
// import and save of M3U playlists, closing the window and loading it at
// start-up.
#include "controls/widgets/console_frame.h"
#include "core/fixed_texts.h"
#include "core/program_state.h"
#include "core/registry_values.h"
#include "core/song_types.h"
#include "platform/system/folders.h"
#include "playlist/m3u_file.h"
#include "playlist/playlist_window.h"
#include "tags/track_titles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>

namespace {

// Playlists written by other players as UTF-8 (".m3u8") open like ".m3u".
const char* const kPlaylistFilter = "Halvoran Playlist File|*.m3u;*.m3u8|All files|*.*";
const char* const kNoPlaylist = "DJ PLAYLIST";
const char* const kLastPlaylist = "Last Playlist";

// The "save changes?" question asked before the list is replaced; the
// application's title. Answers vbYes, vbNo or vbCancel.
int askSaveChanges(core::ProgramState& state) {
    const QString current = state.playlist.currentPlaylist();
    const QString text = current.isEmpty() ? QString("Save Playlist Changes? ")
                                           : "Save Playlist Changes to " + current + " ?";
    return state.dialogs.msgBox(text, ui::vbYesNoCancel | ui::vbInformation);
}

// The close questions: "Save Playlist? " or "Save Playlist to <file> ?".
QString savePlaylistQuestion(const core::ProgramState& state) {
    const QString current = state.playlist.currentPlaylist();
    return current.isEmpty() ? QString("Save Playlist? ") : "Save Playlist to " + current + " ?";
}

} // namespace

void playlistF::applyDialogSettings() {
    cDlgLoadFiles.title = "Load Music Files...";
    cDlgLoadFiles.filter = core::musicFilesFilter();
    cDlgLoadFiles.initialFolder = sys::programFolder() + "/DJMixes";
    cDlgLoadFiles.flags = 0x28120C;
    cDlgOpenPlaylist.filter = kPlaylistFilter;
    cDlgOpenPlaylist.initialFolder = state.settings.playlistPath;
    cDlgOpenPlaylist.flags = 0x28100C;
    cDlgSavePlaylist.title = "Save Playlist As...";
    cDlgSavePlaylist.filter = kPlaylistFilter;
    cDlgSavePlaylist.initialFolder = state.settings.playlistPath;
    cDlgSavePlaylist.flags = 0x28080E;
    cDlgSavePlaylist.defaultExt = "m3u";
    cDlgSavePlaylist.fileName = "DJ Mix1";
}

ui::FileDialogResult playlistF::showFileDialog(const ui::FileDialogRequest& request,
                                               const QString& name, bool save) {
    ui::FileDialogRequest shown = request;
    QString& lastFolder = state.dialogFolders[name];
    shown.initialFolder = sys::dialogStartFolder(request.initialFolder, lastFolder);
    const ui::FileDialogResult chosen =
        save ? state.dialogs.saveFile(shown) : state.dialogs.openFile(shown);
    if (!chosen.cancelled && !chosen.fileName.isEmpty()) {
        // Several files come as the folder, NUL, names; one as its full path.
        const qsizetype nul = chosen.fileName.indexOf(QChar(0));
        lastFolder = nul >= 0 ? chosen.fileName.left(nul)
                              : QFileInfo(chosen.fileName.trimmed()).absolutePath();
    }
    return chosen;
}

void playlistF::setLabel(const QString& playlistPath) {
    playlistLABEL->setText(playlistPath.isEmpty() ? QString(kNoPlaylist)
                                                  : playlist::playlistLabel(playlistPath));
}

void playlistF::rememberLastPlaylist() {
    core::save_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), kLastPlaylist,
                        reg::REG_SZ, state.playlist.currentPlaylist());
}

// ---- Start-up ----

void playlistF::Form_Load() {
    state.dialogs.setWaitCursor(true);
    app::centreOnScreen(this, 0.6);
    applyDialogSettings();
    const QString commandLine = state.commandLine;
    if (playlist::isPlaylistPath(commandLine)) {
        openCommandLinePlaylist(commandLine);
    } else if (commandLine.isEmpty()) {
        core::PlaylistModel& playlist = state.playlist;
        const QString last =
            core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), kLastPlaylist);
        playlist.setCurrentPlaylist(last);
        if (last != core::notFoundMarker() && last.size() >= 5) {
            playlist.setSavePath(last);
            setLabel(last);
        }
        playlist.setChanged(false);
        if (playlist::isPlaylistPath(last)) {
            open_playlist(last);
            playlist.select(0);
        } else {
            playlist.setCurrentPlaylist({});
            setLabel({});
        }
    }
    state.dialogs.setWaitCursor(false);
}

// ---- Adding music files ----

void playlistF::addCB_Click() {
    const ui::FileDialogResult chosen = showFileDialog(cDlgLoadFiles, "cDlgLoadFiles", false);
    if (chosen.cancelled) {
        state.playlist.lastAddedFile.clear();
        return;
    }
    if (!chosen.fileName.isEmpty())
        loadsongs_to_playlist(chosen.fileName);
    cDlgLoadFiles.fileName.clear();
    cDlgLoadFiles.initialFolder.clear();
}

void playlistF::loadsongs_to_playlist(const QString& fileNames) {
    core::PlaylistModel& playlist = state.playlist;
    playlist.setChanged(true);
    // The pieces up to each NUL; the last NUL is the one appended here.
    const QStringList pieces = (fileNames + QChar(0)).split(QChar(0));
    const int remembered = std::max(0, playlist.selected());
    QString folder;
    if (pieces.size() == 2) {
        appendEntry(pieces[0]);
    } else {
        folder = pieces[0];
        if (!folder.trimmed().endsWith('/'))
            folder += '/';
    }
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i)
        appendEntry(folder + pieces[i]);
    playlist.lastAddedFile = playlist.path(playlist.count() - 1);
    playlist.select(remembered);
}

// ---- New, open, import ----

void playlistF::newPlaylistCB_Click() {
    if (!state.playlist.changed()) {
        if (state.dialogs.msgBox("Create New playlist?", ui::vbYesNo | ui::vbExclamation,
                                 "Please Confirm...") == ui::vbYes) {
            new_playlist();
            addCB_Click();
        }
        return;
    }
    if (keepChangedList())
        return;
    new_playlist();
}

bool playlistF::keepChangedList() {
    switch (askSaveChanges(state)) {
    case ui::vbYes:
        save_playlist();
        // A save that did not happen (failed, then the dialog cancelled)
        // keeps the list.
        return state.playlist.changed();
    case ui::vbNo:
        return false;
    default:
        return true;
    }
}

void playlistF::new_playlist() {
    core::PlaylistModel& playlist = state.playlist;
    if (playlist.count() > 0) {
        playlist.setChanged(true);
        playlist.clear();
    }
    playlist.setCurrentPlaylist({});
    playlist.setSavePath({});
    setLabel({});
}

void playlistF::openPlaylistCB_Click() {
    cDlgOpenPlaylist.title = "Open Playlist...";
    const ui::FileDialogResult chosen = showFileDialog(cDlgOpenPlaylist, "cDlgOpenPlaylist", false);
    cDlgOpenPlaylist.initialFolder.clear();
    if (chosen.cancelled || chosen.fileName.isEmpty())
        return;
    // A changed list is not replaced without asking.
    if (state.playlist.changed() && keepChangedList())
        return;
    Load_playlist(chosen.fileName);
}

void playlistF::Load_playlist(const QString& path) {
    if (path.isEmpty() || !playlist::isPlaylistPath(path))
        return;
    core::PlaylistModel& playlist = state.playlist;
    playlist.setChanged(false);
    playlist.clear();
    playlist.setCursor(0);
    playlist.setCurrentPlaylist(path);
    open_playlist(path);
    playlist.setSavePath(path);
    setLabel(path);
}

void playlistF::open_playlist(const QString& path) {
    const QList<playlist::PlaylistEntry> entries = playlist::readPlaylistEntries(path);
    // Titles the list gives its entries, for files whose tags give none.
    for (const playlist::PlaylistEntry& entry : entries)
        if (!entry.title.isEmpty())
            state.playlist.listedTitles.insert(entry.path, entry.title);
    bool first = true;
    for (const playlist::PlaylistEntry& entry : entries) {
        appendEntry(entry.path);
        // The splash shows the count while a playlist loads at start-up.
        QCoreApplication::processEvents();
        if (first)
            state.playlist.select(state.playlist.cursor());
        first = false;
    }
}

void playlistF::importPlaylistCB_Click() {
    cDlgOpenPlaylist.title = "Import Playlist...";
    const ui::FileDialogResult chosen = showFileDialog(cDlgOpenPlaylist, "cDlgOpenPlaylist", false);
    cDlgOpenPlaylist.initialFolder.clear();
    if (chosen.cancelled || !playlist::isPlaylistPath(chosen.fileName))
        return;
    core::PlaylistModel& playlist = state.playlist;
    playlist.setChanged(true);
    const bool wasEmpty = playlist.count() == 0;
    if (wasEmpty)
        playlist.setCursor(0);
    open_playlist(chosen.fileName);
    if (wasEmpty)
        playlist.select(0);
}

// ---- Save ----

void playlistF::saveCB_Click() {
    QString name = state.playlist.currentPlaylist();
    if (!name.isEmpty()) {
        cDlgSavePlaylist.fileName = name;
    } else {
        const ui::FileDialogResult chosen =
            showFileDialog(cDlgSavePlaylist, "cDlgSavePlaylist", true);
        if (chosen.cancelled)
            return;
        name = chosen.fileName;
    }
    name = name.trimmed();
    if (!name.isEmpty()) {
        state.playlist.setSavePath(name);
        save_playlist();
    }
    cDlgSavePlaylist.initialFolder.clear();
}

void playlistF::save_playlist() {
    core::PlaylistModel& playlist = state.playlist;
    QString path = playlist.savePath();
    if (!path.isEmpty() && !playlist::isPlaylistPath(path)) {
        path += ".m3u";
        playlist.setSavePath(path);
    }
    if (path.isEmpty() || !playlist::writePlaylistFile(path, playlist.paths())) {
        if (!path.isEmpty())
            state.dialogs.msgBox("Cannot Save the playlist. Make sure the Drive you are writing to "
                                 "has space and is not write protected.",
                                 ui::vbOKOnly);
        playlist.setCurrentPlaylist({});
        playlist.setSavePath({});
        saveCB_Click(); // the save dialog, to choose another place
        return;
    }
    playlist.setChanged(false);
    playlist.setCurrentPlaylist(path);
    state.dialogs.msgBox("Playlist has been saved.", ui::vbOKOnly);
    setLabel(path);
}

// ---- Close ----

void playlistF::close_playlist_window() {
    if (state.playlist.changed()) {
        const int answer = state.dialogs.msgBox(
            savePlaylistQuestion(state), ui::vbYesNoCancel | ui::vbInformation, "Save Playlist...");
        if (answer == ui::vbCancel)
            return;
        if (answer == ui::vbYes)
            save_playlist();
    }
    hide();
    rememberLastPlaylist();
    state.playlist.setSavePath(state.playlist.currentPlaylist());
}

void playlistF::Form_QueryUnload() {
    rememberLastPlaylist();
}

namespace playlist {

bool savePlaylistBeforeExit(core::ProgramState& state) {
    if (!state.playlist.changed())
        return true;
    const int answer = state.dialogs.msgBox(savePlaylistQuestion(state),
                                            ui::vbYesNoCancel | ui::vbQuestion, "Save Playlist...");
    if (answer == ui::vbCancel)
        return false;
    if (answer == ui::vbYes && state.playlistWindow) {
        state.playlistWindow->save_playlist();
        // A save that did not happen (failed, then the dialog cancelled)
        // keeps the program running: the list is not lost.
        return !state.playlist.changed();
    }
    return true;
}

bool isCommandLineSong(const QString& commandLine) {
    return core::isSongFile(commandLine);
}

} // namespace playlist
