// The playlist window's editing: remove, clear, move up and down, sort and
// shuffle of the playlist's entries.
#include "core/program_state.h"
#include "platform/ui/dialogs.h"
#include "playlist/playlist_sort.h"
#include "playlist/playlist_window.h"
#include "tags/track_titles.h"

#include <cmath>

namespace {

// Shows the wait cursor for the life of the object.
class WaitCursor {
public:
    explicit WaitCursor(ui::Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.setWaitCursor(true); }
    ~WaitCursor() { dialogs_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    ui::Dialogs& dialogs_;
};

// The title part of a display line: without its number and the ".  " after it.
QString titleOfLine(const QString& line) {
    if (line.size() <= 2)
        return line;
    const qsizetype dot = line.indexOf(".  ");
    return (dot >= 0 ? line.mid(dot + 3) : line).trimmed();
}

} // namespace

void playlistF::removeCB_Click() {
    core::PlaylistModel& playlist = state.playlist;
    if (playlist.count() == 0)
        return;
    const QString title = titleOfLine(playlist.line(playlist.cursor()));
    if (state.dialogs.msgBox("Remove \"" + title + "\" from the playlist?",
                             ui::vbYesNo | ui::vbInformation,
                             "Remove Song from playlist") != ui::vbYes)
        return;
    playlist.removeSelected();
}

void playlistF::clearCB_Click() {
    if (state.playlist.count() == 0)
        return;
    if (state.dialogs.msgBox("Remove all songs from the playlist?", ui::vbYesNo | ui::vbExclamation,
                             "Please Confirm...") != ui::vbYes)
        return;
    state.playlist.setChanged(true);
    state.playlist.clear();
}

void playlistF::moveEntry(int from, int to) {
    WaitCursor wait(state.dialogs);
    state.playlist.setChanged(true);
    state.playlist.swap(from, to);
    state.playlist.select(to);
}

void playlistF::cmdMoveUp_Click() {
    const int i = state.playlist.cursor();
    if (i - 1 < 0 || i >= state.playlist.count())
        return;
    moveEntry(i, i - 1);
}

void playlistF::cmdMoveDown_Click() {
    const int i = state.playlist.cursor();
    if (i + 1 >= state.playlist.count() || i < 0)
        return;
    moveEntry(i, i + 1);
}

void playlistF::cmdAZsort_Click() {
    sortEntries(playlist::kAscending);
}

void playlistF::cmdZAsort_Click() {
    sortEntries(playlist::kDescending);
}

void playlistF::sortEntries(int order) {
    WaitCursor wait(state.dialogs);
    core::PlaylistModel& playlist = state.playlist;
    playlist.setChanged(true);
    const int n = playlist.count();
    if (n < 2)
        return;
    playlist::SortTable table;
    for (int i = 0; i < n; ++i) {
        table.paths.push_back(playlist.path(i));
        table.keys.push_back(tags::getID3_tag(state, table.paths.back()));
    }
    playlist::quickSort(table, 0, n - 1, order, playlist::kTextCompare);
    QStringList paths, lines;
    for (int i = 0; i < n; ++i) {
        if (table.keys[i].isEmpty())
            continue; // an entry without a title leaves the list
        paths << table.paths[i];
        lines << QString::number(i + 1) + ".  " + table.keys[i];
    }
    playlist.clear();
    playlist.setEntries(paths, lines);
    playlist.select(0);
}

void playlistF::cmdRandomShuffle_Click() {
    WaitCursor wait(state.dialogs);
    core::PlaylistModel& playlist = state.playlist;
    playlist.setChanged(true);
    const int m = playlist.count() - 1;
    if (m < 1)
        return;
    const int passes = m <= 500 ? 2 * m : m;
    QStringList paths = playlist.paths();
    for (int k = 0; k <= passes; ++k) {
        int j = static_cast<int>(std::floor(state.rnd() * (m + 1))) - 1;
        if (j < 0)
            j = m;
        paths.swapItemsAt(0, j);
    }
    // Every line is rebuilt as position + ".  " + title.
    QStringList lines;
    for (int i = 0; i <= m; ++i)
        lines << entryLine(paths[i], i + 1);
    playlist.setEntries(paths, lines);
    playlist.select(0);
}
