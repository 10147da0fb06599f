#pragma once
// System: the machine-wide environment variables, kept in the registry under
// local machine "SYSTEM\CurrentControlSet\Control\Session Manager\Environment".
// Environment, setEnvironment and List: see RegistryVariables.
#include "env/qzvenv_export.h"
#include "env/registry_variables.h"

namespace qzvenv {

class QZVENV_EXPORT System : public RegistryVariables {
public:
    System();
    ~System();
    System(const System&) = delete;
    System& operator=(const System&) = delete;
};

} // namespace qzvenv
