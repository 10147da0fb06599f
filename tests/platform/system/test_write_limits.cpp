// Every file the program rewrites, saved by a process whose file size is
// capped (what a full disk does to a write): the save reports failure, the
// old file stays byte for byte, a file that did not exist is not made, and
// no temporary file is left next to it.
#include "app/desktop_integration.h"
#include "playlist/m3u_file.h"
#include "tags/id3v1_writer.h"
#include "tags/id3v2_writer.h"
#include "tests/tags/tag_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<none>");
}

// Runs `save` in a child process whose files may grow to `limit` bytes at
// most (the size signal ignored, so writes fail with EFBIG). True when the
// save reported success.
bool savedUnderLimit(rlim_t limit, const std::function<bool()>& save) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &cap) != 0)
            ::_exit(2);
        ::_exit(save() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "the child did not run";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Writer {
    const char* what;
    QString (*path)(const QString& folder); // the file it rewrites
    std::string old;                        // its contents before ("" = no file)
    std::function<bool(const QString& path)> save;
};

app::TypeChecks allChecked() {
    app::TypeChecks checks{};
    checks.fill(1);
    return checks;
}

TEST(WriteLimits, AFailedSaveKeepsTheOldFileAndSaysSo) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    const std::string song = tag_files::plainMp3();
    const std::string tagged = tag_files::id3v2(3, {{"TIT2", tag_files::text(0, "Old")}}) + song;
    const Writer writers[] = {
        {"playlist", +[](const QString& f) { return f + "/mix.m3u"; },
         "/old/1.mp3\r\n/old/2.mp3\r\n",
         [](const QString& p) {
             return playlist::writePlaylistFile(p, {"/new/a.mp3", "/new/b.mp3"});
         }},
        {"new playlist", +[](const QString& f) { return f + "/new.m3u"; }, "",
         [](const QString& p) { return playlist::writePlaylistFile(p, {"/new/a.mp3"}); }},
        {"desktop entry", +[](const QString&) { return app::desktopEntryPath(); },
         "[Desktop Entry]\nType=Application\nName=Old\nX-Mine=kept\n",
         [](const QString&) { return app::writeDesktopEntry(allChecked(), nullptr); }},
        {"new desktop entry", +[](const QString&) { return app::desktopEntryPath(); }, "",
         [](const QString&) { return app::writeDesktopEntry(allChecked(), nullptr); }},
        {"default applications", +[](const QString&) { return app::mimeAppsPath(); },
         "[Default Applications]\naudio/mpeg=other.desktop\n",
         [](const QString&) { return app::writeMimeApps(allChecked(), nullptr); }},
        {"ID3v1 tag", +[](const QString& f) { return f + "/v1.mp3"; }, song,
         [](const QString& p) {
             return tags::write_id3v1_tag(p, {"Title", "Artist", "Album", "1999", "x"}).isEmpty();
         }},
        {"ID3v2 tag", +[](const QString& f) { return f + "/v2.mp3"; }, tagged,
         [](const QString& p) {
             return tags::write_id3v2_tag(p, {"New", "Artist", "Album", "1999", "Pop", "x"}) == 1;
         }},
    };
    for (const rlim_t limit : {rlim_t{0}, rlim_t{4}}) {
        for (const Writer& w : writers) {
            SCOPED_TRACE(std::string(w.what) + ", files capped at " + std::to_string(limit));
            const QString path = w.path(dir.path());
            QFile::remove(path);
            const QString folder = QFileInfo(path).absolutePath();
            ASSERT_TRUE(QDir().mkpath(folder));
            if (!w.old.empty())
                tag_files::write(path, w.old);
            const auto files = [&] {
                return QDir(folder).entryList(QDir::Files).join(' ').toStdString();
            };
            const std::string before = files();
            EXPECT_FALSE(savedUnderLimit(limit, [&] { return w.save(path); }))
                << "a failed save reported success";
            if (w.old.empty())
                EXPECT_FALSE(QFile::exists(path)) << "a file was left where there was none";
            else
                EXPECT_EQ(contents(path).toStdString(), w.old);
            EXPECT_EQ(files(), before) << "a temporary file was left";
        }
    }
    // Without the cap the same saves succeed.
    for (const Writer& w : writers)
        EXPECT_TRUE(w.save(w.path(dir.path()))) << w.what;
}

} // namespace
