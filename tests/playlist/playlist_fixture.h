#pragma once
// A playlist window on a fresh program state: scripted dialogs, the offline
// engine (titles are read through it) and a registry database of its own.
#include "core/program_state.h"
#include "playlist/playlist_window.h"
#include "tests/support/scripted_dialogs.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace playlist_test {

class PlaylistTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the playlist window (start-up with the test's command line).
    playlistF* load();
    // The entries' paths and the lines the list shows.
    QStringList paths() const;
    QStringList lines() const;
    // Adds entries through the add dialog, all from one folder.
    void add(const QStringList& names, const QString& folder = "/m");
    // A file at `name` under the test folder holding `bytes`; its path.
    QString file(const QString& name, const QByteArray& bytes = {}) const;
    QString folder() const { return dir_.path(); }

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<core::ProgramState> state;
    playlistF* w = nullptr;

private:
    QTemporaryDir dir_;
};

// A folder where no file can be made: a folder without write permission (for
// the superuser, whom permissions do not bind, /proc).
QString unwritableFolder(const QString& parent);
// Gives the folder its write permission back.
void releaseFolder(const QString& folder);

// A song with an ID3v2.3 tag holding `title` (and `artist`).
QByteArray taggedSong(const QString& title, const QString& artist = "Artist");

} // namespace playlist_test
