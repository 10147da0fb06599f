#include "controls/lcd/qzvLCD.h"

#include "controls/lcd/display_area.h"
#include "controls/lcd/lcd_layout.h"
#include "controls/lcd/position_bar.h"
#include "controls/lcd/progress_math.h"
#include "platform/ui/mouse_codes.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QPaintEvent>
#include <QPainter>

namespace {

constexpr int kFastBlinkMs = 240;
constexpr int kSlowBlinkMs = 500;

} // namespace

using E = qzvLCD::Element;
namespace layout = qzvlcd::layout;

qzvLCD::qzvLCD(QWidget* parent) : QWidget(parent) {
    setFixedSize(kWidthPx, kHeightPx);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);

    display_ = new qzvlcd::DisplayArea(this);
    display_->setGeometry(layout::toPixels(layout::kDisplayArea));
    display_->setCaption(qzvlcd::Caption::Remain, remain_);
    display_->setCaption(qzvlcd::Caption::Pitch, pitch_);
    display_->setCaption(qzvlcd::Caption::LoopPoint, loopPoint_);

    SCROLL_position_ = new qzvlcd::PositionBar(display_);
    SCROLL_position_->setGeometry(layout::toPixels(layout::SCROLL_position));
    connect(SCROLL_position_, &qzvlcd::PositionBar::scrolled, this,
            &qzvLCD::SCROLL_position_Scroll);
    connect(SCROLL_position_, &qzvlcd::PositionBar::changed, this, &qzvLCD::SCROLL_position_Change);

    tmrBlinkFast_.setInterval(kFastBlinkMs);
    tmrBlinkSlow_.setInterval(kSlowBlinkMs);
    connect(&tmrBlinkFast_, &QTimer::timeout, this, &qzvLCD::tmrBlinkFast_Timer);
    connect(&tmrBlinkSlow_, &QTimer::timeout, this, &qzvLCD::tmrBlinkSlow_Timer);
    tmrBlinkFast_.start();
    blinkSlowWhileLooping();

    // The progress bar starts at the stored progress (0 %) without clamping.
    progressWidthTwips_ =
        qzvlcd::scaleHalfEven(progress_, layout::kProgressFullWidth, layout::kPositionRange);
    display_->setProgressWidth(progressWidthTwips_);
    marquee_.setTitle(QString());
    reset_marquee();
    // Every indicator stays dark until the host sets a property.
    hide_Loop();
    hide_loopPoint();
    hide_Pause();
    hide_Rec();
    hide_CueDir();
    setShown(E::LABEL_loading, false);
    setShown(E::LABEL_cue, false);
    setShown(E::imgStop, false);
    setShown(E::imgPlay, false);
}

qzvLCD::~qzvLCD() {
    tmrBlinkFast_.stop();
    tmrBlinkSlow_.stop();
}

// ---- Methods ----

void qzvLCD::hide_CueDir() {
    setShown(E::img_CueDir0, false);
    setShown(E::img_CueDir1, false);
}

void qzvLCD::show_CueDir() {
    setShown(E::img_CueDir0, true);
    setShown(E::img_CueDir1, true);
}

void qzvLCD::show_Rec() {
    setShown(E::LABEL_Rec, true);
    setShown(E::imgRec, true);
}

void qzvLCD::hide_Rec() {
    setShown(E::LABEL_Rec, false);
    setShown(E::imgRec, false);
}

void qzvLCD::hide_Pause() {
    setShown(E::imgPause0, false);
    setShown(E::imgPause1, false);
}

void qzvLCD::show_Pause() {
    setShown(E::imgPause0, true);
    setShown(E::imgPause1, true);
}

void qzvLCD::hide_Loop() {
    setShown(E::imgLoop0, false);
    setShown(E::imgLoop1, false);
}

void qzvLCD::show_Loop() {
    setShown(E::imgLoop0, true);
    setShown(E::imgLoop1, true);
}

void qzvLCD::run_marquee_scroll() {
    marquee_.step();
    display_->setTitleView(marquee_.view());
}

void qzvLCD::reset_marquee() {
    marquee_.reset();
    display_->setTitleView(marquee_.view());
}

