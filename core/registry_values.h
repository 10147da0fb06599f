#pragma once
// The routines through which the program reads, writes, lists and removes
// its own registry values.
#include "platform/registry/registry.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace core {

// Size of the read buffer, in bytes.
inline constexpr reg::DWORD kRegValueBuffer = 2048;

// Reads `valueName` under `keyPath` of `hive` as text: a string without its
// terminating NUL; binary data as two upper-case hex digits a byte; a 32-bit
// number as decimal text of at least three digits ("007"). A value that
// cannot be read (no key, no value, longer than the buffer, a store that
// cannot be opened) gives the not-found marker.
QString get_RegValue(reg::HKEY hive, const QString& keyPath, const QString& valueName);

// Writes `value` under `keyPath` of `hive`, creating the key: type 4 as a
// 32-bit number, any other type as a NUL-terminated registry string of the
// value's text. Returns the status of the first step that failed
// (ERROR_SUCCESS when none did); callers may ignore it.
reg::LONG save_RegValue(reg::HKEY hive, const QString& keyPath, const QString& valueName,
                        reg::DWORD type, const QVariant& value);

// The names of the values under `keyPath` of `hive`, in the order they were
// made; none when the key cannot be opened.
QStringList list_RegValues(reg::HKEY hive, const QString& keyPath);

// Removes `valueName` under `keyPath` of `hive`, if it is there.
void delete_RegValue(reg::HKEY hive, const QString& keyPath, const QString& valueName);

} // namespace core
