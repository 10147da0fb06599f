#pragma once
// User: the current user's environment variables, kept in the registry under
// current user "Environment".
// Environment, setEnvironment and List: see RegistryVariables.
#include "env/qzvenv_export.h"
#include "env/registry_variables.h"

namespace qzvenv {

class QZVENV_EXPORT User : public RegistryVariables {
public:
    User();
    ~User();
    User(const User&) = delete;
    User& operator=(const User&) = delete;
};

} // namespace qzvenv
