#pragma once
// The black display area of the control: draws the LCD face, the captions,
// the indicator shapes and pictures, the title field and the progress bar in
// one paint pass, repainting only the element that changed. Holds what is
// shown; the control decides what to show.
#include "controls/lcd/lcd_elements.h"

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QWidget>
#include <array>

namespace qzvlcd {

enum class Caption { Remain, Pitch, LoopPoint, Bpm };

class DisplayArea : public QWidget {
    Q_OBJECT

public:
    explicit DisplayArea(QWidget* parent = nullptr);

    bool isShown(Element element) const { return shown_[static_cast<int>(element)]; }
    void setShown(Element element, bool shown);
    void setCaption(Caption caption, const QString& text);
    // Text of the title field.
    void setTitleView(const QString& view);
    const QString& titleView() const { return titleView_; }
    // Progress bar width in twips.
    void setProgressWidth(int twips);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect elementRect(Element element) const;
    void paintText(QPainter& p, const QRect& rect, const QString& text, const QFont& font,
                   const QColor& colour, int flags);

    std::array<bool, kElementCount> shown_{};
    QString remain_;
    QString pitch_;
    QString loopPoint_;
    QString bpm_;
    QString titleView_;
    int progressWidthPx_ = 0;

    QPixmap face_;
    QPixmap play_;
    QPixmap arrowRight_;
    QPixmap arrowLeft_;
    QPixmap scale_;
    QFont small_;     // Verdana 6 pt
    QFont smallBold_; // Verdana 6 pt bold
    QFont bold_;      // Verdana 6.75 pt bold
    QFont title_;     // Arial 8.25 pt
};

} // namespace qzvlcd
