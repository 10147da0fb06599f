#include "tagweave/comment_frame.h"

#include "platform/system/text.h"
#include "tagweave/errors.h"
#include "tagweave/frame_text.h"

namespace tagweave {

void clsComment_Frame::setLanguage(const QString& value) {
    language_ = value.left(3).leftJustified(3, QLatin1Char(' '));
    fieldSet();
}

void clsComment_Frame::setDescription(const QString& value) {
    description_ = WithTrailingNul(value);
    textSet();
}

void clsComment_Frame::parseBytes(const QByteArray& a_bytes) {
    if (a_bytes.size() <= 4)
        RaiseError(msgInvalidCommentFrame, QStringLiteral("Comment_Frame::parseBytes"));
    textEncoding_ = static_cast<std::uint8_t>(a_bytes[0]);
    language_ = sys::bytesToText(a_bytes.mid(1, 3));
    const std::string_view strings = bytesView(a_bytes).substr(4);
    const FirstString description = DecodeFirstString(textEncoding_, strings);
    description_ = description.text;
    data_ = DecodeStrings(textEncoding_, strings.substr(description.next));
    keepReadBody(a_bytes);
}

QByteArray clsComment_Frame::buildBody(std::uint8_t encoding) const {
    return static_cast<char>(encoding) + sys::textToBytes(language_) +
           EncodeStrings(encoding, WithTrailingNul(description_)) + EncodeStrings(encoding, data_);
}

} // namespace tagweave
