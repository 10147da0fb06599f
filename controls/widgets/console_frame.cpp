#include "controls/widgets/console_frame.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"
#include "controls/widgets/window_drag.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace app {

ConsoleFrame buildConsoleFrame(QWidget* window, const QString& title, const QString& closeTip) {
    ConsoleFrame f;
    f.imgIcon = new QLabel(window);
    f.imgIcon->setObjectName("imgIcon");
    f.imgIcon->setGeometry(8, 5, 16, 16);
    f.imgIcon->setStyleSheet("background: rgb(0, 200, 0); border: 3px solid rgb(20, 20, 20);"
                             " border-radius: 8px;");
    f.titlebar = new QLabel(title, window);
    f.titlebar->setObjectName("titlebar");
    f.titlebar->setGeometry(30, 3, window->width() - 70, 20);
    f.titlebar->setFont(consoleFont(9));
    f.titlebar->setStyleSheet("color: rgb(0, 220, 0); background: transparent;");
    f.cmdcloseButton = new ConsoleButton("X", closeTip, window);
    f.cmdcloseButton->setObjectName("cmdcloseButton");
    f.cmdcloseButton->setGeometry(window->width() - 30, 4, 22, 18);
    f.cmdcloseButton->setFont(consoleFont(8));
    new WindowDragHandle(f.titlebar, false);
    new WindowDragHandle(f.imgIcon, true);
    return f;
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        window->move(s.left() + (s.width() - window->width()) / 2,
                     s.top() + (s.height() - window->height()) / 2);
    }
}

void paintConsoleFrame(QWidget* window, QPainter& p) {
    QLinearGradient back(0, 0, 0, window->height());
    back.setColorAt(0, QColor(30, 32, 35));
    back.setColorAt(1, QColor(16, 17, 19));
    p.fillRect(window->rect(), back);
    p.setPen(QColor(0, 110, 0));
    p.drawRect(window->rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(60, 64, 70));
    p.drawLine(6, 24, window->width() - 7, 24);
}

} // namespace app
