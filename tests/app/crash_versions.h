#pragma once
// The two versions of each file the crash-safety test's writer saves in
// turn: large enough that a save takes a while, different at every line.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace crash {

inline QStringList playlistVersion(int version) {
    QStringList paths;
    for (int i = 0; i < 4000; ++i)
        paths << (version ? QString("/music/b/track %1.flac").arg(i)
                          : QString("/music/a/song number %1.mp3").arg(i));
    return paths;
}

inline QList<QPair<QString, QString>> settingsVersion(int version) {
    const char* names[] = {
        "optStartUp", "SeekAccuracy", "initQuality",  "initDevice", "TurntableStopSpeed",
        "pitchRange", "DjSetup",      "AutomixStart", "Buffer",     "playlistPath"};
    QList<QPair<QString, QString>> values;
    for (const char* name : names)
        values.append({name, QString("%1-%2").arg(version ? "new" : "old", name)});
    return values;
}

inline QString titleVersion(int version) {
    return QString(3000, version ? QChar('B') : QChar('A'));
}

} // namespace crash
