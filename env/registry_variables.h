#pragma once
// RegistryVariables: environment variables kept as the values of one registry
// key, what System and User have in common (each names its own hive and key).
// Reading and writing raise com::ComError as the registry class does
// (source "qzvenv.cRegistry"). One thread per object.
#include "env/qzvenv_export.h"
#include "env/value_pairs.h"

#include <QString>
#include <cstdint>
#include <memory>

namespace qzvenv {

class Registry;

class QZVENV_EXPORT RegistryVariables {
public:
    ~RegistryVariables();
    RegistryVariables(const RegistryVariables&) = delete;
    RegistryVariables& operator=(const RegistryVariables&) = delete;

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

protected:
    // The variables under `keyPath` of `hive` (a Registry hive constant).
    RegistryVariables(std::int32_t hive, const QString& keyPath);

private:
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<cValuePairs> list_;
};

} // namespace qzvenv
