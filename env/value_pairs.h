#pragma once
// cValuePair and cValuePairs: a list of environment variables as name and
// value pairs, in the order they were found, each reachable by its position
// (from 1) or by its name. One thread at a time.
#include "env/qzvenv_export.h"

#include <QString>
#include <vector>

namespace qzvenv {

class System;
class User;
class Process;
class RegistryVariables;

// One environment variable.
class QZVENV_EXPORT cValuePair {
public:
    cValuePair() = default;
    cValuePair(QString variable, QString value)
        : variable_(std::move(variable)), value_(std::move(value)) {}

    const QString& Variable() const { return variable_; }
    void setVariable(const QString& name) { variable_ = name; }
    const QString& Value() const { return value_; }
    void setValue(const QString& value) { value_ = value; }

private:
    QString variable_;
    QString value_;
};

// An ordered collection of cValuePair objects keyed by variable name. Items
// are added only by the library. Item raises com::ComError 9 ("Subscript out
// of range") for a position outside 1..Count and 5 ("Invalid procedure call
// or argument") for a name that is not in the collection.
class QZVENV_EXPORT cValuePairs {
public:
    using iterator = std::vector<cValuePair>::iterator;
    using const_iterator = std::vector<cValuePair>::const_iterator;

    // Returns a specific member of a Collection object either by position or key.
    cValuePair& Item(int position);
    const cValuePair& Item(int position) const;
    cValuePair& Item(const QString& key);
    const cValuePair& Item(const QString& key) const;
    // Returns the number of members in a collection.
    int Count() const { return static_cast<int>(items_.size()); }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

private:
    friend class RegistryVariables;
    friend class Process;

    // Keys compare without regard to case when `caseSensitive` is false.
    explicit cValuePairs(bool caseSensitive) : caseSensitive_(caseSensitive) {}
    // Appends the pair under its variable name; refused (false) when an item
    // with that key is already there.
    bool add(cValuePair pair);
    int indexOf(const QString& key) const;

    std::vector<cValuePair> items_;
    std::vector<QString> keys_; // the name each item was added under
    bool caseSensitive_ = false;
};

} // namespace qzvenv
