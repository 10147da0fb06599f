// The playlist window's editing: remove, clear, move up and down, sort and
// shuffle. Each keeps the path list and the display list in step.
#include "core/program_state.h"
#include "platform/ui/dialogs.h"
#include "playlist/playlist_sort.h"
#include "playlist/playlist_window.h"
#include "tags/track_titles.h"

#include <QListWidget>
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
    if (entryCount() == 0)
        return;
    const QString title = titleOfLine(displayLine(state.song_index));
    if (state.dialogs.msgBox("Remove \"" + title + "\" from the playlist?",
                             ui::vbYesNo | ui::vbInformation,
                             "Remove Song from playlist") != ui::vbYes)
        return;
    removeSelectedEntry();
}

void playlistF::removeSelectedEntry() {
    if (entryCount() == 0)
        return;
    state.playlist_changed = true;
    const int index = List1[0]->currentRow();
    if (index < 0)
        return; // nothing selected: nothing removed
    syncing_ = true;
    delete List1[0]->takeItem(index);
    delete List1[1]->takeItem(index);
    syncing_ = false;
    if (index < entryCount())
        selectEntry(index);
    else if (entryCount() > 0)
        selectEntry(index - 1);
    else
        clearLists();
}

void playlistF::clearCB_Click() {
    if (entryCount() == 0)
        return;
    if (state.dialogs.msgBox("Remove all songs from the playlist?", ui::vbYesNo | ui::vbExclamation,
                             "Please Confirm...") != ui::vbYes)
        return;
    state.playlist_changed = true;
    clearLists();
}

void playlistF::swapEntries(int a, int b) {
    syncing_ = true;
    for (QListWidget* list : List1) {
        const QString first = list->item(a)->text();
        list->item(a)->setText(list->item(b)->text());
        list->item(b)->setText(first);
    }
    syncing_ = false;
}

void playlistF::cmdMoveUp_Click() {
    const int i = state.song_index;
    if (i - 1 < 0 || i >= entryCount())
        return;
    WaitCursor wait(state.dialogs);
    state.playlist_changed = true;
    swapEntries(i - 1, i);
    selectEntry(i - 1);
}

void playlistF::cmdMoveDown_Click() {
    const int i = state.song_index;
    if (i + 1 >= entryCount() || i < 0)
        return;
    WaitCursor wait(state.dialogs);
    state.playlist_changed = true;
    swapEntries(i, i + 1);
    selectEntry(i + 1);
}

void playlistF::cmdAZsort_Click() {
    sortEntries(playlist::kAscending);
}

void playlistF::cmdZAsort_Click() {
    sortEntries(playlist::kDescending);
}

void playlistF::sortEntries(int order) {
    WaitCursor wait(state.dialogs);
    state.playlist_changed = true;
    const int n = entryCount();
    if (n < 2)
        return;
    playlist::SortTable table;
    for (int i = 0; i < n; ++i) {
        table.paths.push_back(entryPath(i));
        table.keys.push_back(tags::getID3_tag(state, table.paths.back()));
    }
    playlist::quickSort(table, 0, n - 1, order, playlist::kTextCompare);
    clearLists();
    for (int i = 0; i < n; ++i) {
        if (table.keys[i].isEmpty())
            continue; // an entry without a title leaves the list
        state.song_index = i;
        List1[0]->addItem(table.paths[i]);
        List1[1]->addItem(QString::number(i + 1) + ".  " + table.keys[i]);
    }
    selectEntry(0);
}

void playlistF::cmdRandomShuffle_Click() {
    WaitCursor wait(state.dialogs);
    state.playlist_changed = true;
    const int m = entryCount() - 1;
    if (m < 1)
        return;
    const int passes = m <= 500 ? 2 * m : m;
    state.song_index = 0;
    syncing_ = true;
    for (int k = 0; k <= passes; ++k) {
        int j = static_cast<int>(std::floor(state.rnd() * (m + 1))) - 1;
        if (j < 0)
            j = m;
        const QString path = List1[0]->item(j)->text();
        List1[0]->item(j)->setText(List1[0]->item(0)->text());
        List1[0]->item(0)->setText(path);
    }
    syncing_ = false;
    renumberFromTags();
    selectEntry(0);
}

void playlistF::renumberFromTags() {
    syncing_ = true;
    List1[1]->clear();
    for (int i = 0; i < entryCount(); ++i) {
        state.song_index = i;
        List1[1]->addItem(QString::number(i + 1) + ".  " + tags::getID3_tag(state, entryPath(i)));
    }
    syncing_ = false;
}
