// Durability: a writer killed at random moments never loses a value whose
// write had returned success and never leaves a damaged file; two processes
// and several threads writing at once lose nothing.
#include "registry_fixture.h"
#include "writer_values.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sqlite3.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace reg;
using registry_testing::readValue;
using registry_testing::writerBytes;
using registry_testing::writerName;
using registry_testing::writerType;

namespace {

const QString kKeyPath = QStringLiteral("Software\\Vorlan\\Durability");

// A running registry_writer and what it has printed so far.
class Writer {
public:
    Writer(const QString& database, const QString& prefix, int count) {
        const std::vector<std::string> args = {REGISTRY_WRITER_PATH, database.toStdString(),
                                               kKeyPath.toStdString(), prefix.toStdString(),
                                               std::to_string(count)};
        std::vector<char*> argv;
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Writer() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            ::close(out_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool started() const { return pid_ > 0 && out_ >= 0; }

    // Reads printed lines until the first write is reported, the output
    // ends, or the time is up. True once a write succeeded.
    bool waitFirstWrite(int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (written_.empty() && !ended_ && timer.elapsed() < timeoutMs)
            readSome(int(timeoutMs - timer.elapsed()));
        return !written_.empty();
    }
    // Kills the writer and collects everything it printed before dying.
    void kill() {
        ::kill(pid_, SIGKILL);
        drainAndReap();
    }
    // Waits for a writer that ends by itself; its exit status.
    int finish() { return drainAndReap(); }

    const std::vector<int>& written() const { return written_; }
    const QByteArray& errors() const { return errors_; }

private:
    int drainAndReap() {
        while (!ended_)
            readSome(-1);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }
    void readSome(int timeoutMs) {
        pollfd fd{out_, POLLIN, 0};
        const int ready = ::poll(&fd, 1, timeoutMs);
        if (ready < 0 && errno == EINTR)
            return;
        if (ready <= 0)
            return;
        char buffer[4096];
        const ssize_t n = ::read(out_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            return;
        if (n <= 0) {
            ended_ = true;
            return;
        }
        pending_.append(buffer, n);
        qsizetype end;
        while ((end = pending_.indexOf('\n')) >= 0) {
            const QByteArray line = pending_.left(end);
            pending_.remove(0, end + 1);
            if (line == "ready")
                continue;
            if (line.startsWith("error"))
                errors_ += line + ' ';
            else
                written_.push_back(line.toInt());
        }
    }

    pid_t pid_ = -1;
    int out_ = -1;
    QByteArray pending_;
    bool ended_ = false;
    std::vector<int> written_;
    QByteArray errors_;
};

// PRAGMA integrity_check on its own connection; "ok" when sound.
QString integrityOf(const QString& path) {
    sqlite3* db = nullptr;
    QString result = QStringLiteral("<cannot open>");
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr) ==
        SQLITE_OK) {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr) == SQLITE_OK) {
            result.clear();
            while (sqlite3_step(check) == SQLITE_ROW)
                result +=
                    QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)));
        } else {
            result = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(check);
    }
    sqlite3_close(db);
    return result;
}

// Checks one value the writer reported; empty when it is there and right.
QString checkWritten(const QString& prefix, int i) {
    const QString name = writerName(prefix, i);
    const auto read = readValue(HKEY_CURRENT_USER, kKeyPath, name);
    if (read.status != ERROR_SUCCESS)
        return name + QStringLiteral(": status %1").arg(read.status);
    if (read.type != writerType(i) || read.bytes != writerBytes(i))
        return name + QStringLiteral(": wrong type or bytes");
    return QString();
}

