#include "tagweave/frame_common.h"

#include "platform/system/tag_text.h"
#include "tagweave/errors.h"

namespace tagweave {

namespace {

// Second flag byte: compression, encryption, grouping.
constexpr std::uint8_t kStoredBodyFlags = 0x80 | 0x40 | 0x20;

} // namespace

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

std::int32_t FrameCommon::FrameSize() const {
    if (!edited_)
        return static_cast<std::int32_t>(readBody_.size());
    return static_cast<std::int32_t>(buildBody(writtenEncoding()).size());
}

void FrameCommon::getBytes(QByteArray& bytes) const {
    bytes = edited_ ? buildBody(writtenEncoding()) : readBody_;
}

std::uint8_t FrameCommon::TextEncoding() const {
    return edited_ ? writtenEncoding() : textEncoding_;
}

void FrameCommon::setTextEncoding(std::uint8_t value) {
    fieldSet();
    textEncoding_ = value;
}

void FrameCommon::setData(const QString& value) {
    data_ = WithTrailingNul(value);
    textSet();
}

QString FrameCommon::WithTrailingNul(const QString& value) {
    if (value.endsWith(QChar(0)))
        return value;
    return value + QChar(0);
}

void FrameCommon::keepReadBody(const QByteArray& body) {
    readBody_ = body;
    edited_ = false;
}

void FrameCommon::fieldSet() {
    edited_ = true;
    readBody_.clear();
    flags_[1] = static_cast<char>(static_cast<std::uint8_t>(flags_[1]) & ~kStoredBodyFlags);
}

void FrameCommon::textSet() {
    fieldSet();
    textEncoding_ = sys::tagTextEncodingFor(encodedText());
}

std::uint8_t FrameCommon::writtenEncoding() const {
    if (textEncoding_ >= 1 && textEncoding_ <= 3)
        return textEncoding_;
    return sys::tagTextEncodingFor(encodedText());
}

} // namespace tagweave
