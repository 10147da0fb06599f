#include "tagweave/opaque_frame.h"

#include "tagweave/errors.h"

namespace tagweave {

void clsOpaque_Frame::setFrameID(const QString& value) {
    if (value.size() != 4)
        RaiseError(msgInvalidFrameID, QStringLiteral("Opaque_Frame::FrameID"),
                   {QStringLiteral("%ID%")}, {value});
    frameId_ = value;
}

void clsOpaque_Frame::setFlags(const QByteArray& a_flags) {
    if (a_flags.size() != 2)
        RaiseError(msgInvalidFlags, QStringLiteral("Opaque_Frame::setFlags"));
    flags_ = a_flags;
}

void clsOpaque_Frame::setTextEncoding(std::uint8_t) {
    RaiseError(msgInvalidFrameObject, QStringLiteral("Opaque_Frame::TextEncoding"));
}

void clsOpaque_Frame::setData(const QString&) {
    RaiseError(msgInvalidFrameObject, QStringLiteral("Opaque_Frame::Data"));
}

} // namespace tagweave
