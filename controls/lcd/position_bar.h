#pragma once
// The display's horizontal position bar: a scroll bar of range 0..100 whose
// arrow buttons lie outside the display area (clipped away), so only the
// track and the thumb are seen. It reports like a classic scroll bar:
// scrolled() on every step of a thumb drag, changed() at the end of every
// drag and when the value has changed by a click on the track or by
// setValue().
#include "controls/lcd/qzvlcd_export.h"
#include "platform/ui/precise_timer.h"

#include <QWidget>

namespace qzvlcd {

class QZVLCD_EXPORT PositionBar : public QWidget {
    Q_OBJECT

public:
    explicit PositionBar(QWidget* parent = nullptr);

    int value() const { return value_; }
    int maximum() const { return maximum_; }
    // A value set by the program; raises changed() when it differs.
    void setValue(int value);

    // Geometry in the bar's own pixels: width of each arrow button (the
    // bar's height), the track between them and the thumb.
    int arrowWidth() const { return height(); }
    int thumbWidth() const { return height(); }
    QRect thumbRect() const;
    // Value for a thumb whose left edge is at `x`.
    int valueAtThumbLeft(int x) const;

    bool isDragging() const { return dragOffset_ >= 0; }

signals:
    void scrolled();
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void moveTo(int value);
    void pageStep();

    int value_ = 0;
    int maximum_ = 100;
    int largeChange_ = 1;
    int dragOffset_ = -1;     // pointer x minus thumb left while dragging
    int pageDirection_ = 0;   // -1 / +1 while the track is held
    int pointerX_ = 0;        // where the held track was last pressed or moved to
    ui::PreciseTimer repeat_; // repeats the page step while the track is held
};

} // namespace qzvlcd
