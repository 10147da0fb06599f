#include "app/desktop_integration.h"

#include "platform/system/folders.h"
#include "platform/system/key_file.h"
#include "platform/system/safe_file.h"

#include <QFile>

namespace app {

namespace {

const QString kEntryGroup = "Desktop Entry";
const QString kDefaults = "Default Applications";
const QString kAdded = "Added Associations";
const QString kRemoved = "Removed Associations";

// The file's text; empty when it does not exist. False when it exists but
// cannot be read (it is then left alone).
bool readFile(const QString& path, QByteArray* text, QString* error) {
    QFile file(path);
    if (!file.exists()) {
        text->clear();
        return true;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = "cannot read " + path + ": " + file.errorString();
        return false;
    }
    *text = file.readAll();
    return true;
}

// Removes the program from the list of `mimeType` in `group`; drops the
// line when nothing is left. Lines that do not name the program are untouched.
void removeProgram(sys::KeyFile& file, const QString& group, const QString& mimeType) {
    if (!file.contains(group, mimeType))
        return;
    QStringList list = sys::KeyFile::splitList(file.value(group, mimeType));
    if (list.removeAll(kDesktopFileId) == 0)
        return;
    if (list.isEmpty())
        file.removeKey(group, mimeType);
    else
        file.setValue(group, mimeType, sys::KeyFile::joinList(list));
}

// Makes the program the default of `mimeType` (checked), or takes it off the
// type's defaults and added associations.
void updateMimeType(sys::KeyFile& list, const QString& mimeType, bool checked) {
    if (checked) {
        QStringList programs = sys::KeyFile::splitList(list.value(kDefaults, mimeType));
        programs.removeAll(kDesktopFileId);
        programs.prepend(kDesktopFileId);
        list.setValue(kDefaults, mimeType, sys::KeyFile::joinList(programs));
        removeProgram(list, kRemoved, mimeType);
    } else {
        // MP3 and WMA have types of their own on the desktop, so an
        // unchecked type is removed even when its class stays.
        removeProgram(list, kDefaults, mimeType);
        removeProgram(list, kAdded, mimeType);
    }
}

} // namespace

QStringList mimeTypesOf(const FileType& type) {
    return QString(type.mimeTypes).split(';', Qt::SkipEmptyParts);
}

QString desktopEntryPath() {
    return sys::dataHome() + "/applications/" + kDesktopFileId;
}

QString mimeAppsPath() {
    return sys::configHome() + "/mimeapps.list";
}

QString desktopExecValue(const QString& program) {
    // One quoted argument: ", `, $ and \ take a backslash inside the quotes.
    QString quoted = "\"";
    for (const QChar c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    quoted.replace('%', "%%");
    // The key's value is a string: its own backslashes are escaped again.
    quoted.replace('\\', "\\\\");
    return quoted + " %f";
}

bool writeDesktopEntry(const TypeChecks& checks, QString* error) {
    const QString path = desktopEntryPath();
    QByteArray old;
    if (!readFile(path, &old, error))
        return false;
    sys::KeyFile entry = sys::KeyFile::parse(old);
    QStringList mimeTypes;
    for (int i = 0; i < kFileTypeCount; ++i)
        for (const QString& mimeType : mimeTypesOf(kFileTypes[i]))
            if (checks[i] == 1 && !mimeTypes.contains(mimeType))
                mimeTypes << mimeType;

    entry.setValue(kEntryGroup, "Type", "Application");
    entry.setValue(kEntryGroup, "Name", "Vorlan");
    entry.setValue(kEntryGroup, "GenericName", "DJ Mixer");
    entry.setValue(kEntryGroup, "Comment", "Mix music on two decks");
    entry.setValue(kEntryGroup, "Exec", desktopExecValue(associationIcon()));
    entry.setValue(kEntryGroup, "Icon", "vorlan");
    entry.setValue(kEntryGroup, "Terminal", "false");
    entry.setValue(kEntryGroup, "Categories", "AudioVideo;Audio;Player;Mixer;");
    entry.setValue(kEntryGroup, "Keywords", "DJ;mix;deck;crossfader;playlist;");
    if (mimeTypes.isEmpty())
        entry.removeKey(kEntryGroup, "MimeType");
    else
        entry.setValue(kEntryGroup, "MimeType", sys::KeyFile::joinList(mimeTypes));
    return sys::replaceFileContents(path, entry.text(), error);
}

bool writeMimeApps(const TypeChecks& checks, QString* error) {
    const QString path = mimeAppsPath();
    QByteArray old;
    if (!readFile(path, &old, error))
        return false;
    sys::KeyFile list = sys::KeyFile::parse(old);
    for (int i = 0; i < kFileTypeCount; ++i)
        for (const QString& mimeType : mimeTypesOf(kFileTypes[i]))
            updateMimeType(list, mimeType, checks[i] == 1);
    const QByteArray text = list.text();
    if (text == old || (old.isEmpty() && text.trimmed().isEmpty()))
        return true;
    return sys::replaceFileContents(path, text, error);
}

bool updateDesktopAssociations(const TypeChecks& checks, QString* error) {
    return writeDesktopEntry(checks, error) && writeMimeApps(checks, error);
}

} // namespace app
