// The ID3v1 writer: the block it lays out and the file it leaves.
#include "tags/id3v1_writer.h"
#include "tags/mp3_info.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Id3v1Writer, AppendsOnceThenReplacesInPlace) {
    QTemporaryDir dir;
    const QString path = dir.filePath("song.mp3");
    const QByteArray audio(5000, '\x55');
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(audio);
    }
    tags::Id3v1Record record{QString(40, 'T'), "Artist", "Album", "1999", "Comment"};
    ASSERT_EQ(tags::write_id3v1_tag(path, record), "");
    QByteArray bytes = readAll(path);
    ASSERT_EQ(bytes.size(), 5000 + 128);
    EXPECT_EQ(bytes.left(5000), audio);
    EXPECT_EQ(bytes.mid(5000, 33), "TAG" + QByteArray(30, 'T')); // 40 characters cut to 30
    EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 255);

    record.title = QString::fromUtf8("Café");
    ASSERT_EQ(tags::write_id3v1_tag(path, record), "");
    bytes = readAll(path);
    EXPECT_EQ(bytes.size(), 5000 + 128); // the second save replaces the tag
    tags::clsMP3Info info;
    info.setFilename(path);
    EXPECT_EQ(info.Title(), QString::fromUtf8("Café"));
    EXPECT_EQ(info.Year(), "1999");
}

TEST(Id3v1Writer, ReadOnlyFileIsWrittenAndAFailureLeavesTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("ro.mp3");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(300, 'a'));
    }
    ::chmod(QFile::encodeName(path).constData(), 0444);
    EXPECT_EQ(tags::write_id3v1_tag(path, {"t", "a", "", "", ""}), "");
    EXPECT_EQ(readAll(path).size(), 428);
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    EXPECT_NE(tags::write_id3v1_tag(dir.filePath("missing.mp3"), {}), "");
    if (::geteuid() != 0) { // root writes into any folder
        ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
        EXPECT_NE(tags::write_id3v1_tag(path, {"x", "", "", "", ""}), "");
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        EXPECT_EQ(readAll(path).mid(303, 1), "t");
    }
}

TEST(Id3v1Writer, ReportsWhatLatin1CannotHold) {
    EXPECT_EQ(tags::id3v1Unstorable({"Café", "", "", "", ""}), "");
    EXPECT_EQ(
        tags::id3v1Unstorable({QString::fromUtf8("Кино"), QString::fromUtf8("Ωн"), "", "", ""}),
        QString::fromUtf8("КиноΩ"));
}

} // namespace
