#include "decks/time_text.h"

#include "core/number_text.h"

namespace decks {

QString timeText(double seconds) {
    long long s = seconds > 0 ? core::roundHalfEven(seconds) : 0;
    long long minutes = 0;
    long long hours = 0;
    if (s >= 60) {
        minutes = s / 60;
        s %= 60;
        if (minutes >= 60) {
            hours = minutes / 60;
            minutes %= 60;
        }
    }
    return QString("%1:%2:%3")
        .arg(hours, 2, 10, QChar('0'))
        .arg(minutes, 2, 10, QChar('0'))
        .arg(s, 2, 10, QChar('0'));
}

} // namespace decks
