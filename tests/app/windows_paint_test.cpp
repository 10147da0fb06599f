// The real program in an X server, with the openbox window manager or none,
// driven through X input (xdotool) while a deck plays: every window and box it
// opens is on top and shows its content in a capture of the screen (xwd -root),
// not one flat colour.
#include "tests/fixtures/fixtures.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Runs a shell snippet (xdotool, xwd, ...) and returns what it printed.
QString sh(const QString& snippet) {
    QProcess p;
    p.start("bash", {"-c", snippet});
    p.waitForFinished(10000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

// The program's window that was not among the visible ones `before`, the
// newest if several; 0 when none appears within two seconds.
qulonglong newWindow(qint64 pid, const QStringList& before) {
    QElapsedTimer clock;
    clock.start();
    for (; clock.elapsed() < 2000; QThread::msleep(50)) {
        qulonglong newest = 0;
        for (const QString& id : sh(QString("xdotool search --onlyvisible --pid %1").arg(pid))
                                     .split('\n', Qt::SkipEmptyParts))
            if (!before.contains(id))
                newest = std::max(newest, id.toULongLong());
        if (newest)
            return newest;
    }
    return 0;
}

// The window's rectangle on the screen (empty when it is gone).
QRect rectOf(qulonglong window) {
    const QStringList v = sh(QString("xwininfo -id %1 | awk '/Absolute upper-left X/{x=$4} "
                                     "/Absolute upper-left Y/{y=$4} /Width:/{w=$2} "
                                     "/Height:/{h=$2} END{print x, y, w, h}'")
                                 .arg(window))
                              .split(' ');
    return QRect(v.value(0).toInt(), v.value(1).toInt(), v.value(2).toInt(), v.value(3).toInt());
}

// Whether the screen shows `window` at its centre: the window there (with a
// window manager, the frame around it) is it or holds it.
bool onTop(qulonglong window) {
    const QPoint centre = rectOf(window).center();
    const QString shown = sh(QString("xdotool mousemove %1 %2 getmouselocation --shell | sed -n "
                                     "'s/WINDOW=//p'")
                                 .arg(centre.x())
                                 .arg(centre.y()));
    return sh("xwininfo -tree -id " + shown).contains("0x" + QString::number(window, 16) + " ");
}

// The colours in the window's rectangle of a capture of the whole screen,
// kept as `png`.
int coloursOnScreen(qulonglong window, const QString& png) {
    const QRect r = rectOf(window);
    return sh(QString("xwd -root -silent | convert xwd:- -crop %1x%2+%3+%4 +repage -write '%5' "
                      "-format %k info:")
                  .arg(r.width())
                  .arg(r.height())
                  .arg(r.x())
                  .arg(r.y())
                  .arg(png))
        .toInt();
}

TEST(WindowsPaint, EveryWindowAndBoxShowsItsContentWhileADeckPlays) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    fixtures::Tone tone;
    tone.seconds = 60;
    const QString song = dir.filePath("song.mp3");
    fixtures::makeTone(song.toStdString(), tone);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VORLAN_AUDIO", "silent");
    env.insert("VORLAN_REGISTRY", dir.filePath("registry.db"));
    env.insert("HOME", dir.path());
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(VORLAN_PROGRAM, {song});
    ASSERT_TRUE(program.waitForStarted());
    const qint64 pid = program.processId();
    QThread::msleep(2500); // the splash, the main window, the left deck playing

    const auto window = [](const QString& title) {
        return "xdotool search --onlyvisible --name '" + title + "' ";
    };
    const auto click = [&](const QString& title, int x, int y) {
        return window(title) + "mousemove --window %1 " + QString::number(x) + " " +
               QString::number(y) + " click 1";
    };
    // Keys typed into the main window (through the X test input: chained to
    // the window, xdotool would send them as synthetic events).
    const auto key = [&](const QString& keys) {
        return window("^Vorlan$") + "windowfocus --sync %1; xdotool key " + keys;
    };
    const QString associate = "^Associate Music files", options = "^Options$",
                  playlist = "DJ Playlist", mainWindow = "^Vorlan$";
    // Each row: what prepares it, what opens the window, the window's name
    // (empty: the program's window that appears after the opening), what
    // closes it again.
    struct Row {
        const char* name;
        QString prepare, open, title, close;
    };
    const std::vector<Row> rows{
        {"first_run_file_types", "", "", associate, click(associate, 321, 13)},
        {"close_refusal", "", click(mainWindow, 850, 13), "", "xdotool key Return"},
        {"options_window", "", key("F10"), "", ""},
        {"options_drop_down", "", click(options, 110, 57), "", "xdotool key Escape"},
        {"file_types_window", "", click(options, 74, 409), "",
         click(associate, 321, 13) + "; sleep 0.3; " + click(options, 421, 13)},
        {"tag_editor", key("F12"), click(playlist, 494, 291), "", "xdotool key Escape"},
        {"playlist_saved",
         click(playlist, 494, 129) + "; sleep 1; xdotool type '" + dir.filePath("list.m3u") + "'",
         "xdotool key Return", "", "xdotool key Return; sleep 0.3; " + click(playlist, 541, 13)},
        {"file_not_found", "rm '" + song + "'", key("p"), "",
         "xdotool key Return; sleep 0.5; xdotool key Return"}, // and yes, remove it
        {"autodj_no_playlist", "", key("shift+Return"), "", "xdotool key Return"},
        {"save_playlist_question", key("2"), click(mainWindow, 850, 13), "", "xdotool key Escape"},
    };
    const QString shots =
        qEnvironmentVariable("VORLAN_SCREENSHOTS", QDir::tempPath()) + "/" + SHOTS_PREFIX;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        sh("xdotool mousemove 0 0"); // over no control: no tooltip opens
        sh(row.prepare);
        QThread::msleep(500);
        const QStringList before =
            sh(QString("xdotool search --onlyvisible --pid %1").arg(pid)).split('\n');
        sh(row.open);
        const qulonglong opened =
            row.title.isEmpty() ? newWindow(pid, before) : sh(window(row.title)).toULongLong();
        if (!opened)
            sh("xwd -root -silent | convert xwd:- '" + shots + "_screen.png'");
        ASSERT_NE(opened, 0u) << "no window opened; the screen: " << shots.toStdString()
                              << "_screen.png";
        QThread::msleep(300); // mapped and exposed; the first paint is due at once
        const QString png = shots + "_" + row.name + ".png";
        EXPECT_GT(coloursOnScreen(opened, png), 1)
            << "one flat colour on the screen: " << png.toStdString();
        EXPECT_TRUE(onTop(opened)) << "covered by another window";
        sh(row.close);
    }
    program.kill();
    program.waitForFinished();
}

} // namespace
