#include "tests/support/screenshots.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace testing_support {

QString saveScreenshot(QWidget* widget, const QString& name) {
    QString dir = qEnvironmentVariable("VORLAN_SCREENSHOTS");
    if (dir.isEmpty())
        dir = QDir::currentPath() + "/screenshots";
    QDir().mkpath(dir);
    const QString path = dir + "/" + name + ".png";
    return widget->grab().save(path) ? path : QString();
}

} // namespace testing_support
