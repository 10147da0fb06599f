#pragma once
// State and members shared by the text, comment and URL frames: frame ID,
// flags, text encoding, data, and the body as read. A frame read from a tag
// is written back byte for byte until one of its fields is set; from then on
// its body is built from the fields, in ISO-8859-1 (encoding 0) when all its
// text fits, else UTF-16 with byte-order marks (encoding 1). `kindName` names
// the kind in error sources ("Text_Frame", "Comment_Frame", "Web_Frame").
#include "tagweave/frame.h"
#include "tagweave/tagweave_export.h"

namespace tagweave {

class TAGWEAVE_EXPORT FrameCommon : public clsFrame {
public:
    QString FrameID() const override { return frameId_; }
    void setFrameID(const QString& value) override;
    std::int32_t FrameSize() const override;
    void setFlags(const QByteArray& a_flags) override;
    void getFlags(QByteArray& flags) const override { flags = flags_; }
    void getBytes(QByteArray& bytes) const override;
    // The encoding byte read while nothing is set, else the one written.
    std::uint8_t TextEncoding() const override;
    // 1 (UTF-16), 2 (UTF-16BE) and 3 (UTF-8) are written as asked; any other
    // value gives ISO-8859-1 when the text fits it, else UTF-16.
    void setTextEncoding(std::uint8_t value) override;
    QString Data() const override { return data_; }
    void setData(const QString& value) override;

    // `value` followed by one NUL unless it already ends with one.
    static QString WithTrailingNul(const QString& value);

protected:
    explicit FrameCommon(QString kindName) : kindName_(std::move(kindName)) {}

    // The body built from the fields in `encoding`.
    virtual QByteArray buildBody(std::uint8_t encoding) const = 0;
    // The text the encoding byte covers: the data, and a description where
    // the kind has one (the URL of a URL frame is always ISO-8859-1).
    virtual QString encodedText() const { return data_; }

    // Called by parseBytes once the fields are read: `body` is what getBytes
    // gives until a field is set.
    void keepReadBody(const QByteArray& body);
    // Called when a field is set. The body will be built from the fields, so
    // the flags that describe a stored body (compression 0x0080, encryption
    // 0x0040, grouping 0x0020) are cleared; a set text also chooses the
    // encoding its characters need.
    void fieldSet();
    void textSet();

    QString kindName_;
    QString frameId_ = QStringLiteral("    ");
    QByteArray flags_ = QByteArray(2, '\0');
    std::uint8_t textEncoding_ = 0;
    QString data_ = QString(QChar(0));

private:
    std::uint8_t writtenEncoding() const;

    QByteArray readBody_;
    bool edited_ = true; // a new frame has no body of its own
};

} // namespace tagweave
