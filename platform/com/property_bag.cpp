#include "platform/com/property_bag.h"

namespace com {

QVariant PropertyBag::readProperty(const QString& name, const QVariant& defaultValue) const {
    auto it = values_.constFind(name);
    return it == values_.constEnd() ? defaultValue : it.value();
}

void PropertyBag::writeProperty(const QString& name, const QVariant& value,
                                const QVariant& /*defaultValue*/) {
    if (!values_.contains(name))
        order_.append(name);
    values_.insert(name, value);
}

void PropertyBag::clear() {
    values_.clear();
    order_.clear();
}

} // namespace com
