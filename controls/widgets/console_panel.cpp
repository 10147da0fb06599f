#include "controls/widgets/console_panel.h"

#include "controls/widgets/console_look.h"

#include <QLabel>
#include <QPainter>

ConsolePanel::ConsolePanel(const QString& name, const QString& caption, QWidget* parent)
    : QFrame(parent), caption_(caption) {
    setObjectName(name);
}

void ConsolePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient plate(r.topLeft(), r.bottomLeft());
    plate.setColorAt(0, QColor(54, 58, 63));
    plate.setColorAt(1, QColor(34, 36, 40));
    p.setPen(QColor(84, 90, 98));
    p.setBrush(plate);
    p.drawRoundedRect(r, 5, 5);
    if (!caption_.isEmpty()) {
        p.setFont(app::consoleFont(7));
        p.setPen(QColor(140, 146, 154));
        p.drawText(QRect(0, height() - 15, width() - 8, 13), Qt::AlignRight | Qt::AlignVCenter,
                   caption_);
    }
}

QLabel* makeCaption(const QString& text, QWidget* parent, const QRect& geometry,
                    Qt::Alignment alignment) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(alignment);
    label->setFont(app::consoleFont(7));
    label->setStyleSheet("color: rgb(170, 176, 184); background: transparent;");
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}
