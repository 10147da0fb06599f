#include "tagweave/comment_frame.h"

#include "platform/system/text.h"
#include "tagweave/errors.h"

namespace tagweave {

std::int32_t clsComment_Frame::FrameSize() const {
    return static_cast<std::int32_t>(3 + description_.size() + data_.size() + 1);
}

void clsComment_Frame::setLanguage(const QString& value) {
    language_ = value.left(3).leftJustified(3, QLatin1Char(' '));
}

void clsComment_Frame::parseBytes(const QByteArray& a_bytes) {
    if (a_bytes.size() <= 4)
        RaiseError(msgInvalidCommentFrame, QStringLiteral("Comment_Frame::parseBytes"));
    textEncoding_ = static_cast<std::uint8_t>(a_bytes[0]);
    language_ = sys::bytesToText(a_bytes.mid(1, 3));
    const qsizetype nul = a_bytes.indexOf('\0', 4);
    if (nul < 0) {
        description_ = sys::bytesToText(a_bytes.mid(4));
        data_.clear();
        return;
    }
    description_ = sys::bytesToText(a_bytes.mid(4, nul - 4 + 1));
    data_ = sys::bytesToText(a_bytes.mid(nul + 1));
}

void clsComment_Frame::getBytes(QByteArray& bytes) const {
    bytes.clear();
    bytes.reserve(FrameSize());
    bytes.append(static_cast<char>(textEncoding_));
    bytes.append(sys::textToBytes(language_));
    bytes.append(sys::textToBytes(description_));
    bytes.append(sys::textToBytes(data_));
}

} // namespace tagweave
