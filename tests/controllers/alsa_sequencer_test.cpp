// A controller on the ALSA sequencer, where the machine has one
// (/dev/snd/seq): a sequencer client that appears after the start is
// connected, its PLAY plays the deck, and the PLAY light comes back to it.
#include "app/main_window.h"
#include "controllers/controllers.h"
#include "platform/midi/midi_message.h"
#include "tests/mixer/window_fixture.h"

#include <QElapsedTimer>
#include <QTest>
#include <alsa/asoundlib.h>
#include <filesystem>

namespace {

class AlsaSequencerTest : public mixer_test::WindowTest {
protected:
    void SetUp() override {
        if (!std::filesystem::exists("/dev/snd/seq"))
            GTEST_SKIP() << "SKIPPED: this machine has no ALSA sequencer (/dev/snd/seq); the "
                            "sequencer's tests did not run";
        WindowTest::SetUp();
        ASSERT_TRUE(w->controllers().useMapping(QString(VORLAN_BUILD_DIR) +
                                                "/share/vorlan/controllers/generic.json"));
    }
    void TearDown() override {
        if (device)
            snd_seq_close(device);
        if (w)
            WindowTest::TearDown();
    }
    snd_seq_t* device = nullptr;
};

bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 3000)
        QTest::qWait(5);
    return done();
}

TEST_F(AlsaSequencerTest, AControllerPluggedInLaterPlaysAndLightsUp) {
    ASSERT_GE(snd_seq_open(&device, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK), 0);
    snd_seq_set_client_name(device, "controller");
    const int port =
        snd_seq_create_simple_port(device, "pads",
                                   SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ |
                                       SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE,
                                   SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_HARDWARE);
    ASSERT_GE(port, 0);
    ASSERT_TRUE(waitFor([&] { return w->controllers().devices().contains("controller:pads"); }));
    usePlaylist({mixer_test::song("seq_a.wav", fixtures::Format::Wav, 3)});
    loadDeck(0, "seq_a.wav");

    snd_seq_event_t ev;
    snd_seq_ev_clear(&ev);
    snd_seq_ev_set_source(&ev, port);
    snd_seq_ev_set_subs(&ev);
    snd_seq_ev_set_direct(&ev);
    snd_seq_ev_set_noteon(&ev, 0, 16, 127);
    snd_seq_event_output_direct(device, &ev);
    EXPECT_TRUE(waitFor([&] { return playing(0); }));

    bool lit = false;
    EXPECT_TRUE(waitFor([&] {
        snd_seq_event_t* in = nullptr;
        while (snd_seq_event_input(device, &in) >= 0 && in)
            if (in->type == SND_SEQ_EVENT_NOTEON && in->data.note.note == 16 &&
                in->data.note.channel == 0)
                lit = in->data.note.velocity == 127;
        return lit;
    }));
}

} // namespace
