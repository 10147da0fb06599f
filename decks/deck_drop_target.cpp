// Drag and drop onto a deck: the next-song box (or an entry of the playlist
// window) dragged onto the deck loads the playlist's current entry, and a
// song file from the desktop's file manager dropped on it loads that file.
// The mouse moving over the deck panel gives the keyboard back to the mixer
// panel. UI thread only.
#include "decks/deck.h"
#include "decks/decks.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "core/next_song_drag.h"
#include "core/song_types.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <vector>

namespace decks {

namespace {

// The local file of a file-manager drop that a deck can load: the first
// dropped file, when it is a song file (core/song_types.h); empty otherwise.
QString droppedSongFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return core::isSongFile(path) ? path : QString();
}

// One deck's drop targets: the panel and the controls of the deck that take
// drops. The other controls on the panel (open, pitch zero, bends, rates,
// reset) refuse them.
class DeckDrops : public QObject {
public:
    DeckDrops(QObject* owner, Deck& deck, std::function<void()> focusMixer,
              std::vector<QWidget*> targets)
        : QObject(owner), deck_(deck), focusMixer_(std::move(focusMixer)),
          targets_(std::move(targets)) {
        for (QWidget* target : targets_) {
            target->setAcceptDrops(true);
            target->installEventFilter(this);
        }
        // Moves over the panel give the keyboard to the mixer panel.
        panel()->setMouseTracking(true);
    }

    // What a drop of `data` on this deck does.
    void drop(const QMimeData* data) {
        if (data && data->hasFormat(core::kNextSongMime)) {
            deck_.dragDrop();
            return;
        }
        const QString file = droppedSongFile(data);
        if (!file.isEmpty())
            deck_.dropFile(file);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::MouseMove:
            if (widget == panel() && focusMixer_)
                focusMixer_();
            return false;
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (takesDrop(widget, drag))
                drag->acceptProposedAction();
            else
                drag->ignore();
            return true;
        }
        case QEvent::Drop:
            // The controls report their drops themselves (connected below);
            // the panel's own are handled here.
            if (widget != panel())
                return false;
            if (auto* dropped = static_cast<QDropEvent*>(event); takesDrop(widget, dropped)) {
                dropped->acceptProposedAction();
                drop(dropped->mimeData());
            }
            return true;
        default:
            return false;
        }
    }

private:
    QWidget* panel() const { return targets_.front(); }

    bool takesDrop(QWidget* widget, const QDropEvent* event) const {
        const QMimeData* data = event->mimeData();
        if (!data || (!data->hasFormat(core::kNextSongMime) && droppedSongFile(data).isEmpty()))
            return false;
        if (widget != panel())
            return true;
        // On the panel: its background or captions, not another control.
        QWidget* child = panel()->childAt(event->position().toPoint());
        while (child && child->parentWidget() != panel())
            child = child->parentWidget();
        const bool control = child && (qobject_cast<QAbstractButton*>(child) ||
                                       qobject_cast<QAbstractSlider*>(child));
        return !control || std::find(targets_.begin(), targets_.end(), child) != targets_.end();
    }

    Deck& deck_;
    const std::function<void()> focusMixer_;
    const std::vector<QWidget*> targets_; // the panel first
};

} // namespace

void Deck::connectDrops() {
    const DeckControls& c = controls_;
    auto* drops = new DeckDrops(&connections_, *this, decks_.host().focusMixer,
                                {c.panel, c.lcd, c.pitch, c.play, c.stop, c.pause, c.cue, c.cueBack,
                                 c.cueForward, c.playFromMemory});
    auto dropped = [drops](const QMimeData* data) { drops->drop(data); };
    QObject::connect(c.lcd, &qzvLCD::OLEDragDrop, drops, dropped);
    QObject::connect(c.pitch, &Slider::DragDrop, drops, dropped);
    for (ConsoleButton* button :
         {c.play, c.stop, c.pause, c.cue, c.cueBack, c.cueForward, c.playFromMemory})
        QObject::connect(button, &ConsoleButton::DragDrop, drops, dropped);
}

} // namespace decks
