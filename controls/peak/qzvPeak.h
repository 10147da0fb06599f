#pragma once
// qzvPeak: a stereo level meter of two columns of 28 LED dots (left and
// right channel). The host writes a level 0..128 per channel as often as it
// likes; the column rises to it at once and falls back by itself one LED
// per tick of its own timer (20, 40 or 60 ms, chosen by the last level
// written), so short peaks stay visible for a moment.
//
// Conventions of this interface:
// - Booleans are passed as C++ bool (a 16-bit host value -1/0 converts).
// - Levels and BackStyle are 16-bit signed (short).
// - Fixed size 16 x 137 logical pixels (235 x 2055 twips); resizing is refused.
// - The whole meter is drawn in one paint pass; only LEDs that changed are
//   repainted.
// Everything runs on the user-interface thread.
#include "controls/peak/qzvpeak_export.h"
#include "platform/ui/precise_timer.h"

#include <QWidget>

namespace com {
class PropertyBag;
}

class QZVPEAK_EXPORT qzvPeak : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLeds = 28;

    explicit qzvPeak(QWidget* parent = nullptr);
    ~qzvPeak() override;

    // ---- Properties, in interface order ----
    // Stored and persisted only; it changes nothing in the display and does
    // not disable the widget (QWidget::setEnabled still does that).
    bool Enabled() const { return enabled_; }
    void setEnabled(bool New_Enabled);
    // 0 transparent (the host shows through), 1 opaque (the palette's Window
    // colour, black unless the host changes the palette).
    short BackStyle() const { return backStyle_; }
    void setBackStyle(short New_BackStyle);
    // Last level written, 0..128; above 128 is stored as 128. A negative
    // value is stored as written and lights nothing.
    short LPeak() const { return left_.peak; }
    void setLPeak(short New_LPeak);
    short RPeak() const { return right_.peak; }
    void setRPeak(short New_RPeak);

    // ---- Persistence in the host's property bag ----
    void InitProperties();
    void ReadProperties(const com::PropertyBag& bag);
    void WriteProperties(com::PropertyBag& bag) const;

    // ---- Timer handlers (the timers call these; tests call them by hand) ----
    void tmrLpeakHold_Timer();
    void tmrRpeakHold_Timer();
    const QTimer& tmrLpeakHold() const { return tmrLpeakHold_; }
    const QTimer& tmrRpeakHold() const { return tmrRpeakHold_; }

    // ---- Read-only views of what is shown ----
    enum class Column { Left, Right };
    // Index of the LED the last write reached (0..27).
    short level(Column column) const;
    // Index of the highest lit LED, -1 when none is lit.
    short top(Column column) const;
    bool isLedLit(Column column, int index) const;
    // Rectangle of LED `index` in logical pixels.
    static QRect ledRect(Column column, int index);

    static constexpr int kWidthPx = 16;   // 235 twips
    static constexpr int kHeightPx = 137; // 2055 twips

signals:
    // A property was written (the host may save its property bag).
    void propertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct ColumnState {
        short peak = 0;  // last value written (clamped above)
        short level = 0; // LED the last write reaches
        short top = 0;   // highest lit LED, -1 = none
    };
    void writePeak(Column column, short value);
    void fall(Column column);
    ColumnState& state(Column column) { return column == Column::Left ? left_ : right_; }
    QTimer& timer(Column column) { return column == Column::Left ? tmrLpeakHold_ : tmrRpeakHold_; }
    void updateLeds(Column column, int from, int to);

    ui::PreciseTimer tmrLpeakHold_;
    ui::PreciseTimer tmrRpeakHold_;
    ColumnState left_;
    ColumnState right_;
    bool enabled_ = false;
    short backStyle_ = 1;
};
