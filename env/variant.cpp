#include "env/variant.h"

#include "platform/system/text.h"

namespace qzvenv {

std::int32_t toLong(const Variant& v) {
    if (const auto* i = std::get_if<std::int16_t>(&v))
        return *i;
    if (const auto* l = std::get_if<std::int32_t>(&v))
        return *l;
    return 0;
}

QString toText(const Variant& v) {
    if (isWholeNumber(v))
        return QString::number(toLong(v));
    if (const auto* s = std::get_if<QString>(&v))
        return *s;
    if (const auto* b = std::get_if<QByteArray>(&v))
        return sys::fromAnsi(*b);
    return {};
}

QString describe(const Variant& v) {
    if (const auto* b = std::get_if<QByteArray>(&v))
        return QString::fromLatin1(b->toHex().toUpper());
    return toText(v);
}

} // namespace qzvenv
