#include "platform/registry/registry.h"

namespace reg {

QString RegStatusText(LONG status) {
    switch (status) {
    case ERROR_SUCCESS:
        return QStringLiteral("The operation completed successfully.");
    case ERROR_FILE_NOT_FOUND:
        return QStringLiteral("The key or value was not found.");
    case ERROR_ACCESS_DENIED:
        return QStringLiteral("Access is denied: the file or its folder may not be written.");
    case ERROR_INVALID_PARAMETER:
        return QStringLiteral("A name or a value is too long.");
    case ERROR_BADDB:
    case ERROR_REGISTRY_CORRUPT:
        return QStringLiteral(
            "The file is damaged or is not a registry database; it was left as it is.");
    case ERROR_REGISTRY_IO_FAILED:
        return QStringLiteral("The file could not be read or written.");
    default:
        return QStringLiteral("Registry error %1.").arg(status);
    }
}

} // namespace reg
