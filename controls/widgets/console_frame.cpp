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

ConsoleFrame buildConsoleFrame(QWidget* window, const QString& title, const QString& closeTip,
                               const QPixmap& icon) {
    ConsoleFrame f;
    f.imgIcon = new QLabel(window);
    f.imgIcon->setObjectName("imgIcon");
    if (icon.isNull())
        f.imgIcon->setStyleSheet("background: rgb(0, 200, 0); border: 3px solid rgb(20, 20, 20);"
                                 " border-radius: 8px;");
    else
        f.imgIcon->setPixmap(icon);
    f.imgIcon->setGeometry(8, 5, 16, 16);
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

QPixmap programIcon() {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(QColor(20, 20, 20));
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setPen(QColor(70, 70, 70));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3, 3, 10, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 220, 0));
    p.drawEllipse(QRectF(5.5, 5.5, 5, 5));
    return picture;
}

void centreOnScreen(QWidget* window, double verticalShare) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        window->move(s.left() + (s.width() - window->width()) / 2,
                     s.top() + static_cast<int>((s.height() - window->height()) * verticalShare));
    }
}

void paintConsoleFrame(QWidget* window, QPainter& p, const FrameLook& look) {
    QLinearGradient back(0, 0, 0, window->height());
    back.setColorAt(0, look.top);
    back.setColorAt(1, look.bottom);
    p.fillRect(window->rect(), back);
    p.setPen(look.rim);
    p.drawRect(window->rect().adjusted(0, 0, -1, -1));
    if (look.titleLine.isValid()) {
        p.setPen(look.titleLine);
        p.drawLine(6, 24, window->width() - 7, 24);
    }
}

} // namespace app
