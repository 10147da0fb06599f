#pragma once
// System: the machine-wide environment variables, kept in the registry under
// local machine "SYSTEM\CurrentControlSet\Control\Session Manager\Environment".
// Reading and writing raise com::ComError as the registry class does
// (source "qzvenv.cRegistry"). One thread per object.
#include "env/value_pairs.h"

#include <QString>
#include <memory>

namespace qzvenv {

class System {
public:
    System();
    ~System();
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    // The variable's value, with %NAME% references expanded; "" when the
    // variable does not exist.
    QString Environment(const QString& name);
    // Stores the variable (as an expandable string when the value holds a
    // %NAME% reference, else as a plain string) and broadcasts the setting
    // change "Environment" (sys::SettingChange).
    void setEnvironment(const QString& name, const QString& value);
    // All variables in the registry's order, read on the first call; later
    // calls return the same collection unchanged. It belongs to this object
    // and lives as long as it does.
    cValuePairs& List();

private:
    std::unique_ptr<RegistryVariables> variables_;
};

} // namespace qzvenv
