#include "tagweave/errors.h"

#include "platform/com/com_error.h"

#include <cerrno>

namespace tagweave {

QString MessageText(int message) {
    switch (message) {
    case msgInvalidFieldID:
        return QStringLiteral("The field ID, %ID%, supplied is invalid.");
    case msgInvalidFrameID:
        return QStringLiteral("The frame ID, %ID%, supplied is invalid.");
    case msgInvalidFrameObject:
        return QStringLiteral("The frame object supplied is invalid.");
    case msgInvalidCommentFrame:
        return QStringLiteral("The data supplied does not make a valid comment frame.");
    case msgInvalidTextFrame:
        return QStringLiteral("The data supplied does not make a valid text frame");
    case msgInvalidWebFrame:
        return QStringLiteral("The data supplied does not make a valid web frame.");
    case msgInvalidFlags:
        return QStringLiteral(
            "The flag data supplied is either invalid or out of an acceptable range.");
    case msgUnknownFrameID:
        return QStringLiteral("An unknown frame ID (%FRAMEID%)  was supplied.");
    case msgFileNotFound:
        return QStringLiteral("The file, %FILE%, was not found.");
    case msgHeaderSize:
        return QStringLiteral("The frame header data is of an incorrect size.");
    case msgReadOnly:
        return QStringLiteral("The file %FILE%, is read only");
    case msgInvalidFileSize:
        return QStringLiteral("The file %FILE% has an invalid file size.");
    case msgArraySize:
        return QStringLiteral("The source array and destination array are not the same size");
    default:
        return {};
    }
}

std::int32_t ErrorNumber(int message) {
    return com::vbObjectError + message;
}

void RaiseError(int message, const QString& source, const QStringList& replace,
                const QStringList& with) {
    if (replace.size() != with.size())
        throw com::ComError(com::vbObjectError + 1000, QStringLiteral("RaiseError"),
                            QStringLiteral("The replace array size does not match the with array"));
    QString description = MessageText(message);
    for (qsizetype i = 0; i < replace.size(); ++i)
        description.replace(replace[i], with[i]);
    throw com::ComError(ErrorNumber(message), source, description);
}

void RaiseFileError(int errnoValue, const QString& source) {
    switch (errnoValue) {
    case EACCES:
    case EPERM:
    case EROFS:
        throw com::ComError(70, source, QStringLiteral("Permission denied"));
    case ENOSPC:
    case EDQUOT:
        throw com::ComError(61, source, QStringLiteral("Disk full"));
    case EIO:
        throw com::ComError(57, source, QStringLiteral("Device I/O error"));
    default:
        throw com::ComError(75, source, QStringLiteral("Path/File access error"));
    }
}

} // namespace tagweave
