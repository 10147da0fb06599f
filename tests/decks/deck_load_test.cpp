// Loading files onto a deck: what the deck and its display take from each
// format, and what bad files leave behind.
#include "tests/decks/deck_fixture.h"

#include "app/main_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "decks/decks.h"
#include "tests/platform/audio/audio_test_support.h"

#include <filesystem>
#include <fstream>

using namespace deck_test;
using fixtures::Format;

namespace {

class DeckLoad : public DeckTest {};

struct FormatCase {
    const char* name;
    Format format;
    int rate;
    int channels;
    std::int16_t kind;
    const char* song; // the display's title text: the file name without tags
};

TEST_P(DeckLoad, SetsKindRateLengthCueAndADisplayOfTheSong) {
    // Untagged files: MP3 and WAV show their file name; an ASF file shows
    // what its header holds (no title: only the product name).
    const FormatCase cases[] = {
        {"cbr44.mp3", Format::Mp3Cbr, 44100, 2, 2, "cbr44.mp3"},
        {"vbr44.mp3", Format::Mp3Vbr, 44100, 2, 2, "vbr44.mp3"},
        {"cbr22.mp3", Format::Mp3Cbr, 22050, 2, 2, "cbr22.mp3"},
        {"vbr22.mp3", Format::Mp3Vbr, 22050, 1, 2, "vbr22.mp3"},
        {"tone44.wav", Format::Wav, 44100, 2, 2, "tone44.wav"},
        {"tone44.wma", Format::Wma, 44100, 2, 1, "Vorlan"},
        {"tone22.asf", Format::Asf, 22050, 1, 1, "Vorlan"},
        {"tone44.flac", Format::Flac, 44100, 2, 2, "tone44.flac"},
        {"tone48.aiff", Format::Aiff, 48000, 1, 2, "tone48.aiff"},
        {"aac44.m4a", Format::M4aAac, 44100, 2, 2, "aac44.m4a"},
        {"alac48.m4a", Format::M4aAlac, 48000, 2, 2, "alac48.m4a"},
        {"tone44.ogg", Format::OggVorbis, 44100, 2, 2, "tone44.ogg"},
        {"tone48.opus", Format::Opus, 48000, 2, 2, "tone48.opus"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        // A pitch and display flags from before the load.
        controls().pitch->setValue(1500);
        controls().lcd->setPlay(true);
        controls().lcd->setLoopPoint("00:00:01");
        const int waitChanges = dialogs.waitCursorChanges();

        load(tone(c.name, c.format, c.rate, c.channels, 3.0));

        ASSERT_TRUE(rec().stream);
        EXPECT_EQ(static_cast<int>(rec().stream.kind()), c.kind);
        EXPECT_EQ(rec().baseRate, static_cast<std::uint32_t>(c.rate));
        EXPECT_EQ(streamRate(), static_cast<DWORD>(c.rate));
        // The WMA encoder ends on a whole frame of 2048 samples.
        EXPECT_NEAR(rec().length, c.rate * 3 * 4, c.kind == 1 ? 2048 * 4 : 0);
        EXPECT_EQ(rec().cuePosition, 1u);
        EXPECT_EQ(rec().stream.position(), 0u);
        EXPECT_EQ(openStreams(), 1) << "the previous song's stream is freed";
        EXPECT_EQ(state->selectedDeck, side());

        qzvLCD& lcd = *controls().lcd;
        EXPECT_EQ(lcd.Remain(), "00:00:03");
        EXPECT_EQ(lcd.Song(), QString(c.song) + "          Vorlan");
        EXPECT_EQ(lcd.Pitch(), " 0.00% ");
        EXPECT_FALSE(lcd.Loading());
        EXPECT_FALSE(lcd.Play());
        EXPECT_EQ(lcd.LoopPoint(), "");
        EXPECT_EQ(lcd.LoopDir(), 2);
        EXPECT_EQ(controls().pitch->Value(), 1000);
        EXPECT_EQ(rec().pitchPosition, 1000);
        EXPECT_EQ(controls().pitchZero->BackColor(), app::kColourOn);
        EXPECT_EQ(controls().rate44100->BackColor(),
                  c.rate >= 44100 ? app::kColourOn : app::kColourOff);
        EXPECT_EQ(controls().rate22050->BackColor(),
                  c.rate >= 44100 ? app::kColourOff : app::kColourOn);
        EXPECT_EQ(controls().volume->Value(), 50);
        // The right deck shows the hourglass while it loads; the left does not.
        EXPECT_EQ(dialogs.waitCursorChanges() - waitChanges, side() == 1 ? 2 : 1);
        EXPECT_FALSE(dialogs.waitCursor());
    }
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_P(DeckLoad, FilesLoadByTheirContentWhateverTheirExtension) {
    const std::filesystem::path folder = audio_test::fixtureFolder();
    const std::string wmaAsMp3 = (folder / "wma-named.mp3").string();
    const std::string mp3AsWma = (folder / "mp3-named.wma").string();
    std::filesystem::copy_file(tone("content.wma", Format::Wma), wmaAsMp3,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(tone("content.mp3", Format::Mp3Cbr), mp3AsWma,
                               std::filesystem::copy_options::overwrite_existing);
    load(wmaAsMp3);
    EXPECT_EQ(rec().stream.kind(), engine::StreamKind::wma);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:02");
    load(mp3AsWma);
    EXPECT_EQ(rec().stream.kind(), engine::StreamKind::main);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:02");
    EXPECT_TRUE(dialogs.boxes().empty());
}

TEST_P(DeckLoad, ATruncatedMp3PlaysWhatItHolds) {
    const std::string whole = tone("whole.mp3", Format::Mp3Cbr, 44100, 2, 4.0);
    const auto size = std::filesystem::file_size(whole);
    const std::string cut = (audio_test::fixtureFolder() / "cut.mp3").string();
    std::filesystem::copy_file(whole, cut, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::resize_file(cut, size / 2);
    load(cut);
    ASSERT_TRUE(rec().stream);
    EXPECT_EQ(controls().lcd->Remain(), "00:00:02");
    controls().play->click();
    const std::vector<short> heard = audio_test::render(44100);
    EXPECT_NEAR(audio_test::frequency(heard, 0, 44100), 1000.0, 2.0);
    audio_test::render(2 * 44100);
    EXPECT_EQ(rec().stream.state(), engine::PlayState::stopped) << "played to its end";
    EXPECT_TRUE(dialogs.boxes().empty());
}

// Bad files: the box each shows (or none with the automatic DJ on), and the
// deck left as it was: empty, or with its previous song still loaded.
struct BadFile {
    const char* name;
    std::string (*make)();
    const char* text; // start of the box text
    const char* title;
    int style;
};

std::string missingFile() {
    return (audio_test::fixtureFolder() / "no-such-song.mp3").string();
}
std::string folderNamedMp3() {
    const auto path = audio_test::fixtureFolder() / "folder.mp3";
    std::filesystem::create_directories(path);
    return path.string();
}
std::string textFile() {
    return writeFile("notes.mp3", std::string(4000, 'x') + "no sound here\n");
}
std::string emptyFile() {
    return writeFile("empty.wav", "");
}
// Damaged files of the containers the main library opens: cut before their
// index, garbage behind the right signature, nothing at all.
std::string cutM4a() {
    const std::string song = tone("whole.m4a", Format::M4aAac);
    std::ifstream in(song, std::ios::binary);
    std::string bytes(3000, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return writeFile("cut.m4a", bytes);
}
std::string garbageFlac() {
    return writeFile("garbage.flac", "fLaC" + std::string(6000, '\x5a'));
}
std::string garbageOgg() {
    return writeFile("garbage.ogg", "OggS" + std::string(6000, '\xa5'));
}
std::string garbageAiff() {
    return writeFile("garbage.aiff",
                     std::string("FORM\0\0\x10\0AIFF", 12) + std::string(4096, 'x'));
}
std::string emptyOpus() {
    return writeFile("empty.opus", "");
}

std::string nameTooLong() {
    return (audio_test::fixtureFolder() / (std::string(300, 'n') + ".mp3")).string();
}

const BadFile kBadFiles[] = {
    {"missing", missingFile,
     "The selected file can not be found at its original location.\n\nRemove from Playlist?",
     "File Not Found", ui::vbYesNo | ui::vbQuestion},
    {"folder", folderNamedMp3,
     "The selected file could not be loaded. Please choose another file...", "Error",
     ui::vbCritical},
    {"not audio", textFile, "The selected file could not be loaded. Please choose another file...",
     "Error", ui::vbCritical},
    {"zero length", emptyFile,
     "The selected file could not be loaded. Please choose another file...", "Error",
     ui::vbCritical},
    {"cut m4a", cutM4a, "The selected file could not be loaded. Please choose another file...",
     "Error", ui::vbCritical},
    {"garbage flac", garbageFlac,
     "The selected file could not be loaded. Please choose another file...", "Error",
     ui::vbCritical},
    {"garbage ogg", garbageOgg,
     "The selected file could not be loaded. Please choose another file...", "Error",
     ui::vbCritical},
    {"garbage aiff", garbageAiff,
     "The selected file could not be loaded. Please choose another file...", "Error",
     ui::vbCritical},
    {"empty opus", emptyOpus,
     "The selected file could not be loaded. Please choose another file...", "Error",
     ui::vbCritical},
    {"name too long", nameTooLong, "Please make sure the file exists on the disk...", "",
     ui::vbCritical},
};

TEST_P(DeckLoad, BadFilesShowTheirBoxAndLeaveTheDeckAsItWas) {
    const QStringList entries{"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"};
    state->playlist.setEntries(entries, entries);
    state->playlist.select(0);
    for (const bool loadedBefore : {false, true}) {
        for (const BadFile& bad : kBadFiles) {
            SCOPED_TRACE(std::string(bad.name) + (loadedBefore ? " onto a loaded deck" : ""));
            if (loadedBefore) {
                load(wav44k());
                controls().play->click();
            }
            const core::StreamHandle beforeStream = rec().stream.handle();
            const engine::StreamKind beforeKind = rec().stream.kind();
            const QString beforePath = rec().filePath;
            const QString song = controls().lcd->Song();
            dialogs.clear();
            dialogs.expectBox(ui::vbYes);

            load(bad.make());

            ASSERT_EQ(dialogs.boxes().size(), 1u);
            EXPECT_TRUE(dialogs.boxes()[0].text.startsWith(bad.text))
                << dialogs.boxes()[0].text.toStdString();
            EXPECT_EQ(dialogs.boxes()[0].title, bad.title);
            EXPECT_EQ(dialogs.boxes()[0].style & (ui::kButtonMask | ui::kIconMask), bad.style);
            EXPECT_EQ(rec().stream.handle(), beforeStream);
            EXPECT_EQ(rec().stream.kind(), beforeKind);
            EXPECT_EQ(rec().filePath, beforePath);
            EXPECT_EQ(controls().lcd->Song(), song);
            EXPECT_FALSE(controls().lcd->Loading());
            EXPECT_FALSE(dialogs.waitCursor());
            EXPECT_EQ(openStreams(), loadedBefore ? 1 : 0) << "no stream left open";
            if (loadedBefore) {
                EXPECT_EQ(rec().stream.state(), engine::PlayState::playing)
                    << "the previous song plays on";
            }
        }
    }
    EXPECT_EQ(state->playlist.paths(), QStringList{"/m/c.mp3"})
        << "Yes to \"Remove from Playlist?\" removes the selected playlist entry";
    state->playlist.setChanged(false); // no question about saving it at the close
}

TEST_P(DeckLoad, WithTheAutomaticDjOnBadFilesShowNoBoxAndReportTheDeckDue) {
    state->autoDJ.on = true;
    std::vector<int> due;
    w->decks->events().mixPointReached = [&](int s) { due.push_back(s); };
    for (const BadFile& bad : kBadFiles) {
        if (std::string(bad.name) == "name too long")
            continue; // the look-up failure goes on with the next entry, below
        SCOPED_TRACE(bad.name);
        due.clear();
        load(bad.make());
        EXPECT_EQ(due, std::vector<int>{side()});
        EXPECT_FALSE(rec().stream);
        EXPECT_FALSE(controls().lcd->Loading());
    }
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(openStreams(), 0);
}

TEST_P(DeckLoad, WithTheAutomaticDjOnAPathThatCannotBeLookedUpLoadsTheNextEntry) {
    state->autoDJ.on = true;
    const QStringList playlist = {"a.mp3", QString::fromStdString(nameTooLong()),
                                  QString::fromStdString(wav44k())};
    state->playlist.setEntries(playlist, playlist);
    state->playlist.setCursor(1);
    load(nameTooLong());
    EXPECT_EQ(state->playlist.cursor(), 2);
    EXPECT_EQ(state->playlist.selected(), 2);
    EXPECT_EQ(rec().filePath, playlist[2]);
    EXPECT_TRUE(rec().stream);
    EXPECT_EQ(controls().lcd->Song(), "deck.wav          Vorlan");
    EXPECT_TRUE(dialogs.boxes().empty());
}

DECK_TEST_BOTH_SIDES(DeckLoad);

} // namespace
