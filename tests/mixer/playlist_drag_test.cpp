// An entry of the playlist window dragged onto a deck with the real mouse
// (xdotool in Xvfb) loads that entry onto the deck, as the next-song box
// does: dropped on a deck's display, a button or its pitch slider; an entry
// whose file is gone shows the drop's message and the deck keeps its song.
#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "playlist/playlist_window.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/screenshots.h"

#include <QListWidget>
#include <QProcess>
#include <QTest>

namespace {

using mixer_test::song;

class PlaylistDragTest : public mixer_test::WindowTest {
protected:
    // Drags with the left button from `from` to `to` (global pixels) as a
    // hand does, running the program meanwhile.
    void drag(QPoint from, QPoint to) {
        const auto at = [](QPoint p) {
            return QStringList{QString::number(p.x()), QString::number(p.y())};
        };
        QStringList args;
        args << "mousemove" << at(from) << "mousedown"
             << "1"
             << "sleep"
             << "0.2";
        for (int step = 1; step <= 5; ++step)
            args << "mousemove" << at(from + (to - from) * step / 5) << "sleep"
                 << "0.1";
        args << "mousemove" << at(to + QPoint(2, 0)) << "sleep"
             << "0.3"
             << "mouseup"
             << "1";
        QProcess xdotool;
        xdotool.start("xdotool", args);
        while (xdotool.state() != QProcess::NotRunning)
            QTest::qWait(10);
        QTest::qWait(200);
        EXPECT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
    }
    QString path(const std::string& name) const {
        return QString::fromStdString((audio_test::fixtureFolder() / name).string());
    }
};

TEST_F(PlaylistDragTest, AnEntryDroppedOnADeckLoadsIt) {
    const std::string a = song("drag_a.wav", fixtures::Format::Wav, 5);
    const std::string b = song("drag_b.mp3", fixtures::Format::Mp3Cbr, 5);
    usePlaylist({a, b, "drag_gone.wav"});
    // The main window at the top of the screen, the playlist below it.
    w->move(100, 0);
    w->playListCB_Click();
    playlist->move(100, w->frameGeometry().bottom() + 20);
    QTest::qWait(300);

    struct Drop {
        const char* what;
        int entry;
        int deck;
        QWidget* target;
        QString loaded; // the deck's song afterwards
        const char* box;
    };
    const Drop drops[] = {
        {"entry 2 on the left display", 1, 0, w->LCD_L, path(b), nullptr},
        {"entry 1 on the right PLAY", 0, 1, w->playCB, path(a), nullptr},
        {"entry 3 (gone) on the right pitch slider", 2, 1, w->RpitchScroll, path(a),
         "Please make sure the file exists on the disk..."},
    };
    for (const Drop& d : drops) {
        SCOPED_TRACE(d.what);
        dialogs.clear();
        if (d.box)
            dialogs.expectBox(ui::vbOK);
        QListWidget* list = playlist->List1[1];
        const QRect line = list->visualItemRect(list->item(d.entry));
        drag(list->viewport()->mapToGlobal(line.center()),
             d.target->mapToGlobal(d.target->rect().center()));

        EXPECT_EQ(state->song_index, d.entry);
        EXPECT_EQ(state->decks[static_cast<std::size_t>(d.deck)].loadedFile.toStdString(),
                  d.loaded.toStdString());
        EXPECT_EQ(dialogs.boxes().size(), d.box ? 1u : 0u);
        if (d.box && !dialogs.boxes().empty()) {
            EXPECT_EQ(dialogs.boxes()[0].text, d.box);
        }
        EXPECT_EQ(playlist->entryCount(), 3) << "the entry stays in the playlist";
        EXPECT_EQ(list->count(), 3);
    }
    testing_support::saveScreenshot(w, "playlist_entries_dropped_on_decks");
}

} // namespace
