// The association window: the class registrations it reads and writes on a
// registry of the test's own, the desktop entry and the default-application
// list in the test's own XDG folders, the start-up offer and the options
// window's button.
#include "app/associate_window.h"
#include "app/desktop_integration.h"
#include "app/main_window.h"
#include "app/options_window.h"
#include "controls/widgets/console_button.h"
#include "core/fixed_texts.h"
#include "core/program_state.h"
#include "core/registry_values.h"
#include "platform/system/folders.h"
#include "tests/app/program_fixture.h"
#include "tests/support/screenshots.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

namespace {

using Checks = app::TypeChecks;
const QString kNotSet = "<not set>";

// The default value of a key under the classes root; kNotSet when missing.
QString classesDefault(const QString& key) {
    const QString value = core::get_RegValue(reg::HKEY_CLASSES_ROOT, key, QString());
    return value == core::notFoundMarker() ? kNotSet : value;
}

bool classesKeyExists(const QString& key) {
    reg::HKEY handle = 0;
    if (reg::RegOpenKeyEx(reg::HKEY_CLASSES_ROOT, key, 0, reg::KEY_READ, &handle) !=
        reg::ERROR_SUCCESS)
        return false;
    reg::RegCloseKey(handle);
    return true;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// What desktop-file-validate says of `path` ("" when it accepts it).
QString validateDesktopEntry(const QString& path) {
    const QString tool = QStandardPaths::findExecutable("desktop-file-validate");
    if (tool.isEmpty())
        return "desktop-file-validate is not installed";
    QProcess process;
    process.start(tool, {path});
    process.waitForFinished(30000);
    const QString said =
        QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError());
    return process.exitCode() == 0 && !said.contains("error:") ? QString() : said;
}

class AssociateTest : public app_test::ProgramTest {
protected:
    void SetUp() override {
        app_test::ProgramTest::SetUp();
        qputenv("XDG_CONFIG_HOME", (folder() + "/config").toUtf8());
        QDir().mkpath(folder() + "/config");
    }

    // Loads the dialog, sets the boxes and presses Update.
    void update(const Checks& checks) {
        frmAssociate* w = frmAssociate::load(*state);
        const std::array<QCheckBox*, app::kFileTypeCount> boxes{
            w->chkMP3,  w->chkWMA,  w->chkASF, w->chkWAV, w->chkM3U,
            w->chkFLAC, w->chkAIFF, w->chkM4A, w->chkOGG, w->chkOPUS};
        for (int i = 0; i < app::kFileTypeCount; ++i)
            boxes[i]->setChecked(checks[i] == 1);
        w->show();
        QTest::mouseClick(w->cmdAssociate, Qt::LeftButton);
        flushDeletes();
        EXPECT_FALSE(state->associateWindow) << "Update unloads the dialog";
    }

