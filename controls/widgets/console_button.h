#pragma once
// A push button of the console. Buttons that show a state do it with their
// back colour: bright green (&HFF00) for on or selected, dark green (&H8000)
// for off. Colours are kept as the system's colour numbers (0x00BBGGRR).
// Besides Click it reports mouse presses and releases with the button code
// (right-button presses too) and drops when drops are switched on.
#include <QPushButton>
#include <cstdint>

class QMimeData;

namespace app {
inline constexpr std::uint32_t kColourOn = 0xFF00;  // red 0, green 255, blue 0
inline constexpr std::uint32_t kColourOff = 0x8000; // red 0, green 128, blue 0
// The console's plain button colour (no state shown).
inline constexpr std::uint32_t kColourPlain = 0x3A3632;
} // namespace app

class ConsoleButton : public QPushButton {
    Q_OBJECT

public:
    ConsoleButton(const QString& caption, const QString& toolTip, QWidget* parent = nullptr);

    std::uint32_t BackColor() const { return backColor_; }
    void setBackColor(std::uint32_t colour);

signals:
    // Button: 1 left, 2 right, 4 middle; Shift: 1 shift, 2 control, 4 alt.
    void MouseDown(int button, int shift, int x, int y);
    void MouseUp(int button, int shift, int x, int y);
    void DragDrop(const QMimeData* data, int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::uint32_t backColor_ = app::kColourPlain;
};