void qzvLCD::hide_loopPoint() {
    setShown(E::img_LoopDir0, false);
    setShown(E::img_LoopDir1, false);
    setShown(E::Label_LoopPoint, false);
    setShown(E::LABEL_loopPointHeading, false);
    setShown(E::Shape_LoopPoint, false);
}

void qzvLCD::show_loopPoint() {
    setShown(E::img_LoopDir0, true);
    setShown(E::img_LoopDir1, true);
    setShown(E::Label_LoopPoint, true);
    setShown(E::LABEL_loopPointHeading, true);
    setShown(E::Shape_LoopPoint, true);
}

// ---- Properties ----

void qzvLCD::setCueing(bool New_Cueing) {
    cueing_ = New_Cueing;
    markChanged("Cueing");
    setShown(E::LABEL_cue, cueing_);
}

void qzvLCD::setCueDir(short New_CueDir) {
    cueDir_ = New_CueDir;
    markChanged("CueDir");
    if (cueDir_ == 2) {
        hide_CueDir();
        return;
    }
    show_CueDir();
    setPlay(false);
    setPause(false);
    setStopPlaying(false);
}

void qzvLCD::setLoading(const QVariant& New_Loading) {
    loading_ = New_Loading.toBool();
    markChanged("Loading");
    setShown(E::LABEL_loading, loading_);
}

void qzvLCD::setLoopDir(short New_LoopDir) {
    loopDir_ = New_LoopDir;
    markChanged("LoopDir");
}

void qzvLCD::setPitch(const QString& New_Pitch) {
    pitch_ = New_Pitch;
    markChanged("Pitch");
    display_->setCaption(qzvlcd::Caption::Pitch, pitch_);
}

void qzvLCD::setBpm(const QString& New_Bpm) {
    if (bpm_ == New_Bpm)
        return;
    bpm_ = New_Bpm;
    markChanged("Bpm");
    display_->setCaption(qzvlcd::Caption::Bpm, bpm_);
}

void qzvLCD::setLoopPoint(const QString& New_LoopPoint) {
    loopPoint_ = New_LoopPoint;
    markChanged("LoopPoint");
    display_->setCaption(qzvlcd::Caption::LoopPoint, loopPoint_);
    if (!loopPoint_.isEmpty())
        show_loopPoint();
    else
        hide_loopPoint();
}

void qzvLCD::setLooping(bool New_Looping) {
    looping_ = New_Looping;
    blinkSlowWhileLooping();
    markChanged("Looping");
    if (looping_)
        show_Loop();
    else
        hide_Loop();
}

void qzvLCD::setRemain(const QString& New_Remain) {
    remain_ = New_Remain;
    markChanged("Remain");
    display_->setCaption(qzvlcd::Caption::Remain, remain_);
}

void qzvLCD::setPlay(bool New_Play) {
    play_ = New_Play;
    markChanged("Play");
    if (play_) {
        setPause(false);
        setStopPlaying(false);
        setCueing(false);
        setCueDir(2);
        setShown(E::imgPlay, true);
    } else {
        setShown(E::imgPlay, false);
    }
}

void qzvLCD::setStopPlaying(bool New_Stop) {
    stopPlaying_ = New_Stop;
    markChanged("StopPlaying");
    if (stopPlaying_) {
        setPlay(false);
        setPause(false);
        setCueing(false);
        setCueDir(2);
        setShown(E::imgStop, true);
    } else {
        setShown(E::imgStop, false);
    }
}

void qzvLCD::setPause(bool New_Pause) {
    pause_ = New_Pause;
    markChanged("Pause");
    if (pause_) {
        show_Pause();
        setPlay(false);
    } else {
        hide_Pause();
    }
}

void qzvLCD::setRec(bool New_Rec) {
    rec_ = New_Rec;
    markChanged("Rec");
    if (rec_)
        show_Rec();
    else
        hide_Rec();
}

void qzvLCD::setSong(const QString& New_Song) {
    // A title of nothing but blanks scrolls only the ten blanks.
    const bool blank = std::all_of(New_Song.cbegin(), New_Song.cend(),
                                   [](QChar c) { return c == QLatin1Char(' '); });
    if (blank) {
        song_.clear();
        marquee_.setTitle(QString());
    } else {
        song_ = New_Song;
        marquee_.setTitle(New_Song);
    }
    markChanged("Song");
    reset_marquee();
}

