#pragma once
// The values the durability writer stores: value i has a type and bytes that
// follow from i alone, so the checking side can rebuild them. Every tenth is
// 64 KiB, so kills also land inside large writes.
#include "platform/registry/registry.h"

#include <QByteArray>
#include <QString>

namespace registry_testing {

inline reg::DWORD writerType(int i) {
    constexpr reg::DWORD types[] = {reg::REG_SZ,    reg::REG_EXPAND_SZ,        reg::REG_BINARY,
                                    reg::REG_DWORD, reg::REG_DWORD_BIG_ENDIAN, reg::REG_MULTI_SZ};
    return types[i % 6];
}

inline QByteArray writerBytes(int i) {
    switch (writerType(i)) {
    case reg::REG_DWORD:
    case reg::REG_DWORD_BIG_ENDIAN:
        return QByteArray(reinterpret_cast<const char*>(&i), sizeof i);
    case reg::REG_BINARY: {
        QByteArray bytes(i % 10 == 8 ? 64 * 1024 : 100 + i % 37, Qt::Uninitialized);
        quint32 state = quint32(i) * 2654435761u + 1;
        for (char& b : bytes) {
            state = state * 1664525u + 1013904223u;
            b = char(state >> 24);
        }
        return bytes;
    }
    default:
        return QStringLiteral("value %1 ÿ€").arg(i).toUtf8() + QByteArray(1, '\0');
    }
}

inline QString writerName(const QString& prefix, int i) {
    return prefix + QString::number(i);
}

} // namespace registry_testing
