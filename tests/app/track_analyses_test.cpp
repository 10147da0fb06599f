// The program's track analysis as the DJ sees it: a synthetic track at a
// known tempo loaded onto either deck shows its BPM on the deck's display,
// following the pitch and the DJ's halve/double (which the cache keeps); the
// playlist shows each entry's BPM and length, the progress of "Analyse all",
// and stops when asked.
#include "analysis/analysis_cache.h"
#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/actions.h"
#include "playlist/playlist_window.h"
#include "tests/analysis/synthetic_tracks.h"
#include "tests/app/program_fixture.h"
#include "tests/support/screenshots.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QThread>
#include <functional>

namespace {

using mixer::Action;

class TrackAnalysesTest : public app_test::ProgramTest {
protected:
    // A drum track at `bpm`, 20.25 s long; returns its path.
    QString track(const QString& name, double bpm) {
        synthetic::Track t;
        t.bpm = bpm;
        t.firstBeat = 0.25;
        t.music = 20.0;
        const QString path = folder() + "/" + name;
        synthetic::writeWav(path.toStdString(), synthetic::render(t));
        return path;
    }
    // Runs events until `done` holds (at most 30 s).
    static bool waitFor(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 30000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        return done();
    }
};

TEST_F(TrackAnalysesTest, EachDeckShowsItsTrackTempoFollowingPitchAndHalveDouble) {
    app::applyConsoleLook(*qApp);
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    struct Case {
        int side;
        double bpm;
        Action halve, twice;
    };
    for (const Case& c : {Case{0, 124, Action::LeftBpmHalve, Action::LeftBpmDouble},
                          Case{1, 140, Action::RightBpmHalve, Action::RightBpmDouble}}) {
        SCOPED_TRACE(c.side);
        decks::Deck& deck = w->decks->deck(c.side);
        qzvLCD& lcd = *deck.controls().lcd;
        EXPECT_EQ(lcd.Bpm(), "");
        const QString file = track(QString("deck%1.wav").arg(c.side), c.bpm);
        state->decks[c.side].filePath = file;
        deck.init_Player();
        EXPECT_EQ(lcd.Bpm(), "...");
        ASSERT_TRUE(waitFor([&] { return lcd.Bpm() != "..."; }));
        EXPECT_EQ(lcd.Bpm(), QString::number(c.bpm, 'f', 1));

        deck.controls().pitch->setValue(1250); // + 2.5 %
        deck.pitchStep();
        EXPECT_NEAR(lcd.Bpm().toDouble(), c.bpm * 1.025, 0.06) << lcd.Bpm().toStdString();
        if (c.side == 0) {
            EXPECT_FALSE(testing_support::saveScreenshot(deck.controls().panel, "deck-bpm-pitched")
                             .isEmpty());
        }
        deck.pitchZero_Click();
        deck.pitchStep();
        w->runAction(c.twice);
        EXPECT_EQ(lcd.Bpm(), QString::number(c.bpm * 2, 'f', 1));
        w->runAction(c.halve);
        w->runAction(c.halve);
        EXPECT_EQ(lcd.Bpm(), QString::number(c.bpm / 2, 'f', 1));
        EXPECT_NEAR(60.0 / state->decks[c.side].bpm, 120.0 / c.bpm, 1e-3); // the grid's beat

        // Kept in the cache: a new load shows the halved tempo at once.
        EXPECT_EQ(analysis::AnalysisCache().find(file)->octaveShift, -1);
        deck.init_Player();
        EXPECT_EQ(lcd.Bpm(), QString::number(c.bpm / 2, 'f', 1));
    }
}

TEST_F(TrackAnalysesTest, PlaylistShowsTempoLengthAndProgressOfAnalyseAll) {
    // A range from 100 to 200 BPM: 90 BPM is shown doubled, 174 as it is.
    app_test::writeSetting("BpmRangeMin", "100");
    app_test::writeSetting("BpmRangeMax", "200");
    app::applyConsoleLook(*qApp);
    ASSERT_NE(startProgram(), nullptr);
    playlistF* list = playlistF::load(*state);
    QString names = folder();
    for (double bpm : {90, 128, 174, 110}) {
        const QString name = QString("drums %1.wav").arg(bpm);
        track(name, bpm);
        names += QChar(0) + name;
    }
    list->loadsongs_to_playlist(names);
    // Added entries are analysed at once; Stop ends that.
    EXPECT_EQ(list->analysisLABEL->text(), "Analysing 0 of 4");
    EXPECT_TRUE(list->stopAnalysisCB->isVisibleTo(list));
    list->stopAnalysisCB->click();
    EXPECT_EQ(list->analysisLABEL->text(), "");
    EXPECT_FALSE(list->stopAnalysisCB->isVisibleTo(list));

    list->show();
    bool pictured = false;
    QObject::connect(
        &state->playlist, &core::PlaylistModel::analysisProgress, list, [&](int done, int total) {
            if (!pictured && done > 0 && done < total)
                pictured =
                    !testing_support::saveScreenshot(list, "playlist-analysis-progress").isEmpty();
        });
    list->analyseAllCB->click();
    ASSERT_TRUE(waitFor([&] { return list->analysisLABEL->text().isEmpty(); }));
    EXPECT_TRUE(pictured);
    const char* shown[] = {"180.0 BPM  0:20", "128.0 BPM  0:20", "174.0 BPM  0:20",
                           "110.0 BPM  0:20"};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(state->playlist.factsText(row), shown[row]) << row;
    EXPECT_FALSE(testing_support::saveScreenshot(list, "playlist-bpm").isEmpty());
    state->playlist.setChanged(false); // no question about saving it at the close
}

} // namespace
