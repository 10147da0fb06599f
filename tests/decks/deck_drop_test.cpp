// Loading a deck by dropping the next-song box, or a song file from the file
// manager, on the deck's panel and controls.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QUrl>

using namespace deck_test;

namespace {

QMimeData* nextSongDrag() {
    auto* data = new QMimeData;
    data->setData("application/x-vorlan-next-song", QByteArray());
    return data;
}

QMimeData* fileDrag(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

// Drags `data` onto `target` (on a free spot of a panel) and drops it there;
// false when the drag was refused on entering.
bool dropOn(QWidget* target, QMimeData* data) {
    const std::unique_ptr<QMimeData> owned(data);
    QPoint at = target->rect().center();
    for (int y = target->height() - 2; target->childAt(at) && y > 0; --y)
        at = QPoint(2, y);
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return true;
}

class DeckDrop : public DeckTest {
protected:
    void setPlaylist(const QStringList& paths) {
        playlist = paths;
        state->playlist.setEntries(paths, paths);
    }
    QStringList playlist;
};

TEST_P(DeckDrop, EveryDropTargetLoadsItsDeckOncePerDrag) {
    const decks::DeckControls& c = controls();
    setPlaylist({QString::fromStdString(wav44k()),
                 QString::fromStdString(tone("drop.mp3", fixtures::Format::Mp3Cbr))});
    const std::vector<QWidget*> targets = {c.panel,      c.lcd,           c.pitch, c.play,
                                           c.stop,       c.pause,         c.cue,   c.cueBack,
                                           c.cueForward, c.playFromMemory};
    for (std::size_t i = 0; i < targets.size(); ++i) {
        SCOPED_TRACE(targets[i]->objectName().toStdString());
        state->playlist.setCursor(static_cast<int>(i % 2));
        rec().memoryCue1 = 4000;
        state->dragArmed = true;
        EXPECT_TRUE(dropOn(targets[i], nextSongDrag()));
        EXPECT_EQ(rec().loadedFile, playlist[state->playlist.cursor()]);
        EXPECT_EQ(rec().memoryCue1, 0u);
        EXPECT_FALSE(state->dragArmed);
        // Without a new drag the next drop does nothing.
        state->playlist.setCursor(1 - state->playlist.cursor());
        dropOn(targets[i], nextSongDrag());
        EXPECT_NE(rec().loadedFile, playlist[state->playlist.cursor()]);
    }
    EXPECT_FALSE(state->decks[1 - side()].stream);
    // Controls outside the table refuse the drop.
    state->dragArmed = true;
    EXPECT_FALSE(dropOn(c.openFile, nextSongDrag()));
    EXPECT_FALSE(dropOn(c.rate44100, nextSongDrag()));
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_P(DeckDrop, PressingTheNextSongBoxArmsTheDrag) {
    QTest::mousePress(w->mixerPanel.nextSong, Qt::LeftButton);
    EXPECT_TRUE(state->dragArmed);
    setPlaylist({});
    EXPECT_TRUE(dropOn(controls().play, nextSongDrag())); // an empty playlist: nothing
    EXPECT_FALSE(rec().stream);
    EXPECT_TRUE(state->dragArmed);
}

TEST_P(DeckDrop, AFileFromTheFileManagerLoadsTheFirstSongDropped) {
    const QString mp3 = QString::fromStdString(tone("manager.MP3", fixtures::Format::Mp3Cbr));
    const QString wav = QString::fromStdString(wav44k());
    const QString text = QString::fromStdString(writeFile("notes.txt", "not a song"));
    EXPECT_FALSE(dropOn(controls().play, fileDrag({text, mp3})));
    EXPECT_FALSE(dropOn(controls().panel, fileDrag({text})));
    EXPECT_FALSE(rec().stream);
    EXPECT_TRUE(dropOn(controls().lcd, fileDrag({mp3, wav})));
    EXPECT_EQ(rec().loadedFile, mp3);
    EXPECT_TRUE(dropOn(controls().panel, fileDrag({wav})));
    EXPECT_EQ(rec().loadedFile, wav);
    EXPECT_TRUE(rec().stream);
    // Every song type the decks play drops, whatever the case of its name.
    for (const auto& [name, format] : {std::pair{"drop.FLAC", fixtures::Format::Flac},
                                       {"drop.aif", fixtures::Format::Aiff},
                                       {"drop.m4a", fixtures::Format::M4aAlac},
                                       {"drop.Ogg", fixtures::Format::OggVorbis},
                                       {"drop.opus", fixtures::Format::Opus}}) {
        const int rate = format == fixtures::Format::Opus ? 48000 : 44100;
        const QString song = QString::fromStdString(tone(name, format, rate));
        EXPECT_TRUE(dropOn(controls().panel, fileDrag({song}))) << name;
        EXPECT_EQ(rec().loadedFile, song);
    }
}

TEST_P(DeckDrop, AMissingFileLeavesThePlayingStreamAlone) {
    load(wav44k());
    controls().play->click();
    const core::StreamHandle stream = rec().stream.handle();
    setPlaylist({QString::fromStdString(wav44k()) + ".gone"});
    state->dragArmed = true;
    dialogs.expectBox(ui::vbOK);
    EXPECT_TRUE(dropOn(controls().stop, nextSongDrag()));
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, "Please make sure the file exists on the disk...");
    EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbCritical);
    EXPECT_EQ(dialogs.boxes()[0].title, "");
    EXPECT_TRUE(rec().filePath.isEmpty());
    EXPECT_TRUE(state->dragArmed);
    EXPECT_EQ(rec().stream.handle(), stream);
    audio_test::render(4410);
    EXPECT_EQ(rec().stream.state(), engine::PlayState::playing);
    EXPECT_GE(rec().stream.position(), 4410u * 4);
}

TEST_P(DeckDrop, TheMouseOverTheDeckPanelGivesTheKeysToTheMixer) {
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    controls().pitch->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), controls().pitch);
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(controls().panel, &move);
    EXPECT_EQ(QApplication::focusWidget(), w->Mixer);
}

DECK_TEST_BOTH_SIDES(DeckDrop);

} // namespace
