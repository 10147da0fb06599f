// Saves killed part-way, as by a crash or a power cut: the playlist save,
// the settings write and the tag editor's save (FLAC through TagLib, MP3
// through the ID3v2 library) run over and over in a child process that is
// killed with SIGKILL at a random moment, 200 times each. After every kill
// the file is whole: the old version or the new one, never a mix, never empty.
#include "core/fixed_texts.h"
#include "core/registry_values.h"
#include "tests/app/crash_versions.h"
#include "tests/fixtures/fixtures.h"
#include "tests/tags/tag_files.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kills = 200;

// Starts the writer; returns its process id once it is about to save.
pid_t startWriter(const char* kind, const QString& path, const char* version = nullptr) {
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const QByteArray file = QFile::encodeName(path);
    const std::string fd = std::to_string(ready[1]);
    std::vector<char*> argv{const_cast<char*>(CRASH_WRITER), const_cast<char*>(kind),
                            const_cast<char*>(file.constData()), const_cast<char*>(fd.c_str())};
    if (version)
        argv.push_back(const_cast<char*>(version));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (::posix_spawn(&pid, CRASH_WRITER, nullptr, nullptr, argv.data(), environ) != 0)
        pid = -1;
    ::close(ready[1]);
    char byte = 0;
    if (!version && pid > 0 && ::read(ready[0], &byte, 1) != 1)
        pid = -1;
    ::close(ready[0]);
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

// Saves `version` of the file once, through the writer.
void saveOnce(const char* kind, const QString& path, const char* version) {
    const pid_t pid = startWriter(kind, path, version);
    ASSERT_GT(pid, 0);
    const int status = waitFor(pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << kind << " save failed";
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString titleOf(const QString& path) {
    const TagLib::FileRef ref(QFile::encodeName(path).constData(), false);
    return ref.isNull() || !ref.tag() ? QString()
                                      : QString::fromStdWString(ref.tag()->title().toWString());
}

QStringList settingsNow() {
    QStringList values;
    for (const auto& [name, value] : crash::settingsVersion(0))
        values << core::get_RegValue(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), name);
    return values;
}

QStringList settingsOf(int version) {
    QStringList values;
    for (const auto& [name, value] : crash::settingsVersion(version))
        values << value;
    return values;
}

class CrashSafety : public testing::TestWithParam<const char*> {
protected:
    QTemporaryDir dir;
};

TEST_P(CrashSafety, EveryKillLeavesTheOldOrTheNewVersionWhole) {
    const std::string kind = GetParam();
    QString path = dir.filePath("list.m3u");
    QByteArray audio; // the song's audio packets, which no tag save may change
    QList<QByteArray> versions;
    if (kind == "flac-tags" || kind == "mp3-tags") {
        fixtures::Tone tone = tag_files::shortTone(kind == "flac-tags" ? fixtures::Format::Flac
                                                                       : fixtures::Format::Mp3Cbr);
        tone.seconds = 3;
        path = dir.filePath(kind == "flac-tags" ? "song.flac" : "song.mp3");
        fixtures::makeTone(QFile::encodeName(path).toStdString(), tone);
        saveOnce(kind.c_str(), path, "0");
        audio = tag_files::packetHash(path);
        ASSERT_FALSE(audio.isEmpty());
    } else if (kind == "playlist") {
        saveOnce("playlist", path, "1");
        versions << bytesOf(path);
        saveOnce("playlist", path, "0");
        versions << bytesOf(path);
    } else {
        saveOnce("settings", path, "0");
    }
    const QStringList entries = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

    int killedMidSave = 0;
    for (int i = 0; i < kills; ++i) {
        SCOPED_TRACE(i);
        const pid_t pid = startWriter(kind.c_str(), path);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(
            std::chrono::microseconds(QRandomGenerator::global()->bounded(25000)));
        ::kill(pid, SIGKILL);
        const int status = waitFor(pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: a save failed";

        if (kind == "playlist") {
            const QByteArray now = bytesOf(path);
            ASSERT_TRUE(now == versions[0] || now == versions[1]) << now.size() << " bytes";
        } else if (kind == "settings") {
            const QStringList now = settingsNow();
            for (int v = 0; v < now.size(); ++v) {
                ASSERT_TRUE(now[v] == settingsOf(0)[v] || now[v] == settingsOf(1)[v])
                    << now[v].toStdString();
            }
        } else {
            const QString title = titleOf(path);
            ASSERT_TRUE(title == crash::titleVersion(0) || title == crash::titleVersion(1))
                << title.size() << " characters";
            ASSERT_EQ(tag_files::packetHash(path), audio);
        }
        // What a killed save left beside the file (its temporary copy) does
        // not disturb the next one; it is counted and cleared.
        for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
            if (!entries.contains(name)) {
                ++killedMidSave;
                QFile::remove(dir.filePath(name));
            }
    }
    std::printf("%s: %d of %d kills left a temporary copy (killed mid-save)\n", kind.c_str(),
                killedMidSave, kills);
    if (kind != "settings") {
        EXPECT_GT(killedMidSave, 0) << "no kill landed inside a save";
    }
}

INSTANTIATE_TEST_SUITE_P(Saves, CrashSafety,
                         testing::Values("playlist", "settings", "flac-tags", "mp3-tags"),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

} // namespace
