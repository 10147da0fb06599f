#include "controls/widgets/console_dialog.h"

#include "controls/widgets/console_button.h"
#include "controls/widgets/console_look.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

namespace app {

DialogFrame buildDialogFrame(QWidget* window, const QString& title, int titleLeft,
                             const QString& closeTip) {
    DialogFrame frame;
    frame.titlebar = new QLabel(title, window);
    frame.titlebar->setObjectName("titlebar");
    frame.titlebar->setGeometry(titleLeft, 3, window->width() - titleLeft - 40, 20);
    frame.titlebar->setFont(consoleFont(9));
    frame.titlebar->setStyleSheet("color: rgb(0, 220, 0); background: transparent;");
    frame.imgIcon = new QLabel(window);
    frame.imgIcon->setObjectName("imgIcon");
    frame.imgIcon->setGeometry(8, 5, 16, 16);
    frame.imgIcon->setStyleSheet("background: rgb(0, 200, 0); border: 3px solid rgb(20, 20, 20);"
                                 " border-radius: 8px;");
    frame.cmdcloseButton = new ConsoleButton("X", closeTip, window);
    frame.cmdcloseButton->setObjectName("cmdcloseButton");
    frame.cmdcloseButton->setGeometry(window->width() - 30, 4, 22, 18);
    frame.cmdcloseButton->setFont(consoleFont(8));
    return frame;
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        window->move(s.left() + (s.width() - window->width()) / 2,
                     s.top() + (s.height() - window->height()) / 2);
    }
}

void paintDialogPlate(QWidget* window, std::initializer_list<int> rules) {
    QPainter p(window);
    QLinearGradient back(0, 0, 0, window->height());
    back.setColorAt(0, QColor(44, 47, 51));
    back.setColorAt(1, QColor(24, 26, 28));
    p.fillRect(window->rect(), back);
    p.setPen(QColor(0, 110, 0));
    p.drawRect(window->rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(70, 74, 80));
    for (int y : rules)
        p.drawLine(6, y, window->width() - 7, y);
}

} // namespace app
