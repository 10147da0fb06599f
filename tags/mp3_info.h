#pragma once
// What an MP3 file is called: the fields of its 128-byte ID3v1 tag, or names
// guessed from its path when it has none. Reads no audio frames.
#include "tags/name_guess.h"

#include <QString>
#include <QStringList>

namespace tags {

class clsMP3Info {
public:
    // Reads the file's ID3v1 tag (or guesses from its name). A path that does
    // not name an existing file with an MP3-family extension gives empty
    // fields and IsFileID3v1() false. Read errors are left to the caller.
    void setFilename(const QString& path);
    QString filename() const { return filename_; }

    // The fields without leading and trailing spaces (zero bytes stay).
    QString Title() const;
    QString Artist() const;
    QString Album() const;
    QString Year() const;
    QString Comment() const;
    QString Genre() const;
    // True when the path names an existing MP3 file, tagged or not.
    bool IsFileID3v1() const { return isMp3_; }

    // An existing file (not a folder) whose path holds ".mp3", ".mp2" or
    // ".mp1", letter case ignored.
    static bool is_mp3_file(const QString& path);

private:
    QString filename_;
    QStringList genres_;
    bool isMp3_ = false;
    Mp3Fields fields_;
};

} // namespace tags
