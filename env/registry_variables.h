#pragma once
// Environment variables kept as the values of one registry key: what System
// and User have in common. Internal to the library.
#include "env/registry.h"
#include "env/value_pairs.h"

#include <memory>

namespace qzvenv {

class RegistryVariables {
public:
    RegistryVariables(std::int32_t hive, const QString& keyPath);

    // The variable's value, references expanded; "" when it does not exist.
    QString Environment(const QString& name);
    // Stores the variable (as an expandable string when it refers to another
    // variable) and announces the change with the setting "Environment".
    void setEnvironment(const QString& name, const QString& value);
    // Every variable of the key, read on the first call; later calls return
    // the same collection without reading the registry again.
    cValuePairs& List();

private:
    Registry registry_;
    std::unique_ptr<cValuePairs> list_;
};

} // namespace qzvenv
