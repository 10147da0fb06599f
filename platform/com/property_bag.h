#pragma once
// The store a control persists its properties into and reads them back from.
// Keys keep the order in which they were first written, so a saved bag lists
// the properties in the control's own order.
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace com {

class PropertyBag {
public:
    // The stored value, or `defaultValue` when the key was never written.
    QVariant readProperty(const QString& name, const QVariant& defaultValue = {}) const;
    // Stores `value`; a value equal to `defaultValue` is still stored (so the
    // key order is complete), as the component runtime's bags do.
    void writeProperty(const QString& name, const QVariant& value,
                       const QVariant& defaultValue = {});

    bool contains(const QString& name) const { return values_.contains(name); }
    const QStringList& keys() const { return order_; }
    const QVariantMap& values() const { return values_; }
    void clear();

private:
    QVariantMap values_;
    QStringList order_;
};

} // namespace com
