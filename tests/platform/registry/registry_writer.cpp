// registry_writer DATABASE KEYPATH PREFIX COUNT
// Writes values PREFIX0, PREFIX1, ... (COUNT of them, or endlessly when COUNT
// is negative) under current user KEYPATH, each by its own RegSetValueEx.
// Prints "ready" once the key is open, then the number of every value whose
// write succeeded, one per line, as soon as it returns. A failed write is
// printed as "error STATUS" and ends the run.
#include "writer_values.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

void say(const QByteArray& line) {
    const QByteArray text = line + '\n';
    // One write per line: a pipe keeps writes this small whole.
    if (::write(STDOUT_FILENO, text.constData(), size_t(text.size())) < 0)
        std::_Exit(4);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: registry_writer DATABASE KEYPATH PREFIX COUNT\n");
        return 1;
    }
    reg::RegUseDatabase(QString::fromUtf8(argv[1]));
    const QString prefix = QString::fromUtf8(argv[3]);
    const int count = std::atoi(argv[4]);

    reg::HKEY key = 0;
    const reg::LONG opened =
        reg::RegCreateKeyEx(reg::HKEY_CURRENT_USER, QString::fromUtf8(argv[2]), 0, QString(), 0,
                            reg::KEY_ALL_ACCESS, &key, nullptr);
    if (opened != reg::ERROR_SUCCESS) {
        say("error " + QByteArray::number(opened));
        return 2;
    }
    say("ready");
    for (int i = 0; count < 0 || i < count; ++i) {
        const QByteArray bytes = registry_testing::writerBytes(i);
        const reg::LONG status = reg::RegSetValueEx(
            key, registry_testing::writerName(prefix, i), 0, registry_testing::writerType(i),
            reinterpret_cast<const reg::BYTE*>(bytes.constData()), reg::DWORD(bytes.size()));
        if (status != reg::ERROR_SUCCESS) {
            say("error " + QByteArray::number(status));
            return 3;
        }
        say(QByteArray::number(i));
    }
    reg::RegCloseKey(key);
    return 0;
}