    // What a fresh dialog shows.
    Checks shown() {
        frmAssociate* w = frmAssociate::load(*state);
        const Checks checks = w->checkValues();
        w->cmdcloseButton_Click();
        flushDeletes();
        return checks;
    }
};

// Each row: the boxes checked when Update is pressed, after the previous rows.
struct UpdateCase {
    const char* what;
    Checks checks;
};

TEST_F(AssociateTest, UpdateWritesClassesDesktopEntryAndDefaults) {
    const QString command = sys::programFolder() + "/vorlan %1";
    // Another program owns WAV before we start; its desktop default stays.
    core::save_RegValue(reg::HKEY_CLASSES_ROOT, ".wav", QString(), reg::REG_SZ, "Other.Wave");
    writeFile(app::mimeAppsPath(), "[Default Applications]\naudio/x-wav=other.desktop;\n");
    EXPECT_EQ(shown(), Checks{}) << "a type of another program shows unchecked";

    const UpdateCase cases[] = {
        {"none while WAV is another program's", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"all", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        {"MP3 kept, WMA and M4A dropped", {1, 0, 1, 1, 1, 1, 1, 0, 1, 1}},
        {"WAV, M3U and AIFF only (one class)", {0, 0, 0, 1, 1, 0, 1, 0, 0, 0}},
        {"FLAC, M4A, OGG, OPUS only", {0, 0, 0, 0, 0, 1, 0, 1, 1, 1}},
        {"none", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const UpdateCase& c : cases) {
        SCOPED_TRACE(c.what);
        update(c.checks);
        EXPECT_EQ(shown(), c.checks);
        QStringList wantedTypes;
        for (int i = 0; i < app::kFileTypeCount; ++i) {
            const app::FileType& type = app::kFileTypes[i];
            const bool on = c.checks[i] == 1;
            EXPECT_EQ(classesDefault(type.extension), on ? type.className : kNotSet)
                << type.extension;
            // A class lives while any checked type uses it, with all its entries.
            bool used = false;
            for (int j = 0; j < app::kFileTypeCount; ++j)
                used = used || (c.checks[j] == 1 &&
                                QString(app::kFileTypes[j].className) == type.className);
            const QString cls = type.className;
            EXPECT_EQ(classesKeyExists(cls), used) << cls.toStdString();
            if (used) {
                EXPECT_EQ(classesDefault(cls), type.description);
                EXPECT_EQ(classesDefault(cls + "\\shell\\open\\command"), command);
                EXPECT_EQ(classesDefault(cls + "\\shell\\Play\\command"), command);
                EXPECT_EQ(classesDefault(cls + "\\DefaultIcon"), sys::programFolder() + "/vorlan");
            }
            if (on)
                wantedTypes << app::mimeTypesOf(type);
        }
        // The desktop entry names exactly the checked types and passes the validator.
        const QString entry = QString::fromUtf8(readFile(app::desktopEntryPath()));
        EXPECT_TRUE(entry.contains("\nExec=\"" + sys::programFolder() + "/vorlan\" %f\n"))
            << entry.toStdString();
        if (wantedTypes.isEmpty())
            EXPECT_FALSE(entry.contains("MimeType=")) << entry.toStdString();
        else
            EXPECT_TRUE(entry.contains("\nMimeType=" + wantedTypes.join(';') + ";\n"))
                << entry.toStdString();
        EXPECT_EQ(validateDesktopEntry(app::desktopEntryPath()), QString());
        // Checked types point at Vorlan; WAV keeps the other program behind it.
        QByteArray defaults = "[Default Applications]\n";
        const bool wav = c.checks[3] == 1;
        defaults +=
            wav ? "audio/x-wav=vorlan.desktop;other.desktop;\n" : "audio/x-wav=other.desktop;\n";
        for (int i = 0; i < app::kFileTypeCount; ++i)
            for (const QString& type : app::mimeTypesOf(app::kFileTypes[i]))
                if (i != 3 && c.checks[i] == 1)
                    defaults += type.toUtf8() + "=vorlan.desktop;\n";
        // Keys are added after the last one, in the order the types were first checked.
        QByteArray list = readFile(app::mimeAppsPath());
        QList<QByteArray> got = list.split('\n'), want = defaults.split('\n');
        std::sort(got.begin() + 1, got.end());
        std::sort(want.begin() + 1, want.end());
        EXPECT_EQ(got, want) << list.toStdString();
    }
}

TEST_F(AssociateTest, DefaultApplicationListKeepsOtherProgramsAndComments) {
    const QByteArray original = "# kept by hand\n"
                                "[Default Applications]\n"
                                "audio/mpeg=other.desktop;\n"
                                "text/plain=editor.desktop;\n"
                                "\n"
                                "# other programs' additions\n"
                                "[Added Associations]\n"
                                "audio/mpeg=other.desktop;third.desktop;\n"
                                "[X-Custom Group]\n"
                                "Anything=at all\n";
    // The list is a link into a dotfiles folder, readable by its owner only.
    QDir().mkpath(folder() + "/dotfiles");
    const QString real = folder() + "/dotfiles/mimeapps.list";
    writeFile(real, original);
    ::chmod(QFile::encodeName(real).constData(), 0600);
    ASSERT_TRUE(QFile::link(real, app::mimeAppsPath()));

    update({1, 1, 1, 1, 1});
    const QByteArray all = readFile(real);
    EXPECT_TRUE(all.startsWith("# kept by hand\n[Default Applications]\n"
                               "audio/mpeg=vorlan.desktop;other.desktop;\n"
                               "text/plain=editor.desktop;\n"
                               "audio/x-ms-wma=vorlan.desktop;\n"))
        << all.toStdString();
    EXPECT_TRUE(all.endsWith("\n\n# other programs' additions\n[Added Associations]\n"
                             "audio/mpeg=other.desktop;third.desktop;\n"
                             "[X-Custom Group]\nAnything=at all\n"))
        << all.toStdString();

    // Unchecking everything gives back the file byte for byte, still a link, still private.
    update({0, 0, 0, 0, 0});
    EXPECT_EQ(readFile(real), original);
    EXPECT_TRUE(QFileInfo(app::mimeAppsPath()).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(real).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(folder() + "/dotfiles").entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(AssociateTest, CheckingATypeWithdrawsItsRemovalAndUncheckingDropsItsAddition) {
    writeFile(app::mimeAppsPath(), "[Removed Associations]\naudio/mpeg=vorlan.desktop;\n"
                                   "[Added Associations]\naudio/x-wav=vorlan.desktop;x.desktop;\n");
    update({1, 0, 0, 0, 0});
    EXPECT_EQ(readFile(app::mimeAppsPath()),
              "[Removed Associations]\n[Added Associations]\naudio/x-wav=x.desktop;\n"
              "\n[Default Applications]\naudio/mpeg=vorlan.desktop;\n");
}

// The entry the package installs offers every type the window can associate.
TEST_F(AssociateTest, InstalledDesktopEntryOffersEveryType) {
    QStringList offered;
    for (const QByteArray& line : readFile(VORLAN_DESKTOP_ENTRY).split('\n'))
        if (line.startsWith("MimeType="))
            offered = QString::fromUtf8(line.mid(9)).split(';', Qt::SkipEmptyParts);
    QStringList types;
    for (const app::FileType& type : app::kFileTypes)
        types << app::mimeTypesOf(type);
    std::sort(offered.begin(), offered.end());
    std::sort(types.begin(), types.end());
    EXPECT_EQ(offered, types);
}

TEST_F(AssociateTest, ExecLineQuotesTheProgramPath) {
    EXPECT_EQ(app::desktopExecValue("/usr/bin/vorlan"), "\"/usr/bin/vorlan\" %f");
    EXPECT_EQ(app::desktopExecValue("/home/dj/My Music $Tools/100%/a\"b\\c/vorlan"),
              "\"/home/dj/My Music \\\\$Tools/100%%/a\\\\\"b\\\\\\\\c/vorlan\" %f");
}

TEST_F(AssociateTest, StartupOfferShownOnlyWhenAskedAndFewTypesBelongToUs) {
    struct Case {
        const char* what;
        const char* optStartUp; // nullptr: first run (no settings)
        int ours;               // types associated before the start
        bool shown;
    } cases[] = {
        {"first run", nullptr, 0, true},
        {"asked, one type ours", "1", 1, true},
        {"asked, two types ours", "1", 2, false},
        {"not asked", "0", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        state = std::make_unique<core::ProgramState>(dialogs);
        state->endProgram = [](int) {};
        reg::RegUseDatabase(folder() + "/" + c.what + ".db");
        if (c.optStartUp) {
            app_test::writeSetting("InitQuality", "CD Quality - 44100Hz");
            app_test::writeSetting("optStartUp", c.optStartUp);
        }
        Checks ours{};
        for (int i = 0; i < c.ours; ++i)
            ours[i + 2] = 1;
        app::Associate_Files(ours);
        halvoranF* main = startProgram();
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(state->associateWindow) << "loaded in every case";
        EXPECT_EQ(state->associatedTypes, c.ours);
        EXPECT_EQ(state->associateWindow->isVisible(), c.shown);
        if (c.shown) {
            EXPECT_FALSE(state->associateWindow->isModal());
            EXPECT_EQ(state->associateWindow->parentWidget(), main);
        }
        closeProgram();
        EXPECT_FALSE(state->associateWindow);
    }
}

TEST_F(AssociateTest, StartupTextTogglesTheBoxAndEscapeKeepsTheFlagWithoutWriting) {
    state->settings.optStartUp = 1;
    frmAssociate* w = frmAssociate::load(*state);
    w->show();
    EXPECT_TRUE(w->chkStartupShow->isChecked());
    w->chkMP3->setChecked(true);
    QTest::mouseClick(w->lblStartup, Qt::LeftButton);
    EXPECT_FALSE(w->chkStartupShow->isChecked());
    EXPECT_EQ(state->settings.optStartUp, 0);
    QTest::mouseClick(w->lblStartup, Qt::LeftButton);
    QTest::mouseClick(w->chkStartupShow, Qt::LeftButton);
    EXPECT_EQ(state->settings.optStartUp, 1) << "the box itself changes the flag only on closing";
    QTest::keyClick(w, Qt::Key_Escape);
    flushDeletes();
    EXPECT_FALSE(state->associateWindow);
    EXPECT_EQ(state->settings.optStartUp, 0);
    EXPECT_EQ(classesDefault(".mp3"), kNotSet) << "Escape writes no association";
    EXPECT_FALSE(QFile::exists(app::desktopEntryPath()));
}

TEST_F(AssociateTest, OptionsFileTypesButtonShowsTheDialogModally) {
    ASSERT_NE(startProgram(), nullptr);
    if (state->associateWindow)
        state->associateWindow->cmdcloseButton_Click();
    flushDeletes();
    optionsF* options = state->optionsWindow;
    ASSERT_NE(options, nullptr);
    app::Associate_Files({1, 1, 0, 1, 0});
    bool seen = false;
    QTimer::singleShot(0, [&] {
        frmAssociate* w = state->associateWindow;
        seen = w && w->isVisible() && w->isModal() && w->parentWidget() == options;
        if (w) {
            testing_support::saveScreenshot(w, "frmAssociate");
            QTest::keyClick(w, Qt::Key_Escape);
        }
    });
    QTest::mouseClick(options->cmdAssociate, Qt::LeftButton);
    EXPECT_TRUE(seen);
    flushDeletes();
    EXPECT_FALSE(state->associateWindow);
}

} // namespace
