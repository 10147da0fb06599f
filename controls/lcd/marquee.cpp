#include "controls/lcd/marquee.h"

namespace qzvlcd {

const QString& Marquee::blanks() {
    static const QString ten(10, QLatin1Char(' '));
    return ten;
}

void Marquee::setTitle(const QString& title) {
    text_ = blanks() + title;
    reset();
}

void Marquee::reset() {
    position_ = 0;
    head_.clear();
    view_.clear();
    // The marquee length is 16-bit; a longer text scrolls its first 32767
    // characters and wraps there.
    length_ = static_cast<short>(std::min<qsizetype>(text_.size(), 32767));
}

void Marquee::step() {
    if (position_ >= length_) {
        position_ = 0;
        // The head is a whole number of copies of the text here; keep the band
        // bounded by dropping the oldest copy once it is long enough.
        if (head_.size() > kHeadLimit && head_.size() >= 2 * text_.size())
            head_.remove(0, text_.size());
    }
    ++position_;
    const qsizetype i = position_; // 1-based
    if (i <= text_.size())
        head_.append(text_.at(i - 1));
    view_ = text_.mid(i) + head_;
}

} // namespace qzvlcd