void qzvLCD::setProgress(short New_Progress) {
    progress_ = std::clamp<short>(New_Progress, 1, 100);
    markChanged("Progress");
    applyProgress();
}

void qzvLCD::applyProgress() {
    progressWidthTwips_ =
        qzvlcd::scaleHalfEven(progress_, layout::kProgressFullWidth, layout::kPositionRange);
    display_->setProgressWidth(progressWidthTwips_);
    SCROLL_position_->setValue(
        qzvlcd::scaleHalfEven(progress_, SCROLL_position_->maximum(), layout::kPositionRange));
}

void qzvLCD::setBackColor(const QColor& New_BackColor) {
    backColor_ = New_BackColor;
    markChanged("BackColor");
    update();
}

// ---- Position bar ----

void qzvLCD::SCROLL_position_Scroll() {
    dragging_ = true;
    setProgress(static_cast<short>(SCROLL_position_->value()));
    emit Scroll();
}

void qzvLCD::SCROLL_position_Change() {
    if (dragging_) {
        dragging_ = false;
        return;
    }
    setProgress(static_cast<short>(SCROLL_position_->value()));
}

QWidget* qzvLCD::positionBar() const {
    return SCROLL_position_;
}

int qzvLCD::positionValue() const {
    return SCROLL_position_->value();
}

// ---- Timers ----

void qzvLCD::tmrBlinkFast_Timer() {
    run_marquee_scroll();
    if (loading_)
        setShown(E::LABEL_loading, !isShown(E::LABEL_loading));
    if (pause_) {
        const bool shown = !isShown(E::imgPause0);
        setShown(E::imgPause0, shown);
        setShown(E::imgPause1, shown);
    }
    // A direction other than 0, 1 or 2 selects no arrow.
    if (cueDir_ == 0 || cueDir_ == 1) {
        const E arrow = cueDir_ == 0 ? E::img_CueDir0 : E::img_CueDir1;
        setShown(arrow, !isShown(arrow));
    }
    if (loopDir_ == 0 || loopDir_ == 1) {
        const E arrow = loopDir_ == 0 ? E::img_LoopDir0 : E::img_LoopDir1;
        setShown(arrow, !isShown(arrow));
    }
}

// The slow timer blinks only the loop circles, so it runs only while looping.
void qzvLCD::blinkSlowWhileLooping() {
    if (!looping_)
        tmrBlinkSlow_.stop();
    else if (!tmrBlinkSlow_.isActive())
        tmrBlinkSlow_.start();
}

void qzvLCD::tmrBlinkSlow_Timer() {
    if (looping_) {
        const bool shown = !isShown(E::imgLoop0);
        setShown(E::imgLoop0, shown);
        setShown(E::imgLoop1, shown);
    }
}

// ---- Shown elements ----

bool qzvLCD::isShown(Element element) const {
    return display_->isShown(element);
}

void qzvLCD::setShown(Element element, bool shown) {
    display_->setShown(element, shown);
}

void qzvLCD::markChanged(const char* name) {
    emit propertyChanged(QString::fromLatin1(name));
}

// ---- Painting and dropping ----

void qzvLCD::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), backColor_);
}

void qzvLCD::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void qzvLCD::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void qzvLCD::dropEvent(QDropEvent* event) {
    int effect = static_cast<int>(event->possibleActions()) &
                 (Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
    const auto button = static_cast<short>(ui::buttonCode(event->buttons()));
    const auto shift = static_cast<short>(ui::shiftCode(event->modifiers()));
    const QPointF at = event->position() * layout::kTwipsPerPixel;
    emit OLEDragDrop(event->mimeData(), &effect, button, shift, static_cast<float>(at.x()),
                     static_cast<float>(at.y()));
    if (effect & Qt::MoveAction)
        event->setDropAction(Qt::MoveAction);
    else if (effect & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    else if (effect & Qt::LinkAction)
        event->setDropAction(Qt::LinkAction);
    if (effect == 0)
        event->ignore();
    else
        event->accept();
}
