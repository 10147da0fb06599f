#pragma once
// State and members shared by the text, comment and URL frames: frame ID,
// flags, text encoding and data. `kindName` names the kind in error sources
// ("Text_Frame", "Comment_Frame", "Web_Frame").
#include "tagweave/frame.h"

namespace tagweave {

class FrameCommon : public clsFrame {
public:
    QString FrameID() const override { return frameId_; }
    void setFrameID(const QString& value) override;
    void setFlags(const QByteArray& a_flags) override;
    void getFlags(QByteArray& flags) const override { flags = flags_; }
    std::uint8_t TextEncoding() const override { return textEncoding_; }
    void setTextEncoding(std::uint8_t value) override { textEncoding_ = value; }
    QString Data() const override { return data_; }
    void setData(const QString& value) override { data_ = WithTrailingNul(value); }

    // `value` followed by one NUL unless it already ends with one.
    static QString WithTrailingNul(const QString& value);

protected:
    explicit FrameCommon(QString kindName) : kindName_(std::move(kindName)) {}

    QString kindName_;
    QString frameId_ = QStringLiteral("    ");
    QByteArray flags_ = QByteArray(2, '\0');
    std::uint8_t textEncoding_ = 0;
    QString data_ = QString(QChar(0));
};

} // namespace tagweave
