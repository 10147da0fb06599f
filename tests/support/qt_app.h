#pragma once
// One QApplication for a test executable, created on first use.
class QApplication;

namespace testing_support {
QApplication& qtApp();
}
