#include "tagweave/text_frame.h"

#include "platform/system/text.h"
#include "tagweave/errors.h"

namespace tagweave {

std::int32_t clsText_Frame::FrameSize() const {
    return static_cast<std::int32_t>(data_.size() + 1);
}

void clsText_Frame::parseBytes(const QByteArray& a_bytes) {
    if (a_bytes.isEmpty())
        RaiseError(msgInvalidTextFrame, QStringLiteral("TextFrame::parseBytes"));
    textEncoding_ = static_cast<std::uint8_t>(a_bytes[0]);
    data_ = sys::bytesToText(a_bytes.mid(1));
}

void clsText_Frame::getBytes(QByteArray& bytes) const {
    bytes.clear();
    bytes.reserve(FrameSize());
    bytes.append(static_cast<char>(textEncoding_));
    bytes.append(sys::textToBytes(data_));
}

} // namespace tagweave
