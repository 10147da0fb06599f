#pragma once
// The tagged value that crosses the registry class's interface: empty, a
// 16-bit Integer, a 32-bit Long, a String or an array of bytes.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <variant>

namespace qzvenv {

using Variant = std::variant<std::monostate, std::int16_t, std::int32_t, QString, QByteArray>;

inline bool isEmpty(const Variant& v) {
    return std::holds_alternative<std::monostate>(v);
}
// True for an Integer or a Long.
inline bool isWholeNumber(const Variant& v) {
    return std::holds_alternative<std::int16_t>(v) || std::holds_alternative<std::int32_t>(v);
}
// The Integer or Long as a 32-bit number; 0 for any other kind.
std::int32_t toLong(const Variant& v);
// The value as text: empty gives "", numbers their decimal text, a byte
// array its bytes read in the registry's code page.
QString toText(const Variant& v);
// The value as it is named in error descriptions: as toText, except that a
// byte array is shown as two upper-case hexadecimal digits per byte.
QString describe(const Variant& v);

} // namespace qzvenv
