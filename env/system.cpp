#include "env/system.h"

#include "env/registry_variables.h"

namespace qzvenv {

System::System()
    : variables_(std::make_unique<RegistryVariables>(
          Registry::kLocalMachine,
          QStringLiteral("SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment"))) {}

System::~System() = default;

QString System::Environment(const QString& name) {
    return variables_->Environment(name);
}

void System::setEnvironment(const QString& name, const QString& value) {
    variables_->setEnvironment(name, value);
}

cValuePairs& System::List() {
    return variables_->List();
}

} // namespace qzvenv
