#include "tagweave/web_frame.h"

#include "platform/system/text.h"
#include "tagweave/errors.h"

namespace tagweave {

std::int32_t clsWeb_Frame::FrameSize() const {
    return static_cast<std::int32_t>(description_.size() + data_.size() + 1);
}

void clsWeb_Frame::parseBytes(const QByteArray& a_bytes) {
    if (a_bytes.isEmpty())
        RaiseError(msgInvalidWebFrame, QStringLiteral("Web_Frame::parseBytes"));
    textEncoding_ = static_cast<std::uint8_t>(a_bytes[0]);
    const qsizetype nul = a_bytes.indexOf('\0', 1);
    if (nul < 0) {
        description_ = sys::bytesToText(a_bytes.mid(1));
        data_.clear();
        return;
    }
    description_ = sys::bytesToText(a_bytes.mid(1, nul));
    data_ = sys::bytesToText(a_bytes.mid(nul + 1));
}

void clsWeb_Frame::getBytes(QByteArray& bytes) const {
    bytes.clear();
    bytes.reserve(FrameSize());
    bytes.append(static_cast<char>(textEncoding_));
    bytes.append(sys::textToBytes(description_));
    bytes.append(sys::textToBytes(data_));
}

} // namespace tagweave
