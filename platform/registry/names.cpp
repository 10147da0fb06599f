#include "platform/registry/names.h"

namespace reg::detail {

QString folded(const QString& name) {
    return name.toCaseFolded();
}

LONG splitKeyPath(const QString& path, QStringList* parts) {
    parts->clear();
    QStringView rest(path);
    if (rest.startsWith(QLatin1Char('\\')))
        rest = rest.mid(1);
    if (rest.isEmpty())
        return ERROR_SUCCESS;
    for (const QStringView part : rest.split(QLatin1Char('\\'))) {
        if (part.isEmpty() || part.size() > kMaxKeyNameLength || part.contains(QChar(0)))
            return ERROR_INVALID_PARAMETER;
        parts->append(part.toString());
    }
    return ERROR_SUCCESS;
}

LONG checkValueName(const QString& name) {
    if (name.size() > kMaxValueNameLength || name.contains(QChar(0)))
        return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

} // namespace reg::detail
