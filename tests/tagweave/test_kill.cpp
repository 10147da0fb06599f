// A rewrite killed at any moment: a child process rewriting a tag is killed
// with SIGKILL at a random moment, 300 times. Afterwards the file is always
// exactly the old or the new file, with its permission bits.
#include "tagweave/id3v2.h"
#include "tests/tagweave/tag_files.h"

#include <QFile>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace tagweave;
using namespace tagtest;

namespace {

constexpr int kRounds = 300;
constexpr unsigned kMode = 0640;

// What the child does: the tag editor's save of a new title.
void rewrite(const QString& file) {
    clsID3v2 tag;
    tag.ReadTag(file);
    tag.SetFrameValue(eTitle, "New title");
    tag.SetFrameValue(eComment, "Written while being killed");
    tag.WriteTag(file, false);
}

pid_t startChild(const QString& file) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            rewrite(file);
        } catch (...) {
            ::_exit(2);
        }
        ::_exit(0);
    }
    return pid;
}

} // namespace

TEST(KillDuringRewrite, FileIsAlwaysOldOrNewWithItsPermissions) {
    QTemporaryDir dir;
    const QString file = dir.filePath("song.mp3");
    const QByteArray oldBytes =
        tag(frame("TIT2", QByteArray("\0Old title\0", 11)) +
            frame("APIC", QByteArray(2000, '\x5A')) + QByteArray(300, '\0')) +
        silentMpeg(480); // about 200 KB
    auto restoreOld = [&] {
        writeBytes(file, oldBytes);
        setPermissionBits(file, kMode);
    };

    // The new file, and how long a child takes to make it.
    std::vector<double> durations;
    for (int i = 0; i < 5; ++i) {
        restoreOld();
        const auto start = std::chrono::steady_clock::now();
        const pid_t pid = startChild(file);
        ASSERT_GT(pid, 0);
        int status = 0;
        ::waitpid(pid, &status, 0);
        durations.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const QByteArray newBytes = readBytes(file);
    ASSERT_NE(newBytes, oldBytes);
    ASSERT_TRUE(newBytes.endsWith(silentMpeg(480)));
    std::sort(durations.begin(), durations.end());
    const double span = durations[2] * 0.9; // most kills land while the child runs

    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> moment(0.0, span);
    int sawOld = 0, sawNew = 0, killedWhileRunning = 0;
    for (int round = 0; round < kRounds; ++round) {
        restoreOld();
        const pid_t pid = startChild(file);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(moment(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (WIFSIGNALED(status))
            ++killedWhileRunning;

        const QByteArray now = readBytes(file);
        const bool isOld = now == oldBytes;
        const bool isNew = now == newBytes;
        ASSERT_TRUE(isOld || isNew) << "round " << round << ": " << now.size() << " bytes";
        ASSERT_EQ(permissionBits(file), kMode) << "round " << round;
        sawOld += isOld;
        sawNew += isNew;

        // A killed child may leave its temporary file; nothing else.
        for (const QString& name : filesIn(dir.path())) {
            if (name == "song.mp3")
                continue;
            ASSERT_TRUE(name == "song.mp3.new" || name.endsWith("-song.mp3")) << name.toStdString();
            QFile::remove(dir.filePath(name));
        }
    }
    RecordProperty("old", sawOld);
    RecordProperty("new", sawNew);
    RecordProperty("killed_while_running", killedWhileRunning);
    std::printf("rounds %d: old %d, new %d, killed while running %d, rewrite %.0f us\n", kRounds,
                sawOld, sawNew, killedWhileRunning, durations[2]);
    // The kills landed both before and after the rename.
    EXPECT_GT(sawOld, 0);
    EXPECT_GT(sawNew, 0);
    EXPECT_GT(killedWhileRunning, kRounds / 10);
}
