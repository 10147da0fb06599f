#include "tagweave/frame_text.h"

#include "platform/system/tag_text.h"

namespace tagweave {

FirstString DecodeFirstString(std::uint8_t encoding, std::string_view bytes) {
    const std::size_t length = sys::tagTextLength(encoding, bytes);
    FirstString first{sys::decodeTagText(encoding, bytes.substr(0, length)), bytes.size()};
    if (length < bytes.size()) {
        first.text.append(QChar(0));
        first.next = std::min(bytes.size(), length + sys::tagTextTerminatorSize(encoding));
    }
    return first;
}

QString DecodeStrings(std::uint8_t encoding, std::string_view bytes) {
    QString text;
    while (!bytes.empty()) {
        const FirstString first = DecodeFirstString(encoding, bytes);
        text.append(first.text);
        bytes.remove_prefix(first.next);
    }
    return text;
}

QByteArray EncodeStrings(std::uint8_t encoding, const QString& text) {
    const QByteArray terminator(static_cast<qsizetype>(sys::tagTextTerminatorSize(encoding)), '\0');
    QByteArray bytes;
    qsizetype start = 0;
    for (;;) {
        const qsizetype nul = text.indexOf(QChar(0), start);
        const qsizetype end = nul < 0 ? text.size() : nul;
        bytes.append(sys::encodeTagText(encoding, text.mid(start, end - start)));
        if (nul < 0)
            return bytes;
        bytes.append(terminator);
        start = nul + 1;
        if (start == text.size())
            return bytes; // a text ending in a NUL has no string after its last terminator
    }
}

QByteArray EncodeUrl(const QString& url) {
    QByteArray bytes;
    bytes.reserve(url.size());
    for (qsizetype i = 0; i < url.size(); ++i) {
        const QChar c = url[i];
        if (c.unicode() <= 0xFF) {
            bytes.append(static_cast<char>(c.unicode()));
            continue;
        }
        const qsizetype length =
            c.isHighSurrogate() && i + 1 < url.size() && url[i + 1].isLowSurrogate() ? 2 : 1;
        bytes.append(url.mid(i, length).toUtf8().toPercentEncoding());
        i += length - 1;
    }
    return bytes;
}

} // namespace tagweave
