#pragma once
// A panel of the console: a dark metal plate with a thin rim, and a caption
// engraved at its bottom edge.
#include <QFrame>

class ConsolePanel : public QFrame {
public:
    ConsolePanel(const QString& name, const QString& caption, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};

// A small engraved caption on a panel.
class QLabel;
QLabel* makeCaption(const QString& text, QWidget* parent, const QRect& geometry,
                    Qt::Alignment alignment = Qt::AlignCenter);
