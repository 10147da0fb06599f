#include "tagweave/frame_common.h"

#include "tagweave/errors.h"

namespace tagweave {

void FrameCommon::setFrameID(const QString& value) {
    if (value.size() != 4)
        RaiseError(msgInvalidFrameID, kindName_ + QStringLiteral("::FrameID"),
                   {QStringLiteral("%ID%")}, {value});
    frameId_ = value;
}

void FrameCommon::setFlags(const QByteArray& a_flags) {
    if (a_flags.size() != 2)
        RaiseError(msgInvalidFlags, kindName_ + QStringLiteral("::setFlags"));
    flags_ = a_flags;
}

QString FrameCommon::WithTrailingNul(const QString& value) {
    if (value.endsWith(QChar(0)))
        return value;
    return value + QChar(0);
}

} // namespace tagweave
