// The installed program: `cmake --install` into a temporary prefix lays out
// the program, its libraries, the desktop entry, the icons, the help, the
// AppStream metainfo and the copyright file; the installed program starts
// from there (its libraries found without LD_LIBRARY_PATH) with a song
// argument, unattended, and exits 0; and the Debian package lists the
// runtime packages it needs.
#include "tests/fixtures/fixtures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct Finished {
    int exitCode = -1;
    QString output;
};

Finished run(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
             int timeoutMs = 240000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, "timed out: " + QString::fromUtf8(process.readAll())};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    return {code, QString::fromUtf8(process.readAll())};
}

// An environment for the installed program: nothing of the build's, its own
// registry and XDG folders under `home`.
QProcessEnvironment programEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("LD_LIBRARY_PATH");
    env.insert("HOME", home);
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("VORLAN_REGISTRY", home + "/registry.db");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VORLAN_AUDIO", "silent");
    env.insert("VORLAN_QUIT_AFTER_MS", "1500");
    env.insert("VORLAN_SCREENSHOT", home + "/main-window.png");
    // Leaks are the other tests' matter; the suppressions file may lie where
    // the user cannot read it.
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    env.remove("LSAN_OPTIONS");
    return env;
}

TEST(Install, LaidOutUnderThePrefixAndRunsFromThere) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString prefix = dir.path() + "/prefix";
    const Finished install =
        run(VORLAN_CMAKE, {"--install", VORLAN_BINARY_DIR, "--prefix", prefix});
    ASSERT_EQ(install.exitCode, 0) << install.output.toStdString();

    // The program, the four components and the libraries they share.
    const QString program = prefix + "/bin/vorlan";
    const QString libs = prefix + "/" + VORLAN_INSTALL_LIBDIR;
    for (const char* lib : {"qzvlcdisp", "qzvpeak", "tagweave", "qzvenv"})
        EXPECT_TRUE(QFile::exists(libs + "/lib" + lib + ".so")) << lib;
    // The desktop's view: entry, icon at every size, help.
    const QString share = prefix + "/share";
    EXPECT_TRUE(QFile::exists(share + "/applications/vorlan.desktop"));
    EXPECT_TRUE(QFile::exists(share + "/icons/hicolor/scalable/apps/vorlan.svg"));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage icon(QString("%1/icons/hicolor/%2x%2/apps/vorlan.png").arg(share).arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
    EXPECT_TRUE(QFile::exists(share + "/vorlan/help/index.html"));
    // The help file the program opens (F1) from its own folder.
    EXPECT_TRUE(QFile::exists(QDir::cleanPath(prefix + "/bin/" + VORLAN_HELP_FROM_BINDIR)));
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    ASSERT_FALSE(validator.isEmpty()) << "desktop-file-validate is not installed";
    const Finished valid = run(validator, {share + "/applications/vorlan.desktop"});
    EXPECT_EQ(valid.exitCode, 0) << valid.output.toStdString();
    // Software centres list the program: its metainfo is valid, and within
    // the prefix (validate-tree) it names the installed desktop entry.
    const QString appstream = QStandardPaths::findExecutable("appstreamcli");
    ASSERT_FALSE(appstream.isEmpty()) << "appstream is not installed";
    for (const QStringList& check :
         {QStringList{"validate", "--no-net", share + "/metainfo/org.vorlan.vorlan.metainfo.xml"},
          QStringList{"validate-tree", "--no-net", prefix}}) {
        const Finished listed = run(appstream, check);
        EXPECT_EQ(listed.exitCode, 0) << listed.output.toStdString();
    }
    // The licence in Debian's machine-readable copyright format.
    QFile copyright(share + "/doc/vorlan/copyright");
    ASSERT_TRUE(copyright.open(QIODevice::ReadOnly));
    const QString licence = QString::fromUtf8(copyright.readAll());
    EXPECT_TRUE(licence.startsWith(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));
    EXPECT_TRUE(QRegularExpression("^Files: \\*\nCopyright: .+\nLicense: GPL-3.0-or-later\n",
                                   QRegularExpression::MultilineOption)
                    .match(licence)
                    .hasMatch())
        << licence.toStdString();

    // Every library of ours resolves inside the prefix, with no LD_LIBRARY_PATH.
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove("LD_LIBRARY_PATH");
    const Finished ldd = run("ldd", {program}, bare);
    ASSERT_EQ(ldd.exitCode, 0) << ldd.output.toStdString();
    EXPECT_FALSE(ldd.output.contains("not found")) << ldd.output.toStdString();
    const QRegularExpression ours(R"(lib(qzv\w+|tagweave|vorlan_\w+)\.so => (\S+))");
    int found = 0;
    for (auto m = ours.globalMatch(ldd.output); m.hasNext(); ++found) {
        const auto match = m.next();
        EXPECT_TRUE(match.captured(2).startsWith(prefix + "/")) << match.captured(0).toStdString();
    }
    EXPECT_GE(found, 4);

    // Finished as an ordinary user for whom the program folder is read-only (as
    // installed programs are): the default playlist folder goes to the data folder.
    const QString home = dir.path() + "/home";
    ASSERT_TRUE(QDir().mkpath(home));
    fixtures::Tone tone;
    tone.seconds = 3.0;
    const auto song = fixtures::makeTone((home + "/Opening Song.mp3").toStdString(), tone);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(prefix + "/bin",
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QString runner = program;
    QStringList arguments{QString::fromStdString(song.string())};
    if (::geteuid() == 0) {
        // Root may write anywhere: run as nobody, who owns only the home folder.
        ASSERT_EQ(run("chown", {"-R", "65534:65534", home}).exitCode, 0);
        runner = "setpriv";
        arguments =
            QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + arguments;
    }
    const Finished started = run(runner, arguments, programEnvironment(home), 120000);
    EXPECT_EQ(started.exitCode, 0) << started.output.toStdString();
    EXPECT_TRUE(started.output.contains("vorlan: main window shown"))
        << started.output.toStdString();
    EXPECT_FALSE(QImage(home + "/main-window.png").isNull());
    EXPECT_TRUE(QDir(home + "/data/vorlan/Playlists").exists());
    EXPECT_FALSE(QDir(prefix + "/bin/Playlists").exists());
    QFile::setPermissions(prefix + "/bin", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Install, DebianPackageDependsOnTheRuntimePackages) {
    const QString dpkgShlibdeps = QStandardPaths::findExecutable("dpkg-shlibdeps");
    ASSERT_FALSE(dpkgShlibdeps.isEmpty()) << "dpkg-dev is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const Finished pack = run(VORLAN_CPACK, {"-G", "DEB", "-B", dir.path(), "--config",
                                             QString(VORLAN_BINARY_DIR) + "/CPackConfig.cmake",
                                             "-D", "CPACK_DEBIAN_COMPRESSION_TYPE=gzip"});
    ASSERT_EQ(pack.exitCode, 0) << pack.output.toStdString();
    const QStringList debs = QDir(dir.path()).entryList({"vorlan_*.deb"}, QDir::Files);
    ASSERT_EQ(debs.size(), 1) << pack.output.toStdString();
    const QString deb = dir.path() + "/" + debs[0];

    const Finished info = run("dpkg-deb", {"--field", deb, "Depends"});
    ASSERT_EQ(info.exitCode, 0) << info.output.toStdString();
    for (const char* package :
         {"libqt6widgets6", "libqt6gui6", "libqt6core6", "qt6-qpa-plugins", "libavformat\\d+",
          "libavcodec\\d+", "libswresample\\d+", "libavutil\\d+", "libsamplerate0", "libportaudio2",
          "libjack-jackd2-0", "libsqlite3-0", "libtag1v5", "libc6", "libstdc\\+\\+6"})
        EXPECT_TRUE(QRegularExpression(QString("(^|, )%1( |,|$)").arg(package))
                        .match(info.output.trimmed())
                        .hasMatch())
            << package << " in " << info.output.toStdString();

    const Finished contents = run("dpkg-deb", {"--contents", deb});
    ASSERT_EQ(contents.exitCode, 0);
    for (const char* file :
         {"./usr/bin/vorlan", "/vorlan/libqzvenv.so", "./usr/share/applications/vorlan.desktop",
          "./usr/share/icons/hicolor/scalable/apps/vorlan.svg", "./usr/share/vorlan/help/",
          "./usr/share/metainfo/org.vorlan.vorlan.metainfo.xml",
          "./usr/share/doc/vorlan/copyright"})
        EXPECT_TRUE(contents.output.contains(file)) << file;
}

} // namespace
