#include "tests/mixer/window_fixture.h"

#include "app/main_window.h"
#include "controls/widgets/console_look.h"
#include "decks/decks.h"
#include "engine/engine_helpers.h"
#include "mixer/auto_dj.h"
#include "mixer/track_tick.h"
#include "playlist/playlist_window.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <fstream>

namespace mixer_test {

std::string song(const std::string& name, fixtures::Format format, double seconds, int rate,
                 int channels, double frequency) {
    fixtures::Tone tone;
    tone.format = format;
    tone.seconds = seconds;
    tone.sampleRate = rate;
    tone.channels = channels;
    tone.frequency = frequency;
    audio_test::fixture(name, tone);
    return name;
}

std::string unplayableSong(const std::string& name) {
    std::ofstream(audio_test::fixtureFolder() / name) << "not a song, only words\n";
    return name;
}

void WindowTest::SetUp() {
    app_test::ProgramTest::SetUp();
    app::applyConsoleLook(*qApp);
    app_test::writeSetting("InitQuality", "CD Quality - 44100Hz");
    app_test::writeSetting("optStartUp", "0");
    w = startProgram();
    ASSERT_NE(w, nullptr);
    playlist = playlistF::load(*state);
}

void WindowTest::TearDown() {
    for (core::DeckRecord& deck : state->decks)
        deck.stream.free();
    state->playlist.setChanged(false);
    app_test::ProgramTest::TearDown();
}

void WindowTest::usePlaylist(const std::vector<std::string>& names) {
    QString files = QString::fromStdString(audio_test::fixtureFolder().string());
    for (const std::string& name : names)
        files += QChar(0) + QString::fromStdString(name);
    playlist->loadsongs_to_playlist(names.size() == 1 ? files.replace(QChar(0), '/') : files);
    state->playlist.select(0);
}

void WindowTest::loadDeck(int deck, const std::string& name) {
    state->decks[static_cast<std::size_t>(deck)].filePath =
        QString::fromStdString((audio_test::fixtureFolder() / name).string());
    deck == 0 ? w->decks->left().init_Player() : w->decks->right().init_Player();
}

void WindowTest::advance(int ms, std::vector<short>* out, const std::function<void()>& each) {
    constexpr int kStepMs = 20;
    for (int t = 0; t < ms; t += kStepMs) {
        renderTimed(44100 * kStepMs / 1000, out);
        clockMs += kStepMs;
        if (clockMs % 80 == 0)
            w->trackTick().run();
        if (clockMs % 100 == 0 && w->tmrAutoFade.isActive())
            w->autoDJ().tmrAutoFade_Timer();
        if (each)
            each();
    }
}

void WindowTest::renderTimed(std::size_t frames, std::vector<short>* out) {
    ui::PreciseTimer& timer = w->autoDJ().fadeStartTimer();
    while (frames > 0) {
        if (!timer.isActive())
            fadeStartDue = -1;
        else if (fadeStartDue < 0)
            fadeStartDue = std::llround(timer.interval() * 44.1);
        const std::size_t now =
            fadeStartDue >= 0 ? std::min(frames, static_cast<std::size_t>(fadeStartDue)) : frames;
        const std::vector<short> rendered = audio_test::render(now);
        if (out)
            out->insert(out->end(), rendered.begin(), rendered.end());
        frames -= now;
        if (fadeStartDue >= 0 && (fadeStartDue -= static_cast<long long>(now)) == 0) {
            fadeStartDue = -1;
            timer.stop();
            w->autoDJ().fadeStartTimer_Timer();
        }
    }
}

bool WindowTest::playing(int deck) const {
    return state->decks[static_cast<std::size_t>(deck)].stream.isPlaying();
}

} // namespace mixer_test
