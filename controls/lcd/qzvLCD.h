#pragma once
// qzvLCD: the per-deck display that imitates the backlit LCD panel of a CD
// player. The host writes the remaining time, pitch text, song title,
// progress and transport state; the control draws them, blinks some
// indicators by itself (240 ms and 500 ms timers) and scrolls the title.
// It reports the user dragging its position bar (Scroll) and anything
// dropped onto it (OLEDragDrop).
//
// Conventions of this interface:
// - Booleans are passed as C++ bool. A host that keeps 16-bit booleans
//   (true = -1, false = 0) may pass them directly: any non-zero value is true.
// - Integer properties (CueDir, LoopDir, Progress) are 16-bit signed (short).
// - Positions given to OLEDragDrop are in twips (15 twips = 1 logical pixel)
//   relative to the control's top left corner.
// - The control has a fixed size of 181 x 85 logical pixels (2715 x 1275
//   twips); resizing it is refused.
// Everything runs on the user-interface thread.
#include "controls/lcd/lcd_elements.h"
#include "controls/lcd/marquee.h"
#include "controls/lcd/qzvlcd_export.h"
#include "platform/ui/precise_timer.h"

#include <QColor>
#include <QString>
#include <QVariant>
#include <QWidget>

class QMimeData;

namespace com {
class PropertyBag;
}

namespace qzvlcd {
class DisplayArea;
class PositionBar;
} // namespace qzvlcd

class QZVLCD_EXPORT qzvLCD : public QWidget {
    Q_OBJECT

public:
    // The drawn elements, for hosts and tests that ask what is lit.
    using Element = qzvlcd::Element;

    explicit qzvLCD(QWidget* parent = nullptr);
    ~qzvLCD() override;

    // ---- Methods, in interface order ----
    void hide_CueDir();
    void show_CueDir();
    void show_Rec();
    void hide_Rec();
    void hide_Pause();
    void show_Pause();
    void hide_Loop();
    void show_Loop();
    // Moves the title one character to the left (the band wraps endlessly).
    void run_marquee_scroll();
    // Starts the title again from a single copy of the marquee text.
    void reset_marquee();
    void hide_loopPoint();
    void show_loopPoint();

    // ---- Properties, in interface order ----
    bool Cueing() const { return cueing_; }
    void setCueing(bool New_Cueing);
    // 0 or 1 selects one cue arrow (1 = back, 0 = forward), 2 = none.
    short CueDir() const { return cueDir_; }
    void setCueDir(short New_CueDir);
    // Any value the host has; converted to a boolean (0, "0", "false" and
    // empty are false).
    bool Loading() const { return loading_; }
    void setLoading(const QVariant& New_Loading);
    // Loop direction: 1 = back, 0 = forward, 2 = none.
    short LoopDir() const { return loopDir_; }
    void setLoopDir(short New_LoopDir);
    QString Pitch() const { return pitch_; }
    void setPitch(const QString& New_Pitch);
    // Loop point time text; an empty text hides the loop point block.
    // Tempo text ("128.0", "..." while it is measured); empty shows no tempo.
    QString Bpm() const { return bpm_; }
    void setBpm(const QString& New_Bpm);
    QString LoopPoint() const { return loopPoint_; }
    void setLoopPoint(const QString& New_LoopPoint);
    bool Looping() const { return looping_; }
    void setLooping(bool New_Looping);
    QString Remain() const { return remain_; }
    void setRemain(const QString& New_Remain);
    bool Play() const { return play_; }
    void setPlay(bool New_Play);
    bool StopPlaying() const { return stopPlaying_; }
    void setStopPlaying(bool New_Stop);
    bool Pause() const { return pause_; }
    void setPause(bool New_Pause);
    bool Rec() const { return rec_; }
    void setRec(bool New_Rec);
    QString Song() const { return song_; }
    void setSong(const QString& New_Song);
    // Percent; every write is clamped to 1..100 (0 reads back as 1).
    short Progress() const { return progress_; }
    void setProgress(short New_Progress);
    // Colour of the control's own surface around the display (default black).
    QColor BackColor() const { return backColor_; }
    void setBackColor(const QColor& New_BackColor);

    // ---- Persistence in the host's property bag ----
    void InitProperties();
    void ReadProperties(const com::PropertyBag& bag);
    void WriteProperties(com::PropertyBag& bag) const;

    // ---- Timer handlers (the timers call these; tests call them by hand) ----
    void tmrBlinkFast_Timer(); // every 240 ms: marquee step and fast blinks
    void tmrBlinkSlow_Timer(); // every 500 ms while looping: loop circles
    const QTimer& tmrBlinkFast() const { return tmrBlinkFast_; }
    const QTimer& tmrBlinkSlow() const { return tmrBlinkSlow_; }

    // ---- Read-only views of what is shown ----
    bool isShown(Element element) const;
    // The scrolling title: its text, head, and the view shown in the field.
    const qzvlcd::Marquee& marquee() const { return marquee_; }
    // Width of the progress bar in twips.
    int progressWidth() const { return progressWidthTwips_; }
    // The position bar (0..100); a test may drive it with mouse events.
    QWidget* positionBar() const;
    int positionValue() const;

    // Size in logical pixels: display area plus 60 twips each way.
    static constexpr int kWidthPx = (2655 + 60) / 15;
    static constexpr int kHeightPx = (1215 + 60) / 15;

signals:
    // The user dragged the thumb of the position bar one step.
    void Scroll();
    // Something was dropped on the control. Effect holds the allowed drop
    // effects (1 copy, 2 move, 4 link) on entry; the handler may change it to
    // the effect it performed (0 = refused). Button: 1 left, 2 right, 4 middle;
    // Shift: 1 shift, 2 control, 4 alt. X, Y in twips.
    void OLEDragDrop(const QMimeData* Data, int* Effect, short Button, short Shift, float X,
                     float Y);
    // A property was written (the host may save its property bag).
    void propertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void blinkSlowWhileLooping();
    void SCROLL_position_Scroll();
    void SCROLL_position_Change();
    void setShown(Element element, bool shown);
    void markChanged(const char* name);
    void applyProgress();

    qzvlcd::DisplayArea* display_ = nullptr;
    qzvlcd::PositionBar* SCROLL_position_ = nullptr;
    ui::PreciseTimer tmrBlinkFast_;
    ui::PreciseTimer tmrBlinkSlow_;

    bool cueing_ = false;
    short cueDir_ = 2;
    bool loading_ = false;
    short loopDir_ = 2;
    QString pitch_ = QStringLiteral(" 0.00% ");
    QString loopPoint_ = QStringLiteral("00:00:00");
    QString bpm_;
    bool looping_ = false;
    QString remain_ = QStringLiteral("00:00:00");
    bool play_ = false;
    bool stopPlaying_ = false;
    bool pause_ = false;
    bool rec_ = false;
    QString song_;
    short progress_ = 0;
    QColor backColor_ = Qt::black;

    qzvlcd::Marquee marquee_;
    int progressWidthTwips_ = 0;
    bool dragging_ = false;
};
