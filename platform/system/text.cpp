#include "platform/system/text.h"

namespace sys {

QString bytesToText(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

QString bytesToText(std::string_view bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QByteArray textToBytes(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text)
        out.append(c.unicode() <= 0xFF ? static_cast<char>(c.unicode()) : '?');
    return out;
}

QString fromAnsi(const char* zeroTerminated) {
    return zeroTerminated ? QString::fromUtf8(zeroTerminated) : QString();
}

QString fromAnsi(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

QByteArray toAnsi(const QString& text) {
    return text.toUtf8();
}

} // namespace sys
