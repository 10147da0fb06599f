#pragma once
// Key paths and value names: splitting, checking and the case-folded form
// under which they are looked up.
#include "platform/registry/registry.h"

#include <QString>
#include <QStringList>

namespace reg::detail {

// The form names are compared in: simple Unicode case folding, so "Ä" and
// "ä", "Σ", "σ" and "ς" compare equal.
QString folded(const QString& name);

// Splits a "\"-separated key path into its keys. One leading "\" is
// tolerated; an empty path names the key itself (no parts). An empty key
// name inside the path, one longer than kMaxKeyNameLength characters or one
// holding a NUL answers ERROR_INVALID_PARAMETER.
LONG splitKeyPath(const QString& path, QStringList* parts);

// ERROR_INVALID_PARAMETER for a value name longer than kMaxValueNameLength
// characters or holding a NUL; the empty name (the default value) is fine.
LONG checkValueName(const QString& name);

} // namespace reg::detail
