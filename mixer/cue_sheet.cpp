#include "mixer/cue_sheet.h"

#include "platform/system/safe_rewrite.h"

#include <cmath>

namespace mixer {
namespace {

// A cue sheet's text in double quotes: a double quote inside becomes a
// single one, line breaks become spaces.
QString quoted(QString text) {
    text.replace('"', '\'');
    text.replace('\r', ' ');
    text.replace('\n', ' ');
    return '"' + text + '"';
}

} // namespace

CueSheet::CueSheet(const QString& title, const QString& audioFile, const QString& fileType)
    : title_(title), audioFile_(audioFile), fileType_(fileType) {}

void CueSheet::add(double seconds, const QString& title, const QString& performer) {
    tracks_.append({seconds, title, performer});
}

QString cueTime(double seconds) {
    const long long frames = std::llround(std::max(0.0, seconds) * 75.0);
    return QString("%1:%2:%3")
        .arg(frames / 75 / 60, 2, 10, QChar('0'))
        .arg(frames / 75 % 60, 2, 10, QChar('0'))
        .arg(frames % 75, 2, 10, QChar('0'));
}

QByteArray CueSheet::text() const {
    QString out;
    const QString eol = "\r\n";
    out += "PERFORMER " + quoted("Vorlan") + eol;
    out += "TITLE " + quoted(title_) + eol;
    out += "FILE " + quoted(audioFile_) + ' ' + fileType_ + eol;
    for (int i = 0; i < tracks_.size(); ++i) {
        const Track& t = tracks_[i];
        out += QString("  TRACK %1 AUDIO").arg(i + 1, 2, 10, QChar('0')) + eol;
        out += "    TITLE " + quoted(t.title) + eol;
        if (!t.performer.isEmpty())
            out += "    PERFORMER " + quoted(t.performer) + eol;
        out += "    INDEX 01 " + cueTime(t.seconds) + eol;
    }
    return out.toUtf8();
}

QString CueSheet::write(const QString& path) const {
    return sys::writeFileContents(path, text());
}

} // namespace mixer
