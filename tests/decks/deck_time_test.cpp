// The deck displays' time: time texts, progress and remaining time on every
// track tick, seeking by the display's position bar, the automatic DJ's
// hand-over point.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/lcd/position_bar.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "decks/decks.h"
#include "decks/time_text.h"
#include "mixer/track_tick.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QFile>
#include <QTest>
#include <cmath>
#include <cstdint>

using namespace deck_test;
using audio_test::render;

namespace {

TEST(TimeText, HoursMinutesSecondsRoundedHalfToEven) {
    const struct {
        double seconds;
        const char* text;
    } cases[] = {{59, "00:00:59"},   {90, "00:01:30"},   {3725, "01:02:05"},
                 {59.5, "00:01:00"}, {58.5, "00:00:58"}, {0.4, "00:00:00"},
                 {-3, "00:00:00"},   {3600, "01:00:00"}, {360000, "100:00:00"}};
    for (const auto& c : cases)
        EXPECT_EQ(decks::timeText(c.seconds), c.text) << c.seconds;
}

class DeckTime : public DeckTest {};

TEST_P(DeckTime, EachTickShowsProgressAndRemainingTime) {
    load(tone("four.wav", fixtures::Format::Wav, 44100, 2, 4.0));
    EXPECT_EQ(controls().lcd->Remain(), "00:00:04");
    controls().play->click();
    render(44100);
    w->trackTick().run();
    EXPECT_EQ(controls().lcd->Progress(), 25);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:03");
    render(44100 + 22050);
    w->trackTick().run();
    EXPECT_EQ(controls().lcd->Progress(), 62);       // 62.5 halves to even
    EXPECT_EQ(controls().lcd->Remain(), "00:00:02"); // 1.5 s halves to even
    EXPECT_EQ(rec().lastProgress, 62);
}

TEST_P(DeckTime, DraggingThePositionBarSeeksWithinOneTick) {
    load(tone("four.wav", fixtures::Format::Wav, 44100, 2, 4.0));
    controls().play->click();
    render(8820);
    w->trackTick().run();
    ASSERT_EQ(controls().lcd->Progress(), 5);

    // The user drags the thumb to 50.
    auto* bar = static_cast<qzvlcd::PositionBar*>(controls().lcd->positionBar());
    int x = bar->thumbRect().left();
    while (bar->valueAtThumbLeft(x) < 50)
        ++x;
    const QPoint grab = bar->thumbRect().center();
    QTest::mousePress(bar, Qt::LeftButton, {}, grab);
    QTest::mouseMove(bar, grab + QPoint(x - bar->thumbRect().left(), 0));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grab + QPoint(x - bar->thumbRect().left(), 0));
    ASSERT_EQ(controls().lcd->Progress(), 50);

    w->trackTick().run();
    EXPECT_EQ(rec().stream.position(), rec().length / 2);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:02");
    render(44100);
    w->trackTick().run(); // plays on from there
    EXPECT_EQ(controls().lcd->Progress(), 75);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:01");
}

TEST_P(DeckTime, WithTheAutomaticDjOnTheDeckPastItsMixPointReportsItself) {
    std::vector<int> due;
    w->decks->events().mixPointReached = [&](int s) { due.push_back(s); };
    state->autoDJ.on = true;
    state->settings.automixStart = 85;
    load(tone("four.wav", fixtures::Format::Wav, 44100, 2, 4.0));
    controls().play->click();
    rec().stream.seek(rec().length * 84 / 100);
    w->trackTick().run();
    rec().stream.seek(rec().length * 85 / 100);
    w->trackTick().run(); // at the mix point, not past it
    EXPECT_EQ(controls().lcd->Progress(), 85);
    EXPECT_TRUE(due.empty());
    render(44100 / 10);
    for (int tick = 0; tick < 3; ++tick) {
        render(3528);
        w->trackTick().run();
    }
    ASSERT_FALSE(due.empty());
    EXPECT_EQ(due.back(), side());
    const std::size_t reports = due.size();
    state->autoDJ.on = false;
    w->trackTick().run();
    EXPECT_EQ(due.size(), reports) << "only with the automatic DJ on";
}

// A ten-hour set recording (RF64 WAV, 6.35 GB of 16-bit stereo at 44.1 kHz:
// past what 32 bits of bytes can count), silent but for a tone a minute
// before its end. The file is sparse: only the tone takes room on the disk.
std::string tenHourSong() {
    const std::string path = deck_test::writeFile("ten-hours.wav", "");
    constexpr std::uint64_t frames = 10ull * 3600 * 44100;
    constexpr std::uint64_t dataBytes = frames * 4;
    std::string header;
    const auto put = [&header](std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            header.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    };
    header += "RF64";
    put(0xFFFFFFFF, 4);
    header += "WAVEds64";
    put(28, 4);
    put(dataBytes + 36 + 36, 8); // the whole file less its first 8 bytes
    put(dataBytes, 8);
    put(frames, 8);
    put(0, 4);
    header += "fmt ";
    put(16, 4);
    put(1, 2); // PCM
    put(2, 2);
    put(44100, 4);
    put(44100 * 4, 4);
    put(4, 2);
    put(16, 2);
    header += "data";
    put(0xFFFFFFFF, 4);
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(header.data(), static_cast<qint64>(header.size()));
    std::string tone(44100 * 4, '\0');
    for (std::size_t i = 0; i < 44100; ++i) {
        const auto s = static_cast<std::int16_t>(16000 * std::sin(2 * M_PI * 1000 * i / 44100.0));
        for (int c = 0; c < 2; ++c) {
            tone[i * 4 + c * 2] = static_cast<char>(s & 0xFF);
            tone[i * 4 + c * 2 + 1] = static_cast<char>((s >> 8) & 0xFF);
        }
    }
    file.seek(static_cast<qint64>(header.size() + (frames - 60 * 44100) * 4));
    file.write(tone.data(), static_cast<qint64>(tone.size()));
    file.resize(static_cast<qint64>(header.size() + dataBytes));
    return path;
}

TEST_P(DeckTime, ATenHourSongShowsItsTimeAndSeeksPastFourGigabytes) {
    load(tenHourSong());
    ASSERT_TRUE(rec().stream);
    EXPECT_EQ(rec().length, 10ull * 3600 * 44100 * 4);
    EXPECT_EQ(controls().lcd->Remain(), "10:00:00");
    controls().play->click();
    const std::uint64_t minuteBeforeTheEnd = rec().length - 60ull * 44100 * 4;
    rec().stream.seek(minuteBeforeTheEnd);
    EXPECT_EQ(rec().stream.position(), minuteBeforeTheEnd);
    EXPECT_GT(audio_test::peak(render(22050), 1), 4000) << "the tone a minute before the end";
    w->trackTick().run();
    EXPECT_EQ(controls().lcd->Progress(), 100);
    EXPECT_EQ(controls().lcd->Remain(), "00:01:00");
}

DECK_TEST_BOTH_SIDES(DeckTime);

} // namespace
