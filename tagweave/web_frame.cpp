#include "tagweave/web_frame.h"

#include "tagweave/errors.h"
#include "tagweave/frame_text.h"

namespace tagweave {

void clsWeb_Frame::setDescription(const QString& value) {
    description_ = WithTrailingNul(value);
    textSet();
}

void clsWeb_Frame::parseBytes(const QByteArray& a_bytes) {
    if (a_bytes.isEmpty())
        RaiseError(msgInvalidWebFrame, QStringLiteral("Web_Frame::parseBytes"));
    textEncoding_ = static_cast<std::uint8_t>(a_bytes[0]);
    const std::string_view strings = bytesView(a_bytes).substr(1);
    const FirstString description = DecodeFirstString(textEncoding_, strings);
    description_ = description.text;
    // The URL is ISO-8859-1; a tagger that wrote it in UTF-16 marked it so.
    const std::string_view url = strings.substr(description.next);
    const bool utf16 =
        textEncoding_ == 1 && (url.starts_with("\xFF\xFE") || url.starts_with("\xFE\xFF"));
    data_ = DecodeStrings(utf16 ? 1 : 0, url);
    keepReadBody(a_bytes);
}

QByteArray clsWeb_Frame::buildBody(std::uint8_t encoding) const {
    return static_cast<char>(encoding) + EncodeStrings(encoding, WithTrailingNul(description_)) +
           EncodeUrl(data_);
}

} // namespace tagweave
