// Every file the program rewrites, saved by a process whose file size is
// capped (what a full disk does to a write): the save reports failure, the
// old file stays byte for byte (a file that did not exist is not made), and
// no temporary file is left next to it.
#include "app/desktop_integration.h"
#include "playlist/m3u_file.h"
#include "tags/id3v1_writer.h"
#include "tags/id3v2_writer.h"
#include "tests/tags/tag_files.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs `save` in a child process whose files may grow to `limit` bytes (the
// size signal ignored, so writes fail with EFBIG); true when it reported success.
bool savedUnderLimit(rlim_t limit, const std::function<bool()>& save) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit cap{limit, limit};
        ::_exit(::setrlimit(RLIMIT_FSIZE, &cap) != 0 ? 2 : save() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "the child did not run";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(WriteLimits, AFailedSaveKeepsTheOldFileAndSaysSo) {
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dir.filePath("data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath("config")));
    const std::string song = tag_files::plainMp3();
    app::TypeChecks all{};
    all.fill(1);
    const struct {
        QString path;
        std::string old; // "" = no file before
        std::function<bool(const QString& path)> save;
    } writers[] = {
        {dir.filePath("mix.m3u"), "/old/1.mp3\r\n/old/2.mp3\r\n",
         [](const QString& p) {
             return playlist::writePlaylistFile(p, {"/a.mp3", "/b.mp3"});
         }},
        {dir.filePath("new.m3u"), "",
         [](const QString& p) { return playlist::writePlaylistFile(p, {"/a.mp3"}); }},
        {app::desktopEntryPath(), "[Desktop Entry]\nName=Old\nX-Mine=kept\n",
         [&](const QString&) { return app::writeDesktopEntry(all, nullptr); }},
        {app::desktopEntryPath(), "",
         [&](const QString&) { return app::writeDesktopEntry(all, nullptr); }},
        {app::mimeAppsPath(), "[Default Applications]\naudio/mpeg=other.desktop\n",
         [&](const QString&) { return app::writeMimeApps(all, nullptr); }},
        {dir.filePath("v1.mp3"), song,
         [](const QString& p) {
             return tags::write_id3v1_tag(p, {"T", "A", "B", "1999", ""}) == "";
         }},
        {dir.filePath("v2.mp3"), tag_files::id3v2(3, {{"TIT2", tag_files::text(0, "Old")}}) + song,
         [](const QString& p) {
             return tags::write_id3v2_tag(p, {"New", "A", "B", "1999", "", ""});
         }},
    };
    for (const rlim_t limit : {rlim_t{0}, rlim_t{4}}) {
        for (const auto& w : writers) {
            SCOPED_TRACE(w.path.toStdString() + (w.old.empty() ? " (new)" : "") + ", capped at " +
                         std::to_string(limit));
            const QDir folder = QFileInfo(w.path).absoluteDir();
            ASSERT_TRUE(folder.mkpath("."));
            QFile::remove(w.path);
            if (!w.old.empty())
                tag_files::write(w.path, w.old);
            const QStringList before = folder.entryList(QDir::Files);
            EXPECT_FALSE(savedUnderLimit(limit, [&] { return w.save(w.path); }));
            QFile file(w.path);
            EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<no file>",
                      w.old.empty() ? "<no file>" : w.old);
            EXPECT_EQ(folder.entryList(QDir::Files).join(' ').toStdString(),
                      before.join(' ').toStdString());
        }
    }
    for (const auto& w : writers) // without the cap the same saves succeed
        EXPECT_TRUE(w.save(w.path)) << w.path.toStdString();
}

} // namespace
