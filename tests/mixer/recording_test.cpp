// Recording a set from the main window: REC (its key) records what the
// audience hears into the recordings folder, with a cue sheet whose times are
// those of the decks starting; a folder that cannot be written and a file
// that cannot grow each give one box, and the file stays readable.
#include "app/main_window.h"
#include "app/options_window.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "mixer/actions.h"
#include "mixer/recording.h"
#include "tests/mixer/window_fixture.h"
#include "tests/platform/audio/audio_test_support.h"
#include "tests/support/screenshots.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <sndfile.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <thread>

namespace {

using fixtures::Format;
using mixer_test::song;

std::vector<short> readSoundFile(const QString& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.toUtf8().constData(), SFM_READ, &info);
    if (!file)
        return {};
    std::vector<short> samples(static_cast<std::size_t>(info.frames) * 2);
    samples.resize(static_cast<std::size_t>(sf_readf_short(file, samples.data(), info.frames)) * 2);
    sf_close(file);
    return samples;
}

double rms(const std::vector<short>& samples) {
    double sum = 0;
    for (const short s : samples)
        sum += static_cast<double>(s) * s;
    return samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(samples.size()));
}

struct CueTrack {
    QString title;
    double seconds;
};

// The tracks of a cue sheet: each TITLE after a TRACK line and its INDEX 01.
std::vector<CueTrack> cueTracks(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    std::vector<CueTrack> tracks;
    bool inTrack = false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split("\r\n")) {
        const QString t = line.trimmed();
        if (t.startsWith("TRACK "))
            inTrack = true, tracks.push_back({});
        else if (inTrack && t.startsWith("TITLE "))
            tracks.back().title = t.mid(7, t.size() - 8);
        else if (inTrack && t.startsWith("INDEX 01 ")) {
            const QStringList f = t.mid(9).split(':');
            tracks.back().seconds = f[0].toInt() * 60 + f[1].toInt() + f[2].toInt() / 75.0;
        }
    }
    return tracks;
}

class RecordingTest : public mixer_test::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        state->settings.recordingsFolder = folder() + "/sets";
        usePlaylist({a, b});
        loadDeck(0, a);
        loadDeck(1, b);
        w->mixerPanel.desk.crossFaderScroll->setValue(50);
    }
    void rec() { w->runAction(mixer::Action::ToggleRecording); }
    mixer::Recording& recording() { return w->recording(); }

    const std::string a = song("rec_a.wav", Format::Wav, 6, 44100, 2, 440);
    const std::string b = song("rec_b.mp3", Format::Mp3Cbr, 6, 44100, 2, 1000);
};

TEST_F(RecordingTest, TheFileIsTheMixAndTheCueSheetListsEachStart) {
    constexpr double period = 256.0 / 44100;
    for (const int format : {0, 1, 2}) { // WAV, FLAC, MP3
        SCOPED_TRACE(format);
        state->settings.recordingFormat = static_cast<std::int16_t>(format);
        std::vector<short> heard;
        advance(100);
        rec();
        ASSERT_TRUE(recording().running());
        advance(200, &heard);
        const double leftStart = heard.size() / 2 / 44100.0;
        w->decks->left().play_Click();
        advance(1500, &heard);
        const double rightStart = heard.size() / 2 / 44100.0;
        w->decks->right().play_Click();
        advance(1000, &heard);
        EXPECT_EQ(w->mixerPanel.recTime->text(), "0:00:02");
        if (format == 0)
            testing_support::saveScreenshot(w->Mixer, "mixer_recording");
        rec();
        EXPECT_FALSE(recording().running());
        advance(200); // not recorded

        EXPECT_TRUE(recording().audioPath().startsWith(state->settings.recordingsFolder + "/"));
        const std::vector<short> file = readSoundFile(recording().audioPath());
        if (format < 2) {
            EXPECT_EQ(file, heard);
        } else { // within the encoder's delay and padding, and as loud
            EXPECT_NEAR(file.size() / 2.0, heard.size() / 2.0, 2 * 1152.0);
            EXPECT_NEAR(rms(file), rms(heard), 0.05 * rms(heard));
        }
        const std::vector<CueTrack> tracks = cueTracks(recording().cuePath());
        ASSERT_EQ(tracks.size(), 2u);
        EXPECT_EQ(tracks[0].title, "rec_a.wav");
        EXPECT_EQ(tracks[1].title, "rec_b.mp3");
        // One period, and half a cue frame of rounding.
        EXPECT_NEAR(tracks[0].seconds, leftStart, period + 1 / 150.0);
        EXPECT_NEAR(tracks[1].seconds, rightStart, period + 1 / 150.0);
        for (core::DeckRecord& deck : state->decks)
            deck.stream.stop();
    }
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_F(RecordingTest, AFolderThatCannotBeWrittenGivesOneBox) {
    state->settings.recordingsFolder = "/proc/vorlan-sets";
    dialogs.expectBox(ui::vbOK);
    rec();
    EXPECT_FALSE(recording().running());
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].title, "Recording Not Started...");
    EXPECT_TRUE(dialogs.boxes()[0].text.contains("/proc/vorlan-sets"));
}

