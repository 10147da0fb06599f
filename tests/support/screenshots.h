#pragma once
// Saves a picture of a widget under the build tree's screenshots folder
// ($VORLAN_SCREENSHOTS) for review.
#include <QString>

class QWidget;

namespace testing_support {

// Returns the path written, or an empty text when saving failed.
QString saveScreenshot(QWidget* widget, const QString& name);

} // namespace testing_support
