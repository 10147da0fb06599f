#pragma once
// The one slider type of the program: pitch, deck volume, master, monitor
// and crossfader sliders, and the options window's sliders. An integer value
// between a minimum and a maximum (writes outside are limited to the range),
// a small and a large step, and two notifications: Change (every change of
// the value, by the user or by code) and Scroll (the thumb dragged by the
// user). It also reports mouse presses, movement and releases, and drops
// when drops are switched on (setAcceptDrops).
//
// A vertical slider shows its minimum at the top, so a volume slider is loud
// at the top (level = maximum - value).
#include <QSlider>

class QMimeData;

class Slider : public QSlider {
    Q_OBJECT

public:
    explicit Slider(Qt::Orientation orientation, QWidget* parent = nullptr);

    int Value() const { return value(); }
    void setValue(int value) { QSlider::setValue(value); }
    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int SmallChange() const { return singleStep(); }
    int LargeChange() const { return pageStep(); }

signals:
    void Change();
    void Scroll();
    // Button: 1 left, 2 right, 4 middle; Shift: 1 shift, 2 control, 4 alt;
    // x, y in pixels inside the slider.
    void MouseDown(int button, int shift, int x, int y);
    void MouseMove(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    // Something was dropped on the slider (only while drops are accepted).
    void DragDrop(const QMimeData* data, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
