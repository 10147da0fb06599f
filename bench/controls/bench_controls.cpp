// What one 80 ms tick of the main window costs in painting: the host writes
// the display's remaining time and progress and the meters' levels, the
// display's title moves and the meters fall (four 20 ms fall ticks per
// column), then the window paints what changed. Measured offscreen against
// painting an empty widget of the same size in the same run.
#include "controls/lcd/qzvLCD.h"
#include "controls/peak/qzvPeak.h"

#include <QApplication>
#include <QEvent>
#include <QString>
#include <QWidget>
#include <array>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kFallTicksPerTick = 4; // 80 ms / 20 ms

QString timeText(int seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

// Counts the paint events of a widget and its children, to show that the
// measured loop really paints.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* root) {
        root->installEventFilter(this);
        for (QWidget* child : root->findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    long long paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// A dark panel with `displays` displays and three meters, laid out as on
// the main window.
struct Console {
    explicit Console(int displays) {
        window = std::make_unique<QWidget>();
        QPalette palette = window->palette();
        palette.setColor(QPalette::Window, QColor(28, 30, 33));
        window->setPalette(palette);
        window->setAutoFillBackground(true);
        int x = 0;
        for (int d = 0; d < displays; ++d) {
            auto* lcd = new qzvLCD(window.get());
            lcd->move(x, 0);
            lcd->setSong(QStringLiteral("Midnight Groove - The Night Shift (Extended Mix)"));
            lcd->setPitch(QStringLiteral("+2.35%"));
            lcd->setPlay(true);
            lcds.push_back(lcd);
            x += qzvLCD::kWidthPx + 8;
        }
        for (auto& meter : meters) {
            meter = new qzvPeak(window.get());
            meter->move(x, 0);
            meter->setBackStyle(0); // transparent: the costlier case
            x += qzvPeak::kWidthPx + 8;
        }
        window->resize(x, qzvPeak::kHeightPx);
        window->show();
        QApplication::processEvents();
    }

    void tick(int n) {
        for (qzvLCD* lcd : lcds) {
            lcd->setRemain(timeText(3600 - n / 12));
            lcd->setProgress(static_cast<short>(1 + n / 4 % 100));
            // The title moves every third tick; move it on every tick here.
            lcd->tmrBlinkFast_Timer();
        }
        // A level pattern that rises and falls the whole column.
        const short level = static_cast<short>((n * 37) % 160);
        for (qzvPeak* meter : meters) {
            if (n % 2 == 0) {
                meter->setLPeak(level);
                meter->setRPeak(static_cast<short>(level / 2));
            }
            for (int t = 0; t < kFallTicksPerTick; ++t) {
                meter->tmrLpeakHold_Timer();
                meter->tmrRpeakHold_Timer();
            }
        }
        QApplication::processEvents();
    }

    std::unique_ptr<QWidget> window;
    std::vector<qzvLCD*> lcds;
    std::array<qzvPeak*, 3> meters{};
};

void BM_DisplayAndThreeMetersTick(benchmark::State& state) {
    Console console(1);
    PaintCounter counter(console.window.get());
    int n = 0;
    for (auto _ : state)
        console.tick(n++);
    state.counters["paints_per_tick"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}

void BM_TwoDisplaysAndThreeMetersTick(benchmark::State& state) {
    Console console(2);
    int n = 0;
    for (auto _ : state)
        console.tick(n++);
}

// Baseline: an empty widget of the console's size painted once per tick.
void BM_EmptyWidgetTick(benchmark::State& state) {
    Console sized(1);
    const QSize size = sized.window->size();
    sized.window->hide();
    QWidget empty;
    QPalette palette = empty.palette();
    palette.setColor(QPalette::Window, QColor(28, 30, 33));
    empty.setPalette(palette);
    empty.setAutoFillBackground(true);
    empty.resize(size);
    empty.show();
    QApplication::processEvents();
    PaintCounter counter(&empty);
    for (auto _ : state) {
        empty.update();
        QApplication::processEvents();
    }
    state.counters["paints_per_tick"] =
        static_cast<double>(counter.paints) / static_cast<double>(state.iterations());
}

BENCHMARK(BM_EmptyWidgetTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DisplayAndThreeMetersTick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoDisplaysAndThreeMetersTick)->Unit(benchmark::kMicrosecond);

} // namespace
