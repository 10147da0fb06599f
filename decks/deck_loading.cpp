// Loading a file into a deck: the stream, its length, rate and cue point,
// and a fresh display.
#include "decks/deck.h"
#include "decks/decks.h"
#include "decks/path_lookup.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "core/number_text.h"
#include "engine/engine_helpers.h"
#include "platform/system/text.h"
#include "platform/ui/dialogs.h"
#include "tags/track_titles.h"

#include <utility>

namespace decks {

void Deck::init_Player() {
    core::DeckRecord& r = record();
    if (r.filePath.isEmpty())
        return;
    // The load's error trap: a path that cannot even be looked up.
    if (!pathCanBeLookedUp(r.filePath)) {
        if (!state_.autoDJ.on) {
            state_.dialogs.msgBox("Please make sure the file exists on the disk...",
                                  ui::vbCritical | ui::vbOKOnly, QString());
            r.filePath = r.loadedFile;
            endLoading();
            return;
        }
        // The automatic DJ goes on with the next playlist entry.
        decks_.downCB_Click();
        r.filePath = state_.playlist.path(state_.playlist.cursor());
    }

    state_.selectedDeck = static_cast<std::int16_t>(side_);
    controls_.lcd->setLoading(true);
    if (side_ == 1)
        state_.dialogs.setWaitCursor(true);
    controls_.volume->setValue(static_cast<int>(core::roundHalfEven(state_.crossMax / 2.0)));

    // The new stream is opened before the old one is freed, so a file that
    // cannot be opened leaves the deck's song (and its stream kind) as it was.
    engine::Channel stream = openStream(r.filePath);
    if (!stream) {
        r.filePath = r.loadedFile;
        if (state_.autoDJ.on)
            reportMixPoint();
        endLoading();
        return;
    }
    r.stream = std::move(stream);
    r.loadedFile = r.filePath;

    controls_.lcd->setRemain(getSongLength());
    // The new track starts at the start of the position bar (the last
    // track's 100 % would count as past the automix point), and the next
    // track tick does not take the reset for a drag of the bar.
    controls_.lcd->setProgress(0);
    r.lastProgress = controls_.lcd->Progress();

    const std::uint32_t rate = r.stream.rate();
    r.baseRate = rate;
    r.fileRate = rate;
    r.bpm = 0; // until the track's analysis tells
    r.firstBeat = 0;
    r.musicStart = r.musicEnd = 0;
    r.analysed = false;
    r.analysisFailed = false;
    r.syncedRate = 0;
    controls_.rate44100->setBackColor(rate >= 44100 ? app::kColourOn : app::kColourOff);
    controls_.rate22050->setBackColor(rate >= 44100 ? app::kColourOff : app::kColourOn);
    r.stream.setAttributes(engine::kRateUnchanged, engine::kVolumeUnchanged, state_.startupPan);
    applyKeyLock();

    record().stream.seek(1);
    r.cuePosition = 1;
    pitchZero_Click();
    endLoading();

    const QString& product = decks_.host().productName;
    controls_.lcd->setSong(tags::get_ID3_tag(state_, r.filePath, product) + QString(10, ' ') +
                           product);
    qzvLCD& lcd = *controls_.lcd;
    lcd.setCueing(false);
    lcd.setPlay(false);
    lcd.setPause(false);
    lcd.setStopPlaying(false);
    lcd.setRec(false);
    lcd.setLooping(false);
    lcd.setLoopDir(2);
    lcd.setLoopPoint(QString());
    showBpm();
    decks_.trackLoaded(side_, r.loadedFile);
}

void Deck::endLoading() {
    controls_.lcd->setLoading(false);
    state_.dialogs.setWaitCursor(false);
}

engine::Channel Deck::openStream(const QString& path) {
    engine::Channel stream = engine::Channel::open(sys::toAnsi(path), state_.engine.streamFlags);
    if (!stream && !state_.autoDJ.on) {
        if (engine::fileExists(path)) {
            decks_.host().throwError(
                "The selected file could not be loaded. Please choose another file...");
        } else {
            const int answer = state_.dialogs.msgBox(
                "The selected file can not be found at its original location.\n\n"
                "Remove from Playlist?",
                ui::vbYesNo | ui::vbQuestion, "File Not Found");
            if (answer == ui::vbYes)
                state_.playlist.removeSelected();
        }
    }
    return stream;
}

void Deck::openFile_Click() {
    state_.playlist.requestAdd();
    if (state_.playlist.lastAddedFile.isEmpty())
        return;
    core::DeckRecord& r = record();
    r.filePath = state_.playlist.lastAddedFile;
    state_.playlist.select(state_.playlist.cursor());
    init_Player();
    forgetMemoryCues();
}

} // namespace decks
