// Loading a deck by dropping the next-song box (or a file) on it. Runs on
// the UI thread.
#include "decks/deck.h"

#include "controls/widgets/console_button.h"
#include "engine/engine_helpers.h"
#include "platform/ui/dialogs.h"

namespace decks {

void Deck::dragDrop() {
    if (!state_.dragArmed || state_.playlist.count() <= 0)
        return;
    const QString path = state_.playlist.path(state_.playlist.cursor());
    if (!droppedFileFound(path))
        return;
    state_.dragArmed = false;
    loadDropped(path);
}

void Deck::dropFile(const QString& path) {
    if (droppedFileFound(path))
        loadDropped(path);
}

bool Deck::droppedFileFound(const QString& path) {
    if (engine::fileExists(path))
        return true;
    // The deck's stream (if any) keeps playing; the drag stays armed.
    record().filePath.clear();
    state_.dialogs.msgBox("Please make sure the file exists on the disk...",
                          ui::vbCritical | ui::vbOKOnly, QString());
    return false;
}

void Deck::loadDropped(const QString& path) {
    record().filePath = path;
    init_Player();
    forgetMemoryCues();
}

void Deck::forgetMemoryCues() {
    controls_.playFromMemory->setBackColor(app::kColourOff);
    record().memoryCue1 = 0;
    record().memoryCue2 = 0;
}

} // namespace decks
