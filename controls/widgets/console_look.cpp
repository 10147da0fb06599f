#include "controls/widgets/console_look.h"

#include <QApplication>
#include <QStyleFactory>

namespace app {

QPalette consolePalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(28, 30, 33));
    p.setColor(QPalette::WindowText, QColor(220, 224, 228));
    p.setColor(QPalette::Base, QColor(12, 13, 14));
    p.setColor(QPalette::AlternateBase, QColor(36, 38, 42));
    p.setColor(QPalette::Text, QColor(230, 232, 235));
    p.setColor(QPalette::Button, QColor(50, 54, 58));
    p.setColor(QPalette::ButtonText, QColor(230, 232, 235));
    p.setColor(QPalette::Highlight, QColor(0, 160, 0));
    p.setColor(QPalette::HighlightedText, QColor(0, 0, 0));
    p.setColor(QPalette::ToolTipBase, QColor(255, 255, 200));
    p.setColor(QPalette::ToolTipText, QColor(0, 0, 0));
    p.setColor(QPalette::Light, QColor(80, 84, 90));
    p.setColor(QPalette::Mid, QColor(44, 46, 50));
    p.setColor(QPalette::Dark, QColor(16, 17, 18));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(110, 112, 115));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(110, 112, 115));
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(110, 112, 115));
    return p;
}

void applyConsoleLook(QApplication& application) {
    if (QStyle* fusion = QStyleFactory::create("Fusion"))
        application.setStyle(fusion);
    application.setPalette(consolePalette());
    application.setFont(consoleFont(8.0, false));
}

QFont consoleFont(double points, bool bold) {
    QFont f("DejaVu Sans");
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace app
