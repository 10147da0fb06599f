#include "tags/id3v1_writer.h"

#include "platform/system/safe_rewrite.h"

#include <QFile>

namespace tags {

namespace {

void appendField(QByteArray& block, const QString& text, int width) {
    QByteArray bytes = text.left(width).toLatin1();
    bytes.append(QByteArray(width - bytes.size(), ' '));
    block.append(bytes);
}

} // namespace

QByteArray id3v1Block(const Id3v1Record& record, std::uint8_t genre) {
    QByteArray block("TAG");
    appendField(block, record.title, 30);
    appendField(block, record.artist, 30);
    appendField(block, record.album, 30);
    appendField(block, record.year, 4);
    appendField(block, record.comment, 30);
    block.append(static_cast<char>(genre));
    return block;
}

QString id3v1Unstorable(const Id3v1Record& record) {
    QString found;
    for (const QString* text :
         {&record.title, &record.artist, &record.album, &record.year, &record.comment})
        for (QChar c : *text)
            if (c.unicode() > 0xFF && !found.contains(c))
                found.append(c);
    return found;
}

QString write_id3v1_tag(const QString& path, const Id3v1Record& record) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    const qint64 size = file.size();
    qint64 keep = size;
    std::uint8_t genre = 255;
    if (size >= 128 && file.seek(size - 128)) {
        const QByteArray old = file.read(128);
        if (old.size() == 128 && old.startsWith("TAG")) {
            keep = size - 128;
            genre = static_cast<std::uint8_t>(old[127]);
        }
    }
    file.close();
    return sys::rewriteFileEnd(path, keep, id3v1Block(record, genre), true);
}

} // namespace tags
