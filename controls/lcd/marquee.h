#pragma once
// The scrolling title of the display: an endless band of the marquee text
// (ten blanks, then the title) that moves one character to the left per step.
#include "controls/lcd/qzvlcd_export.h"

#include <QString>

namespace qzvlcd {

class QZVLCD_EXPORT Marquee {
public:
    // Ten blanks, the gap between repetitions of the title.
    static const QString& blanks();

    // Sets the text to scroll (ten blanks followed by `title`, or only the
    // blanks for an empty title) and starts again from one copy.
    void setTitle(const QString& title);
    // Position 0, head and view empty, length taken from the current text.
    void reset();
    // Moves one character from the front of the text onto the head and makes
    // the view the rest of the text followed by the head.
    void step();

    const QString& text() const { return text_; }
    const QString& head() const { return head_; }
    const QString& view() const { return view_; }
    // 1-based index of the last character moved to the head, 0 after reset.
    short position() const { return position_; }
    short length() const { return length_; }

    // The head keeps whole copies of the text after each wrap so the band
    // never shows a gap; once it holds more than this many characters, the
    // oldest copy is dropped at the next wrap (the title field shows far
    // fewer characters than this, so nothing visible changes).
    static constexpr int kHeadLimit = 512;

private:
    QString text_ = blanks();
    QString head_;
    QString view_;
    short position_ = 0;
    short length_ = 10;
};

} // namespace qzvlcd
