// libFuzzer target: the desktop's key-file reader (desktop entries,
// mimeapps.list) on arbitrary bytes, then the edits the desktop integration
// makes. Whatever the bytes, the text written back reads as the same lines
// and values; a value set is read back as set, and a removed key is gone.
#include "platform/system/key_file.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    sys::KeyFile file = sys::KeyFile::parse(bytes);
    const QString group = QStringLiteral("Default Applications");
    const QString key = QStringLiteral("audio/mpeg");
    const QByteArray text = file.text();
    const sys::KeyFile reread = sys::KeyFile::parse(text);
    if (reread.text().count('\n') != text.count('\n') ||
        reread.value(group, key) != file.value(group, key))
        std::abort(); // what we write must read back as the same lines and values
    QStringList programs = sys::KeyFile::splitList(file.value(group, key));
    programs.removeAll(QStringLiteral("vorlan.desktop"));
    programs.prepend(QStringLiteral("vorlan.desktop"));
    const QString list = sys::KeyFile::joinList(programs);
    file.setValue(group, key, list);
    file.setValue(QStringLiteral("Desktop Entry"), QStringLiteral("MimeType"), list);
    const sys::KeyFile edited = sys::KeyFile::parse(file.text());
    if (!list.contains('\n') && !list.contains('\r') && edited.value(group, key) != list.trimmed())
        std::abort();
    file.removeKey(group, key);
    if (sys::KeyFile::parse(file.text()).contains(group, key))
        std::abort();
    return 0;
}
