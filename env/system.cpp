#include "env/system.h"

#include "env/registry.h"

namespace qzvenv {

System::System()
    : RegistryVariables(
          Registry::kLocalMachine,
          QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment")) {}

System::~System() = default;

} // namespace qzvenv
