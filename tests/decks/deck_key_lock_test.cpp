// KEY LOCK: its button and key switch it per deck, it stays through track
// loads, the pitch then changes the tempo while the tone keeps its key, and
// the options' engine choice reaches the deck and the registry.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "app/options_window.h"
#include "core/fixed_texts.h"
#include "core/registry_values.h"
#include "tests/platform/audio/audio_test_support.h"

#include <QComboBox>
#include <QTest>
#include <cmath>

using namespace deck_test;
using audio_test::render;

namespace {

class DeckKeyLock : public DeckTest {
protected:
    // Cents from 1 kHz of what the deck plays.
    static double centsOffTheTone() {
        render(4096);
        return 1200 * std::log2(audio_test::frequency(render(22050), 0, 44100) / 1000.0);
    }
    DWORD streamKeyLock() { return BASS_ChannelGetKeyLock(rec().stream.handle()); }
};

TEST_P(DeckKeyLock, PitchChangesTheTempoOnlyAndTheLockStaysThroughLoads) {
    load(wav44k());
    controls().keyLock->click();
    EXPECT_EQ(controls().keyLock->BackColor(), app::kColourOn);
    EXPECT_EQ(streamKeyLock(), BASS_KEYLOCK_FASTER);
    controls().pitch->setValue(2000); // + 10 %
    controls().play->click();
    EXPECT_NEAR(centsOffTheTone(), 0.0, 2.0);
    // 10 % faster: the position runs ahead of the frames heard.
    const double before = rec().stream.position() / 4.0;
    render(44100 / 2);
    EXPECT_NEAR(rec().stream.position() / 4.0 - before, 44100 * 1.1 / 2, 2.0);

    load(tone("key_lock_second.mp3", fixtures::Format::Mp3Cbr, 44100, 2, 3.0));
    EXPECT_TRUE(rec().keyLock);
    EXPECT_EQ(streamKeyLock(), BASS_KEYLOCK_FASTER);
    controls().pitch->setValue(2000);
    controls().play->click();
    EXPECT_NEAR(centsOffTheTone(), 0.0, 2.0);

    // Its key (4 left, 8 right) switches it off while playing: varispeed again.
    QTest::keyClick(w->mixerPanel.desk.crossFaderScroll, side() == 0 ? Qt::Key_1 : Qt::Key_6);
    EXPECT_FALSE(rec().keyLock);
    EXPECT_EQ(controls().keyLock->BackColor(), app::kColourOff);
    EXPECT_NEAR(centsOffTheTone(), 1200 * std::log2(1.1), 2.0);
}

TEST_P(DeckKeyLock, TheOptionsChooseTheFinerEngine) {
    load(wav44k());
    controls().keyLock->click();
    optionsF* options = state->optionsWindow;
    ASSERT_NE(options, nullptr);
    options->cmbKeyLockEngine->setCurrentIndex(1);
    options->cmdcloseButton_Click();
    EXPECT_EQ(streamKeyLock(), BASS_KEYLOCK_FINER);
    EXPECT_EQ(core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), "KeyLockEngine"),
              "Finer");
}

DECK_TEST_BOTH_SIDES(DeckKeyLock);

} // namespace
