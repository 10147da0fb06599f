// Drag and drop onto the decks: the next-song box (or an entry of the
// playlist window) is dragged onto a deck to load the playlist's current
// entry, and a song file from the desktop's file manager can be dropped on a
// deck to load that file. The mouse moving over a deck panel gives the
// keyboard back to the mixer panel. UI thread only.
#include "app/main_window.h"

#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/console_button.h"
#include "controls/widgets/slider.h"
#include "core/next_song_drag.h"
#include "core/program_state.h"
#include "decks/decks.h"
#include "playlist/playlist_window.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QDrag>
#include <QDropEvent>
#include <QFrame>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <vector>

namespace {

// The local file of a file-manager drop that a deck can load: the first
// dropped file, when it is a song file (core/song_types.h); empty otherwise.
QString droppedSongFile(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return playlist::isCommandLineSong(path) ? path : QString();
}

// One deck's drop targets: the panel and the controls of the deck that take
// drops. The other controls on the panel (open, pitch zero, bends, rates,
// reset) refuse them.
class DeckDrops : public QObject {
public:
    DeckDrops(halvoranF& window, int side, std::vector<QWidget*> targets)
        : QObject(&window), window_(window), side_(side), targets_(std::move(targets)) {
        for (QWidget* target : targets_) {
            target->setAcceptDrops(true);
            target->installEventFilter(this);
        }
        // Moves over the panel give the keyboard to the mixer panel.
        panel()->setMouseTracking(true);
    }

    // What a drop of `data` on this deck does.
    void drop(const QMimeData* data) {
        if (data && data->hasFormat(app::kNextSongMime)) {
            if (side_ == 0)
                window_.do_dragDrop();
            else
                window_.do_dragdrop_RIGHT();
            return;
        }
        const QString file = droppedSongFile(data);
        if (!file.isEmpty())
            window_.decks->deck(side_).dropFile(file);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = static_cast<QWidget*>(watched);
        switch (event->type()) {
        case QEvent::MouseMove:
            if (widget == panel())
                window_.Mixer->setFocus();
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
        if (!data || (!data->hasFormat(app::kNextSongMime) && droppedSongFile(data).isEmpty()))
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

    halvoranF& window_;
    const int side_;
    const std::vector<QWidget*> targets_; // the panel first
};

// The next-song box: a press arms the drag flag and starts the drag.
class NextSongDrag : public QObject {
public:
    NextSongDrag(QLineEdit* box, app::ProgramState& state) : QObject(box), state_(state) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            state_.dragArmed = -1;
            auto* drag = new QDrag(watched);
            auto* data = new QMimeData;
            data->setData(app::kNextSongMime, QByteArray());
            drag->setMimeData(data);
            drag->exec(Qt::CopyAction);
        }
        return false;
    }

private:
    app::ProgramState& state_;
};

} // namespace

void halvoranF::build_Drops() {
    for (int side : {0, 1}) {
        const decks::DeckControls& c = decks->deck(side).controls();
        auto* drops = new DeckDrops(*this, side,
                                    {c.panel, c.lcd, c.pitch, c.play, c.stop, c.pause, c.cue,
                                     c.cueBack, c.cueForward, c.playFromMemory});
        auto dropped = [drops](const QMimeData* data) { drops->drop(data); };
        connect(c.lcd, &qzvLCD::OLEDragDrop, drops, dropped);
        connect(c.pitch, &Slider::DragDrop, drops, dropped);
        for (ConsoleButton* button :
             {c.play, c.stop, c.pause, c.cue, c.cueBack, c.cueForward, c.playFromMemory})
            connect(button, &ConsoleButton::DragDrop, drops, dropped);
    }
    new NextSongDrag(nextSongTXT, state);
}
