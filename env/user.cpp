#include "env/user.h"

#include "env/registry.h"

namespace qzvenv {

User::User() : RegistryVariables(Registry::kCurrentUser, QStringLiteral("Environment")) {}

User::~User() = default;

} // namespace qzvenv
