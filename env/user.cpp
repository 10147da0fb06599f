#include "env/user.h"

#include "env/registry_variables.h"

namespace qzvenv {

User::User()
    : variables_(std::make_unique<RegistryVariables>(Registry::kCurrentUser,
                                                     QStringLiteral("Environment"))) {}

User::~User() = default;

QString User::Environment(const QString& name) {
    return variables_->Environment(name);
}

void User::setEnvironment(const QString& name, const QString& value) {
    variables_->setEnvironment(name, value);
}

cValuePairs& User::List() {
    return variables_->List();
}

} // namespace qzvenv
