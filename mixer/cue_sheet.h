#pragma once
// The track list of a recording, as a cue sheet next to its audio file:
// each track that went on air, with its title, performer and the time it
// started in the recording (minutes, seconds and 1/75-second frames). Lines
// end with CR LF.
#include <QByteArray>
#include <QList>
#include <QString>

namespace mixer {

class CueSheet {
public:
    // `audioFile` is the recording's file name (no folder); `fileType` its
    // cue file type ("WAVE" or "MP3").
    CueSheet(const QString& title, const QString& audioFile, const QString& fileType);

    void add(double seconds, const QString& title, const QString& performer);
    int tracks() const { return static_cast<int>(tracks_.size()); }
    QByteArray text() const;
    // Writes the sheet to `path` through a flushed temporary file; "" on
    // success, else what failed.
    QString write(const QString& path) const;

private:
    struct Track {
        double seconds;
        QString title;
        QString performer;
    };
    QString title_;
    QString audioFile_;
    QString fileType_;
    QList<Track> tracks_;
};

// "mm:ss:ff" of `seconds` (75 frames a second, rounded to the nearest frame).
QString cueTime(double seconds);

} // namespace mixer
