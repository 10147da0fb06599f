#include "app/browser_version.h"

#include "core/number_text.h"

#include <QDir>
#include <limits>

namespace app {

namespace {
// The installed help pages, from the folder of the installed program.
constexpr const char* kHelpFromProgramFolder = VORLAN_HELP_FROM_BINDIR;

std::int32_t toLong(double value) {
    if (!(value > std::numeric_limits<std::int32_t>::min() &&
          value < std::numeric_limits<std::int32_t>::max()))
        return 0;
    return static_cast<std::int32_t>(core::roundHalfEven(value));
}
} // namespace

BrowserVersion parseBrowserVersion(const QString& text) {
    BrowserVersion v;
    if (text.trimmed().size() <= 1 || text.toLower() == "not found")
        return v;
    // Positions as 1-based character positions, 0 = not found.
    qsizetype p = text.indexOf('.') + 1;
    if (p > 1)
        v.major = toLong(core::numericPrefix(text.left(p - 1)));
    p = p + 1;
    const qsizetype q = text.indexOf('.', p - 1) + 1;
    // With no further "." the minor number runs to the end of the text.
    const QString minorText = q > 0 ? text.mid(p - 1, q - p) : text.mid(p - 1);
    v.minor = toLong(core::numericPrefix(minorText));
    return v;
}

BrowserVersion helpBrowserVersion(const BrowserVersion& recorded) {
    if (recorded.major == 0 && recorded.minor == 0)
        return {4, 71};
    return recorded;
}

QString helpFileFor(const BrowserVersion& version, const QString& programFolder) {
    if (version.major < 4 && version.minor < 71)
        return {};
    return QDir::cleanPath(programFolder + "/" + kHelpFromProgramFolder);
}

} // namespace app
