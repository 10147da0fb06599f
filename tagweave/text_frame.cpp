#include "tagweave/text_frame.h"

#include "tagweave/errors.h"
#include "tagweave/frame_text.h"

namespace tagweave {

void clsText_Frame::parseBytes(const QByteArray& a_bytes) {
    if (a_bytes.isEmpty())
        RaiseError(msgInvalidTextFrame, QStringLiteral("TextFrame::parseBytes"));
    textEncoding_ = static_cast<std::uint8_t>(a_bytes[0]);
    data_ = DecodeStrings(textEncoding_, bytesView(a_bytes).substr(1));
    keepReadBody(a_bytes);
}

QByteArray clsText_Frame::buildBody(std::uint8_t encoding) const {
    return static_cast<char>(encoding) + EncodeStrings(encoding, data_);
}

} // namespace tagweave
