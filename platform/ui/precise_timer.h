#pragma once
// A window-message timer that ticks at the interval it states. Qt's default
// (coarse) timers may stretch an interval by up to 5 %, so a 240 ms blink
// would tick every 250 ms and a 60 ms meter fall every 61 ms; every timer of
// the program and its controls is a PreciseTimer instead.
#include <QTimer>

namespace ui {

class PreciseTimer : public QTimer {
public:
    explicit PreciseTimer(QObject* parent = nullptr) : QTimer(parent) {
        setTimerType(Qt::PreciseTimer);
    }
};

} // namespace ui
