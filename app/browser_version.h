#pragma once
// The help file rule: the help needs a browser runtime of version 4.71 or
// newer; the installed version is read as text from the registry.
#include <QString>
#include <cstdint>

namespace app {

struct BrowserVersion {
    std::int32_t major = 0;
    std::int32_t minor = 0;
};

// Splits "5.50.4807.2300" into 5 and 50: the major number is the text before
// the first ".", the minor the text up to the next "." (or to the end when
// there is none). Text of length 1 or less, or the not-found marker, gives
// 0 and 0.
BrowserVersion parseBrowserVersion(const QString& text);

// The version the help rule goes by: the recorded one; where none is
// recorded (the registry has no browser entry on a Linux desktop), the
// lowest version that can show the help, 4.71: the help pages are then
// opened by the desktop, and F1 says where they are when nothing opens them.
BrowserVersion helpBrowserVersion(const BrowserVersion& recorded);

// The application's help file: empty when major < 4 and minor < 71,
// otherwise the installed help pages' index as seen from `programFolder`
// (bin/ beside share/vorlan/help/index.html).
QString helpFileFor(const BrowserVersion& version, const QString& programFolder);

} // namespace app