void removeDatabase(const QString& path) {
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

class RegistryDurability : public registry_testing::RegistryTest {
protected:
    QString elsewhere() const { return folder.filePath(QStringLiteral("elsewhere.db")); }
};

TEST_F(RegistryDurability, KilledWriterNeverLosesACommittedValue) {
    constexpr int kRounds = 200;
    constexpr int kRoundsPerDatabase = 25;
    const QString database = folder.filePath(QStringLiteral("durable.db"));
    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    SCOPED_TRACE(QStringLiteral("random seed %1").arg(seed).toStdString());

    struct Committed {
        QString prefix;
        int index;
    };
    std::vector<Committed> committed; // since the database was started afresh
    int killsAmongWrites = 0;
    for (int round = 0; round < kRounds; ++round) {
        const bool fresh = round % kRoundsPerDatabase == 0;
        if (fresh) {
            RegUseDatabase(elsewhere());
            removeDatabase(database);
            committed.clear();
        }
        const QString prefix = QStringLiteral("r%1_").arg(round);
        Writer writer(database, prefix, -1);
        ASSERT_TRUE(writer.started());
        if (fresh) {
            // From the start: the kill may land while the file is being made.
            std::this_thread::sleep_for(std::chrono::milliseconds(random.bounded(60)));
        } else {
            // Among the writes: the kill lands at a random point of one.
            ASSERT_TRUE(writer.waitFirstWrite(20000))
                << "round " << round << writer.errors().data();
            std::this_thread::sleep_for(std::chrono::microseconds(random.bounded(30000)));
        }
        writer.kill();
        ASSERT_TRUE(writer.errors().isEmpty())
            << "round " << round << ": " << writer.errors().data();
        if (!writer.written().empty())
            ++killsAmongWrites;
        for (int i : writer.written())
            committed.push_back({prefix, i});

        if (QFileInfo(database).size() > 0) {
            ASSERT_EQ(integrityOf(database), QStringLiteral("ok")) << "round " << round;
        }
        RegUseDatabase(database); // reopened and checked as after a crash
        for (const auto& value : committed)
            ASSERT_EQ(checkWritten(value.prefix, value.index), QString())
                << "round " << round << " lost a value whose write had succeeded";
    }
    std::printf("%d rounds: %d kills among writes, %zu values checked in the last database\n",
                kRounds, killsAmongWrites, committed.size());
}

TEST_F(RegistryDurability, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kCount = 150;
    const QString database = folder.filePath(QStringLiteral("shared.db"));
    // Both start on a missing file, so both also race to create it.
    Writer first(database, QStringLiteral("first_"), kCount);
    Writer second(database, QStringLiteral("second_"), kCount);
    ASSERT_TRUE(first.started() && second.started());
    const int firstStatus = first.finish();
    const int secondStatus = second.finish();
    ASSERT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 0) << first.errors().data();
    ASSERT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0)
        << second.errors().data();
    EXPECT_EQ(first.written().size(), size_t(kCount));
    EXPECT_EQ(second.written().size(), size_t(kCount));

    EXPECT_EQ(integrityOf(database), QStringLiteral("ok"));
    RegUseDatabase(database);
    for (int i = 0; i < kCount; ++i) {
        EXPECT_EQ(checkWritten(QStringLiteral("first_"), i), QString());
        EXPECT_EQ(checkWritten(QStringLiteral("second_"), i), QString());
    }
    HKEY key = 0;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKey(key, nullptr, &values, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(values, DWORD(2 * kCount));
    RegCloseKey(key);
}

TEST_F(RegistryDurability, ThreadsShareTheRegistry) {
    constexpr int kThreads = 4;
    constexpr int kCount = 60;
    std::vector<std::thread> threads;
    std::vector<LONG> failures(kThreads + 1, ERROR_SUCCESS);
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &failures] {
            const QString prefix = QStringLiteral("thread%1_").arg(t);
            for (int i = 0; i < kCount; ++i) {
                HKEY key = 0;
                LONG status = RegCreateKey(HKEY_CURRENT_USER, kKeyPath, &key);
                if (status == ERROR_SUCCESS) {
                    const QByteArray bytes = writerBytes(i);
                    status = RegSetValueEx(key, writerName(prefix, i), 0, writerType(i),
                                           reinterpret_cast<const BYTE*>(bytes.constData()),
                                           DWORD(bytes.size()));
                }
                RegCloseKey(key);
                if (status != ERROR_SUCCESS)
                    failures[t] = status;
            }
        });
    }
    threads.emplace_back([&failures] { // a reader listing all the while
        for (int pass = 0; pass < 10; ++pass) {
            HKEY key = 0;
            if (RegOpenKeyEx(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
                continue;
            DWORD index = 0;
            LONG status;
            while ((status = RegEnumValue(key, index++, nullptr, nullptr, nullptr, nullptr,
                                          nullptr)) == ERROR_SUCCESS) {
            }
            if (status != ERROR_NO_MORE_ITEMS)
                failures[kThreads] = status;
            RegCloseKey(key);
        }
    });
    for (auto& thread : threads)
        thread.join();
    for (LONG failure : failures)
        EXPECT_EQ(failure, ERROR_SUCCESS);
    for (int t = 0; t < kThreads; ++t)
        for (int i = 0; i < kCount; ++i)
            EXPECT_EQ(checkWritten(QStringLiteral("thread%1_").arg(t), i), QString());
}

} // namespace