// A disk that fills up (here a file size limit): one box naming the file,
// the recording ends, and the file reads to its end.
TEST_F(RecordingTest, AFileThatCannotGrowEndsTheRecordingWithOneBox) {
    w->decks->left().play_Click();
    rec();
    ASSERT_TRUE(recording().running());
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 200000;
    setrlimit(RLIMIT_FSIZE, &limited);
    dialogs.expectBox(ui::vbOK);
    std::vector<short> heard;
    for (int i = 0; i < 100 && recording().running(); ++i) {
        advance(100, &heard);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    advance(400);

    EXPECT_FALSE(recording().running());
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].title, "Recording Stopped...");
    EXPECT_TRUE(dialogs.boxes()[0].text.contains(recording().audioPath()));
    // What the file holds is the start of what was heard, and other
    // programs read it to its end.
    const std::vector<short> kept = readSoundFile(recording().audioPath());
    EXPECT_GT(kept.size(), 44100u);
    ASSERT_LE(kept.size(), heard.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), heard.begin()));
    const QString file = "'" + recording().audioPath() + "'";
    for (const QString& reader :
         {"sox " + file + " -n stat", "ffprobe -v error -show_format " + file,
          "ffmpeg -v error -xerror -i " + file + " -f null -"})
        EXPECT_EQ(std::system((reader + " >/dev/null 2>&1").toUtf8().constData()), 0)
            << reader.toStdString();
    state->decks[0].stream.stop();
}

TEST_F(RecordingTest, TheOptionsKeepTheRecordingsFolderAndFormat) {
    optionsF* options = optionsF::load(*state);
    options->show();
    testing_support::saveScreenshot(options, "options_recordings");
    const QString sets = folder() + "/my sets";
    options->txtRecordingsPath->setText(sets);
    options->cmbRecordFormat->setCurrentIndex(2);
    options->done(0);
    flushDeletes();
    EXPECT_EQ(app_test::readSettingRaw("RecordingsFolder"), sets);
    EXPECT_EQ(state->settings.recordingFormat, 2);
    options = optionsF::load(*state);
    EXPECT_EQ(options->txtRecordingsPath->text(), sets);
    EXPECT_EQ(options->cmbRecordFormat->currentText(), "MP3");
    options->done(0);
    flushDeletes();
    // The next recording is an MP3 file in that folder.
    rec();
    advance(200);
    rec();
    EXPECT_EQ(QFileInfo(recording().audioPath()).dir().path(), sets);
    EXPECT_TRUE(recording().audioPath().endsWith(".mp3"));
    EXPECT_GT(QFileInfo(recording().audioPath()).size(), 1000);
}

} // namespace
