#include "env/registry_variables.h"

#include "env/registry.h"
#include "platform/system/environment.h"

namespace qzvenv {

RegistryVariables::RegistryVariables(std::int32_t hive, const QString& keyPath)
    : registry_(std::make_unique<Registry>()) {
    registry_->setClassKey(hive);
    registry_->setSectionKey(keyPath);
}

RegistryVariables::~RegistryVariables() = default;

QString RegistryVariables::Environment(const QString& name) {
    registry_->setValueKey(name);
    return toText(registry_->Value());
}

void RegistryVariables::setEnvironment(const QString& name, const QString& value) {
    registry_->setValueKey(name);
    registry_->setValueType(Registry::kString);
    registry_->setValue(value);
    sys::SettingChange::broadcast(QStringLiteral("Environment"));
}

cValuePairs& RegistryVariables::List() {
    if (!list_) {
        auto list = std::unique_ptr<cValuePairs>(new cValuePairs(false));
        Registry::Names names;
        int count = 0;
        registry_->EnumerateValues(names, count);
        for (int i = 1; i <= count; ++i) {
            const QString name = names[static_cast<std::size_t>(i)];
            list->add(cValuePair(name, Environment(name)));
        }
        list_ = std::move(list);
    }
    return *list_;
}

} // namespace qzvenv
