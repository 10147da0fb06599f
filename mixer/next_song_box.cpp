#include "mixer/next_song_box.h"

#include "core/next_song_drag.h"
#include "core/program_state.h"

#include <QDrag>
#include <QEvent>
#include <QLineEdit>
#include <QMimeData>

namespace mixer {
namespace {

// The next-song box: moving the mouse over it shows its whole text as the
// tooltip; the keyboard focus it gets goes on to the playlist button.
class NextSongBox : public QObject {
public:
    NextSongBox(QLineEdit* box, QWidget* focusTarget) : QObject(box), focusTarget_(focusTarget) {
        box->setMouseTracking(true);
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = static_cast<QLineEdit*>(watched);
        if (event->type() == QEvent::MouseMove)
            box->setToolTip(box->text());
        else if (event->type() == QEvent::FocusIn)
            focusTarget_->setFocus();
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget* focusTarget_;
};

// The next-song box: a press arms the drag flag and starts the drag that a
// deck takes (decks/deck_drop_target.cpp).
class NextSongDrag : public QObject {
public:
    NextSongDrag(QLineEdit* box, core::ProgramState& state) : QObject(box), state_(state) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            state_.dragArmed = true;
            auto* drag = new QDrag(watched);
            auto* data = new QMimeData;
            data->setData(core::kNextSongMime, QByteArray());
            drag->setMimeData(data);
            drag->exec(Qt::CopyAction);
        }
        return false;
    }

private:
    core::ProgramState& state_;
};

} // namespace

void attachNextSongBox(QLineEdit* box, QWidget* focusTarget, core::ProgramState& state) {
    new NextSongDrag(box, state);
    new NextSongBox(box, focusTarget);
}

} // namespace mixer
