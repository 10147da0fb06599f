#include "controls/lcd/display_area.h"

#include "controls/lcd/lcd_layout.h"
#include "controls/lcd/lcd_pictures.h"

#include <QPaintEvent>
#include <QPainter>

namespace qzvlcd {

namespace {

using layout::toPixels;

const QColor kGreen(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kOrange(255, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kDarkRed(128, 0, 0);
const QColor kTitleBack(46, 46, 46);

using E = Element;

QFont lcdFont(const char* family, int pixelSize, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize); // sizes in points at 96 dpi
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The title field shows at most this many characters of its text.
constexpr int kTitleVisibleChars = 120;

} // namespace

DisplayArea::DisplayArea(QWidget* parent)
    : QWidget(parent), small_(lcdFont("Verdana", 8, false)),
      smallBold_(lcdFont("Verdana", 8, true)), bold_(lcdFont("Verdana", 9, true)),
      title_(lcdFont("Arial", 11, false)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    const QRect bar = toPixels(layout::LABEL_progress);
    const QRect strip = toPixels(layout::Image1);
    face_ = QPixmap::fromImage(pictures::face());
    play_ = QPixmap::fromImage(pictures::playTriangle());
    arrowRight_ = QPixmap::fromImage(pictures::arrow(true));
    arrowLeft_ = QPixmap::fromImage(pictures::arrow(false));
    scale_ = QPixmap::fromImage(
        pictures::scaleStrip(bar.left() - strip.left(), layout::px(layout::kProgressFullWidth)));
}

QRect DisplayArea::elementRect(Element element) const {
    return toPixels(qzvlcd::elementRect(element));
}

void DisplayArea::setShown(Element element, bool shown) {
    bool& lit = shown_[static_cast<int>(element)];
    if (lit == shown)
        return;
    lit = shown;
    update(elementRect(element));
}

void DisplayArea::setCaption(Caption caption, const QString& text) {
    QString* target = nullptr;
    QRect rect;
    switch (caption) {
    case Caption::Remain:
        target = &remain_;
        rect = toPixels(layout::LABEL_Remain);
        break;
    case Caption::Pitch:
        target = &pitch_;
        rect = toPixels(layout::LABEL_pitch);
        break;
    case Caption::LoopPoint:
        target = &loopPoint_;
        rect = toPixels(layout::Label_LoopPoint);
        break;
    case Caption::Bpm:
        target = &bpm_;
        rect = toPixels(layout::LABEL_bpmHeading).united(toPixels(layout::LABEL_bpm));
        break;
    }
    if (*target == text)
        return;
    *target = text;
    update(rect);
}

void DisplayArea::setTitleView(const QString& view) {
    if (titleView_ == view)
        return;
    titleView_ = view;
    update(toPixels(layout::LABEL_song));
}

void DisplayArea::setProgressWidth(int twips) {
    const int width = layout::px(twips);
    if (width == progressWidthPx_)
        return;
    const QRect bar = toPixels(layout::LABEL_progress);
    const int from = std::min(width, progressWidthPx_);
    const int to = std::max(width, progressWidthPx_);
    progressWidthPx_ = width;
    update(QRect(bar.left() + from, bar.top(), to - from, bar.height()));
}

void DisplayArea::paintText(QPainter& p, const QRect& rect, const QString& text, const QFont& font,
                            const QColor& colour, int flags) {
    p.setFont(font);
    p.setPen(colour);
    // Clipped to its box, as a label is: a caption longer than the box never
    // draws where the box's repaint would not reach.
    p.drawText(rect, flags | Qt::TextSingleLine, text);
}

void DisplayArea::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.setClipRegion(event->region());
    const QRect exposed = event->rect();
    const auto visible = [&](Element element) {
        return isShown(element) && elementRect(element).intersects(exposed);
    };
    const int centred = Qt::AlignHCenter | Qt::AlignTop;
    const int left = Qt::AlignLeft | Qt::AlignTop;

    // Background: black area with the LCD face at its top left.
    p.fillRect(exposed, Qt::black);
    p.drawPixmap(0, 0, face_);

    // Captions that are always shown.
    paintText(p, toPixels(layout::Label3), QStringLiteral("REMAIN:"), small_, kGreen, centred);
    paintText(p, toPixels(layout::LABEL_Remain), remain_, bold_, kGreen, left);
    paintText(p, toPixels(layout::Label23), QStringLiteral("PITCH:"), small_, kGreen, centred);
    paintText(p, toPixels(layout::LABEL_pitch), pitch_, bold_, kGreen, centred);

    // Tempo, unless the loop point block has its place; no heading without a
    // tempo text.
    if (!isShown(E::Shape_LoopPoint) && !bpm_.isEmpty()) {
        paintText(p, toPixels(layout::LABEL_bpmHeading), QStringLiteral("BPM:"), small_, kGreen,
                  centred);
        paintText(p, toPixels(layout::LABEL_bpm), bpm_, bold_, kGreen, centred);
    }

    // Loop point block.
    if (visible(E::Shape_LoopPoint)) {
        p.setPen(kGreen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(toPixels(layout::Shape_LoopPoint).adjusted(0, 0, -1, -1));
    }
    if (visible(E::LABEL_loopPointHeading)) {
        const QRect r = toPixels(layout::LABEL_loopPointHeading);
        p.fillRect(r, Qt::black);
        paintText(p, r, QStringLiteral("LOOP POINT"), small_, kYellow,
                  Qt::AlignHCenter | Qt::AlignVCenter);
    }
    if (visible(E::Label_LoopPoint))
        paintText(p, toPixels(layout::Label_LoopPoint), loopPoint_, bold_, kGreen, centred);
    if (visible(E::img_LoopDir0))
        p.drawPixmap(toPixels(layout::img_LoopDir0).topLeft(), arrowRight_);
    if (visible(E::img_LoopDir1))
        p.drawPixmap(toPixels(layout::img_LoopDir1).topLeft(), arrowLeft_);

    // Transport indicators.
    if (visible(E::LABEL_loading))
        paintText(p, toPixels(layout::LABEL_loading), QStringLiteral("Loading..."), bold_, kGreen,
                  centred);
    if (visible(E::imgPlay))
        p.drawPixmap(toPixels(layout::imgPlay).topLeft(), play_);
    if (visible(E::imgPause0))
        p.fillRect(toPixels(layout::imgPause0), kYellow);
    if (visible(E::imgPause1))
        p.fillRect(toPixels(layout::imgPause1), kYellow);
    if (visible(E::imgStop))
        p.fillRect(toPixels(layout::imgStop), kOrange);
    if (visible(E::LABEL_cue))
        paintText(p, toPixels(layout::LABEL_cue), QStringLiteral("CUE"), bold_, kYellow, left);
    if (visible(E::img_CueDir0))
        p.drawPixmap(toPixels(layout::img_CueDir0).topLeft(), arrowRight_);
    if (visible(E::img_CueDir1))
        p.drawPixmap(toPixels(layout::img_CueDir1).topLeft(), arrowLeft_);
    if (visible(E::imgRec)) {
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(Qt::NoPen);
        p.setBrush(kRed);
        p.drawRoundedRect(QRectF(toPixels(layout::imgRec)), 3, 3);
        p.setRenderHint(QPainter::Antialiasing, false);
    }
    if (visible(E::LABEL_Rec))
        paintText(p, toPixels(layout::LABEL_Rec), QStringLiteral("REC"), smallBold_, Qt::white,
                  Qt::AlignCenter);
    for (const Element element : {E::imgLoop0, E::imgLoop1}) {
        if (!visible(element))
            continue;
        const QRect box = elementRect(element);
        const int d = std::min(box.width(), box.height());
        const QRectF circle(box.left() + (box.width() - d) / 2 + 0.5,
                            box.top() + (box.height() - d) / 2 + 0.5, d - 1, d - 1);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(kRed, 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(circle);
        p.setRenderHint(QPainter::Antialiasing, false);
    }

    // Scale strip and progress bar.
    const QRect strip = toPixels(layout::Image1);
    if (strip.intersects(exposed)) {
        p.drawPixmap(strip.topLeft(), scale_);
        const QRect bar = toPixels(layout::LABEL_progress);
        p.fillRect(QRect(bar.left(), bar.top(), progressWidthPx_, bar.height()), kDarkRed);
    }

    // The title field lies above everything else; its left margin starts
    // outside the display area and is clipped away.
    const QRect field = toPixels(layout::LABEL_song);
    if (field.intersects(exposed)) {
        p.fillRect(field, kTitleBack);
        p.setFont(title_);
        p.setPen(kYellow);
        p.drawText(field.adjusted(4, 0, 0, 0),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                   titleView_.left(kTitleVisibleChars));
    }
}

} // namespace qzvlcd
