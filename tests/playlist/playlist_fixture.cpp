#include "tests/playlist/playlist_fixture.h"

#include "platform/audio/offline.h"
#include "platform/registry/registry.h"
#include "tests/support/qt_app.h"
#include "tests/tags/tag_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <unistd.h>

namespace playlist_test {

void PlaylistTest::SetUp() {
    testing_support::qtApp();
    ASSERT_TRUE(dir_.isValid());
    reg::RegUseDatabase(dir_.path() + "/registry.db");
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr));
    state = std::make_unique<core::ProgramState>(dialogs);
}

void PlaylistTest::TearDown() {
    state.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    BASS_Free();
    reg::RegUseDatabase({});
    EXPECT_EQ(dialogs.pendingAnswers(), 0u) << "answers queued but never asked for";
}

playlistF* PlaylistTest::load() {
    w = playlistF::load(*state);
    return w;
}

QStringList PlaylistTest::paths() const {
    return state->playlist.paths();
}

QStringList PlaylistTest::lines() const {
    QStringList out;
    for (int i = 0; i < state->playlist.count(); ++i)
        out << state->playlist.line(i);
    return out;
}

void PlaylistTest::add(const QStringList& names, const QString& from) {
    dialogs.expectFile(names.size() == 1 ? from + "/" + names[0]
                                         : from + QChar(0) + names.join(QChar(0)));
    w->addCB_Click();
}

QString PlaylistTest::file(const QString& name, const QByteArray& bytes) const {
    const QString path = dir_.path() + "/" + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
    return path;
}

QString unwritableFolder(const QString& parent) {
    if (::geteuid() == 0)
        return "/proc";
    const QString folder = parent + "/locked";
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    return folder;
}

void releaseFolder(const QString& folder) {
    if (folder != "/proc")
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

QByteArray taggedSong(const QString& title, const QString& artist) {
    using namespace tag_files;
    return QByteArray::fromStdString(
        id3v2(3, {{"TIT2", text(0, title)}, {"TPE1", text(0, artist)}}) + plainMp3());
}

} // namespace playlist_test
