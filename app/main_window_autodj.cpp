// The main window's automatic DJ: the object on the mixer's crossfader and
// the decks, its button, fade timer and link, and the next-song box.
#include "app/main_window.h"

#include "controls/widgets/console_button.h"
#include "core/program_state.h"
#include "mixer/auto_dj.h"

#include <QEvent>
#include <QLineEdit>

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

} // namespace

void halvoranF::build_AutoDJ() {
    autoDJ_ = std::make_unique<mixer::AutoDJ>(
        state, *decks, mixer::AutoDJControls{autoDJCB, crossFaderScroll, &tmrAutoFade});
    tmrAutoFade.setTimerType(Qt::PreciseTimer);
    connect(&tmrAutoFade, &QTimer::timeout, this, &halvoranF::tmrAutoFade_Timer);
    connect(autoDJCB, &QPushButton::clicked, this, &halvoranF::autoDJCB_Click);
    new NextSongBox(nextSongTXT, playListCB);
}

void halvoranF::autoDJCB_Click() {
    autoDJ_->autoDJCB_Click();
}
void halvoranF::run_autoDJ() {
    autoDJ_->run_autoDJ();
}
void halvoranF::get_next_song() {
    autoDJ_->get_next_song();
}
void halvoranF::tmrAutoFade_Timer() {
    autoDJ_->tmrAutoFade_Timer();
}
