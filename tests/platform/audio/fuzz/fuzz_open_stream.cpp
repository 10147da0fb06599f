// Fuzz target: a song file of arbitrary bytes opened by the main library and
// the WMA add-on, played, seeked and played to its end on the offline output,
// and its own tags read (TagLib). Whatever the bytes, every call returns
// (a refused file with the format error), no position passes the length,
// and the stream plays to its end.
#include "platform/audio/bass.h"
#include "platform/audio/offline.h"
#include "tags/taglib_tags.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace {

const QString& workFile() {
    static const QString path = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        const QString file = QString::asprintf("%s/vorlan-audio-fuzz-%d", base, int(getpid()));
        std::atexit([] { QFile::remove(workFile()); });
        return file;
    }();
    return path;
}

void startEngine() {
    static const bool started = [] {
        return BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr) && BASS_Start();
    }();
    if (!started)
        abort();
}

void check(bool ok) {
    if (!ok)
        abort();
}

// Plays `stream` for at most `frames` output frames; its position never
// passes its length.
void playSome(HSTREAM stream, QWORD length, DWORD frames) {
    std::vector<short> out(4096 * 2);
    for (DWORD done = 0; done < frames && BASS_ChannelIsActive(stream) == BASS_ACTIVE_PLAYING;
         done += 4096) {
        check(BASS_Offline_Render(out.data(), 4096));
        check(BASS_ChannelGetPosition(stream) <= length);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    startEngine();
    const QString& path = workFile();
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
          static_cast<qint64>(size));
    file.close();
    const QByteArray name = QFile::encodeName(path);

    (void)tags::readSongTags(path);
    for (const DWORD flags : {DWORD{0}, DWORD{BASS_MP3_SETPOS}}) {
        const HSTREAM stream = BASS_StreamCreateFile(FALSE, name.constData(), 0, 0, flags);
        if (!stream) {
            check(BASS_ErrorGetCode() == BASS_ERROR_FORMAT);
            continue;
        }
        const QWORD length = BASS_StreamGetLength(stream);
        check(BASS_StreamPreBuf(stream) && BASS_StreamPlay(stream, FALSE, 0));
        playSome(stream, length, 8192);
        check(BASS_ChannelSetPosition(stream, length / 8 * 4));
        check(BASS_StreamPlay(stream, FALSE, 0));
        playSome(stream, length, 1u << 24);
        check(BASS_StreamFree(stream));
    }
    if (const HSTREAM wma = BASS_WMA_StreamCreateFile(FALSE, name.constData(), 0, 0, 0))
        check(BASS_WMA_StreamFree(wma));
    return 0;
}
