#pragma once
// A frame of an ID the library does not understand (pictures, private
// frames, replay gain, ...), kept so that rewriting a tag loses nothing: its
// ID, flags and body bytes are written back exactly as read. It has no text
// fields: TextEncoding reads 0, Data reads empty, and setting either raises
// 103 ("The frame object supplied is invalid.").
#include "tagweave/frame.h"
#include "tagweave/tagweave_export.h"

namespace tagweave {

class TAGWEAVE_EXPORT clsOpaque_Frame : public clsFrame {
public:
    QString FrameID() const override { return frameId_; }
    void setFrameID(const QString& value) override;
    std::int32_t FrameSize() const override { return static_cast<std::int32_t>(body_.size()); }
    void setFlags(const QByteArray& a_flags) override;
    void getFlags(QByteArray& flags) const override { flags = flags_; }
    // Any body, also an empty one, is kept whole.
    void parseBytes(const QByteArray& a_bytes) override { body_ = a_bytes; }
    void getBytes(QByteArray& bytes) const override { bytes = body_; }
    std::uint8_t TextEncoding() const override { return 0; }
    void setTextEncoding(std::uint8_t value) override;
    QString Data() const override { return {}; }
    void setData(const QString& value) override;

private:
    QString frameId_ = QStringLiteral("    ");
    QByteArray flags_ = QByteArray(2, '\0');
    QByteArray body_;
};

} // namespace tagweave
