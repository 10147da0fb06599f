// Reading and writing the addressed value, with the registry's value types.
#include "env/open_key.h"
#include "env/registry.h"
#include "platform/system/environment.h"
#include "platform/system/text.h"

#include <algorithm>

namespace qzvenv {

namespace {

// Text data as stored, without its terminating NUL.
QString storedText(QByteArray data) {
    if (!data.isEmpty() && data.back() == '\0')
        data.chop(1);
    return sys::fromAnsi(data);
}

// The first four bytes as a number, least significant first (missing bytes
// count as 0).
std::int32_t littleEndian(const QByteArray& data) {
    std::uint32_t n = 0;
    for (int i = 0; i < 4 && i < data.size(); ++i)
        n |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data[i])) << (8 * i);
    return static_cast<std::int32_t>(n);
}

QByteArray littleEndianBytes(std::int32_t value) {
    const auto n = static_cast<std::uint32_t>(value);
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return out;
}

QByteArray reversed(QByteArray data) {
    std::reverse(data.begin(), data.end());
    return data;
}

// A "%" followed, two or more characters later, by another "%": the text
// refers to an environment variable and is stored as an expandable string.
bool holdsEnvironmentReference(const QString& text) {
    const qsizetype first = text.indexOf(u'%');
    return first >= 0 && text.indexOf(u'%', first + 2) >= 0;
}

} // namespace

Variant Registry::Value() {
    OpenKey key;
    if (key.open(classKey_, sectionKey_, reg::KEY_QUERY_VALUE) != reg::ERROR_SUCCESS)
        return default_;
    reg::DWORD type = reg::REG_NONE;
    reg::DWORD size = 0;
    reg::LONG status =
        reg::RegQueryValueEx(key.handle(), valueKey_, nullptr, &type, nullptr, &size);
    if (status != reg::ERROR_SUCCESS && status != reg::ERROR_MORE_DATA)
        return default_;

    // The value may change between asking for its size and reading it: read
    // again into a larger buffer while the registry reports more data.
    QByteArray data;
    int attempts = 0;
    do {
        data.resize(static_cast<qsizetype>(size));
        reg::DWORD got = size;
        status = reg::RegQueryValueEx(key.handle(), valueKey_, nullptr, &type,
                                      reinterpret_cast<reg::BYTE*>(data.data()), &got);
        if (status == reg::ERROR_SUCCESS)
            data.resize(static_cast<qsizetype>(got));
        size = got;
    } while (status == reg::ERROR_MORE_DATA && ++attempts < 8);
    if (status != reg::ERROR_SUCCESS)
        return default_;

    valueType_ = static_cast<std::int32_t>(type);
    switch (type) {
    case reg::REG_SZ:
    case reg::REG_MULTI_SZ:
        return storedText(data);
    case reg::REG_EXPAND_SZ:
        return sys::expandEnvironmentStrings(storedText(data));
    case reg::REG_DWORD:
        return littleEndian(data);
    case reg::REG_DWORD_BIG_ENDIAN:
        return littleEndian(reversed(data.left(4)));
    default:
        return data;
    }
}

void Registry::setValue(const Variant& v) {
    OpenKey key;
    if (key.create(classKey_, sectionKey_) != reg::ERROR_SUCCESS)
        raiseSetValueFailure(kErrorRegistry, v);

    reg::DWORD type = 0;
    QByteArray data;
    switch (valueType_) {
    case kString:
    case kExpandableString: {
        const QString text = toText(v);
        type = holdsEnvironmentReference(text) ? reg::REG_EXPAND_SZ : reg::REG_SZ;
        data = sys::toAnsi(text);
        data.append('\0');
        break;
    }
    case kBinary:
        if (!std::holds_alternative<QByteArray>(v))
            raiseSetValueFailure(kErrorRegistry, v);
        type = reg::REG_BINARY;
        data = std::get<QByteArray>(v);
        break;
    case kNumber:
    case kBigEndianNumber:
        if (!isWholeNumber(v))
            raiseSetValueFailure(kErrorRegistry, v);
        type = static_cast<reg::DWORD>(valueType_);
        data = littleEndianBytes(toLong(v));
        if (valueType_ == kBigEndianNumber)
            data = reversed(data);
        break;
    default:
        raiseSetValueFailure(kErrorSetValue, v);
    }

    if (reg::RegSetValueEx(key.handle(), valueKey_, 0, type,
                           reinterpret_cast<const reg::BYTE*>(data.constData()),
                           static_cast<reg::DWORD>(data.size())) != reg::ERROR_SUCCESS)
        raiseSetValueFailure(kErrorSetValue, v);
    lastWritten_ = v;
}

} // namespace qzvenv
