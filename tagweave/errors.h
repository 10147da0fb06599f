#pragma once
// The library's raised errors: number 0x80040000 + message number, the
// operation that raised it, and the message text with its placeholders
// ("%ID%", "%FILE%", "%FRAMEID%") replaced by the offending values.
#include "tagweave/tagweave_export.h"

#include <QString>
#include <QStringList>

namespace tagweave {

// Message numbers of the library's string table.
enum eMessage : int {
    msgInvalidFieldID = 101,
    msgInvalidFrameID = 102,
    msgInvalidFrameObject = 103,
    msgInvalidCommentFrame = 104,
    msgInvalidTextFrame = 105,
    msgInvalidWebFrame = 106,
    msgInvalidFlags = 107,
    msgUnknownFrameID = 108,
    msgFileNotFound = 109,
    msgHeaderSize = 110,
    msgReadOnly = 111,
    msgInvalidFileSize = 112,
    msgArraySize = 113,
};

// The raw text of a message, placeholders still in; empty for an unknown number.
TAGWEAVE_EXPORT QString MessageText(int message);

// The error number a message is raised with.
TAGWEAVE_EXPORT std::int32_t ErrorNumber(int message);

// Raises message `message` from `source`, replacing each placeholder of
// `replace` by the string at the same place in `with`. Arrays of different
// lengths raise 0x80040000 + 1000 from "RaiseError" instead.
[[noreturn]] TAGWEAVE_EXPORT void RaiseError(int message, const QString& source,
                                             const QStringList& replace = {},
                                             const QStringList& with = {});

// Errors of file access, numbered as the component runtime numbers them
// (70 permission denied, 57 device I/O error, 61 disk full, 75 path/file access error),
// chosen from the C library's errno.
[[noreturn]] void RaiseFileError(int errnoValue, const QString& source);

} // namespace tagweave
