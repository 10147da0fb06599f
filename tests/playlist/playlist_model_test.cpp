// The playlist on its own: what a view and the next-song box are told.
#include "core/playlist_model.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(PlaylistModel, TellsTheViewAndTheNextSongBoxWhatChanged) {
    core::PlaylistModel playlist;
    QSignalSpy cursor(&playlist, &core::PlaylistModel::cursorChanged);
    QSignalSpy shown(&playlist, &core::PlaylistModel::nextSongShown);
    QSignalSpy changed(&playlist, &core::PlaylistModel::changedFlagChanged);
    QSignalSpy inserted(&playlist, &QAbstractItemModel::rowsInserted);
    playlist.append("/m/a.mp3", "1.  a");
    playlist.append("/m/b.mp3", "2.  b");
    EXPECT_EQ(inserted.count(), 2);
    EXPECT_EQ(playlist.data(playlist.index(1)).toString(), "2.  b");

    playlist.select(2); // no such entry: nothing happens
    playlist.select(1);
    EXPECT_EQ(cursor.count(), 1);
    EXPECT_EQ(shown.takeLast().at(0).toString(), "2.  b");
    EXPECT_EQ(playlist.nextSongPath(), "/m/b.mp3");
    playlist.selectNext(); // wraps to the first
    EXPECT_EQ(playlist.cursor(), 0);
    playlist.selectPrevious(); // and back to the last
    EXPECT_EQ(playlist.cursor(), 1);

    playlist.setChanged(true);
    playlist.setChanged(true);
    EXPECT_EQ(changed.count(), 1) << "told once, when it changes";
    playlist.clear();
    EXPECT_EQ(shown.takeLast().at(0).toString(), "");
    EXPECT_EQ(playlist.nextSongPath(), "");
    EXPECT_EQ(playlist.selected(), -1);
    EXPECT_EQ(playlist.cursor(), 1) << "the cursor keeps its value";
}

} // namespace
