// What start-up sets up, the version refusal, engine failures at start-up,
// the help-file rule, the splash, and the close and what it releases.
#include "app/browser_version.h"
#include "app/main_window.h"
#include "app/options_window.h"
#include "app/program_path.h"
#include "app/splash_window.h"
#include "controls/lcd/qzvLCD.h"
#include "controls/widgets/slider.h"
#include "core/fixed_texts.h"
#include "core/registry_values.h"
#include "decks/decks.h"
#include "engine/engine_helpers.h"
#include "env/system.h"
#include "env/user.h"
#include "platform/audio/offline.h"
#include "platform/system/folders.h"
#include "playlist/playlist_window.h"
#include "tests/app/program_fixture.h"
#include "tests/env/broadcast_counter.h"
#include "tests/fixtures/fixtures.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

namespace {

class StartupTest : public app_test::ProgramTest {
protected:
    void TearDown() override {
        BASS_Offline_FailNextInit(0);
        BASS_Offline_FailNextStart(0);
        app_test::ProgramTest::TearDown();
    }
};

TEST_F(StartupTest, StartUpShowsTheMainWindowWithItsStartValues) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(QDir::currentPath(), sys::programFolder());

    // The main window is shown, the options window loaded hidden; the splash
    // stays until tmrAsync has loaded the playlist window.
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(state->splash);
    ASSERT_TRUE(state->optionsWindow);
    EXPECT_TRUE(state->optionsWindow->isHidden());

    // Timers: the track timer runs, the others wait for their owners.
    EXPECT_TRUE(w->tmrTrackLength.isActive());
    EXPECT_EQ(w->tmrTrackLength.interval(), 80);
    for (QTimer* t : {w->decks->left().controls().cueTimer, w->decks->right().controls().cueTimer})
        EXPECT_EQ(t->interval(), 80);
    EXPECT_EQ(w->decks->left().controls().turntableStopTimer->interval(), 30);
    EXPECT_EQ(w->decks->right().controls().turntableStopTimer->interval(), 30);
    EXPECT_EQ(w->tmrAutoFade.interval(), 100);
    EXPECT_EQ(w->tmrAsync.interval(), 1);
    EXPECT_TRUE(w->tmrAsync.isActive());
    for (QTimer* t : std::initializer_list<QTimer*>{
             w->decks->left().controls().cueTimer, w->decks->right().controls().cueTimer,
             w->decks->left().controls().turntableStopTimer,
             w->decks->right().controls().turntableStopTimer, &w->tmrAutoFade})
        EXPECT_FALSE(t->isActive());
    // Each keeps the interval it states (a coarse timer may stretch it by 5 %).
    for (QTimer* t : std::initializer_list<QTimer*>{
             &w->tmrTrackLength, w->decks->left().controls().cueTimer,
             w->decks->right().controls().cueTimer, w->decks->left().controls().turntableStopTimer,
             w->decks->right().controls().turntableStopTimer, &w->tmrAutoFade, &w->tmrAsync})
        EXPECT_EQ(t->timerType(), Qt::PreciseTimer);
    w->tmrAsync_Timer();
    EXPECT_FALSE(w->tmrAsync.isActive());
    EXPECT_FALSE(state->splash);
    EXPECT_TRUE(state->playlistWindow);

    // Displays, mixer start values, key hints.
    EXPECT_EQ(w->decks->left().controls().lcd->Song(), "Vorlan");
    EXPECT_EQ(w->decks->right().controls().lcd->Song(), "Vorlan");
    EXPECT_EQ(state->crossMax, 100);
    EXPECT_EQ(state->crossCentre, 50);
    EXPECT_EQ(w->mixerPanel.desk.crossFaderScroll->Value(), 50);
    EXPECT_EQ(w->mixerPanel.desk.MainVolScroll->Value(), 50);
    for (QLineEdit* hint : w->keyboardTXT)
        EXPECT_TRUE(hint->isHidden());

    // The engine runs with the first-run settings: a second start is refused.
    EXPECT_FALSE(BASS_Init(-1, 44100, 0, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    EXPECT_TRUE(QDir(sys::systemFolder() + "/Vorlan Loops").exists());
}

TEST_F(StartupTest, LoadingTheMainWindowTwiceDoesNothing) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    const auto forms = state->forms.size();
    EXPECT_EQ(halvoranF::load(*state), w);
    EXPECT_EQ(state->forms.size(), forms);
    EXPECT_EQ(state->mainWindow.data(), w);
}

// A song on the command line that cannot be played shows its box while the
// main window loads; the box runs events, and the load has unloaded the
// splash by then. The program comes up with the box answered.
TEST_F(StartupTest, ABoxDuringTheLoadLeavesTheProgramRunning) {
    state->commandLine = fileWith("not audio.mp3", QByteArray(4096, 'x'));
    dialogs.whileBoxShown = [] {
        QEventLoop box;
        QTimer::singleShot(10, &box, &QEventLoop::quit);
        box.exec();
    };
    dialogs.expectBox(ui::vbOK);
    halvoranF* w = startProgram();
    dialogs.whileBoxShown = nullptr;
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(state->programEnded);
    ASSERT_FALSE(dialogs.boxes().empty());
    for (const auto& box : dialogs.boxes())
        EXPECT_TRUE(box.text.startsWith("The selected file could not be loaded."))
            << box.text.toStdString();
    dialogs.expectBox(ui::vbNo); // the close asks to save the playlist
}

TEST_F(StartupTest, WrongAudioLibraryVersionEndsTheProgram) {
    state->bassVersionText = [] { return QString("1.5"); };
    dialogs.expectBox(ui::vbOK);
    loadingF* splash = loadingF::load(*state);
    splash->tmrLoad_Timer();
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].title, "10X022F");
    EXPECT_EQ(dialogs.boxes()[0].text, core::versionRefusalText());
    EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbCritical);
    EXPECT_TRUE(state->programEnded);
    EXPECT_NE(state->exitCode, 0);
    EXPECT_FALSE(state->optionsWindow); // the load stopped before the options
    EXPECT_FALSE(splash->tmrLoad.isActive());
    EXPECT_FALSE(splash->tmrSplash.isActive());
    EXPECT_FALSE(state->mainWindow && state->mainWindow->isVisible());
    // The engine was never started.
    EXPECT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr));
}

TEST_F(StartupTest, EngineThatCannotInitializeEndsTheProgram) {
    ASSERT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr)); // the device is taken
    dialogs.expectBox(ui::vbOK);
    std::vector<int> ended;
    state->endProgram = [&ended](int code) { ended.push_back(code); };
    EXPECT_EQ(startProgram(), nullptr);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text,
              "Can't initialize digital sound system. Already Initialized\r\n\r\nError Code : 14");
    EXPECT_EQ(dialogs.boxes()[0].title, "Error");
    EXPECT_EQ(ended, std::vector<int>{1});
    EXPECT_FALSE(state->mainWindow);
}

// The stored device is gone (the engine refuses its number): the program
// starts on the default device, says so in the options window, and keeps it.
TEST_F(StartupTest, AStoredDeviceThatIsGoneGivesWayToTheDefault) {
    app_test::writeSetting("initDevice", "Offline output");
    BASS_Offline_FailNextInit(BASS_ERROR_DEVICE);
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_FALSE(state->programEnded);
    EXPECT_EQ(state->engine.deviceInUse, -1);
    ASSERT_TRUE(state->optionsWindow);
    EXPECT_EQ(state->optionsWindow->cmbDevice->currentText(), "Default Sound Device");
    closeProgram();
    EXPECT_EQ(app_test::readSettingRaw("initDevice"), "Default Sound Device");
}

TEST_F(StartupTest, OutputThatCannotStartEndsTheProgram) {
    BASS_Offline_FailNextStart(BASS_ERROR_DRIVER);
    dialogs.expectBox(ui::vbOK);
    EXPECT_EQ(startProgram(), nullptr);
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text, "Can't start digital output. Can't Find a Free Sound "
                                       "Driver\r\n\r\nError Code : 3");
    EXPECT_TRUE(state->programEnded);
    EXPECT_EQ(state->exitCode, 1);
    // The main window was unloaded through its shutdown: the engine is free again.
    EXPECT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr));
}

TEST_F(StartupTest, ThrowErrorShowsTheEngineErrorCode) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    BASS_ChannelPause(0x4242); // fails: invalid handle
    dialogs.expectBox(ui::vbOK);
    w->ThrowError("Can't play file. Please choose another file...");
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text,
              "Can't play file. Please choose another file...\r\n\r\nError Code : 5");
}

TEST(HelpFileRule, BrowserVersions) {
    auto v = app::parseBrowserVersion("5.50.4807.2300");
    EXPECT_EQ(v.major, 5);
    EXPECT_EQ(v.minor, 50);
    EXPECT_EQ(app::helpFileFor(v, "/opt/vorlan/bin"), "/opt/vorlan/share/vorlan/help/index.html");
    v = app::parseBrowserVersion("3.02.1234");
    EXPECT_EQ(v.major, 3);
    EXPECT_EQ(v.minor, 2);
    EXPECT_EQ(app::helpFileFor(v, "/opt/vorlan"), "");
    v = app::parseBrowserVersion("4.71");
    EXPECT_EQ(v.major, 4);
    EXPECT_EQ(v.minor, 71); // a single dot: the minor number runs to the end
    v = app::parseBrowserVersion("3.80");
    EXPECT_EQ(app::helpFileFor(v, "/opt/vorlan/bin"), "/opt/vorlan/share/vorlan/help/index.html");
    v = app::parseBrowserVersion(core::notFoundMarker());
    EXPECT_EQ(v.major, 0);
    EXPECT_EQ(v.minor, 0);
    EXPECT_EQ(app::helpFileFor(v, "/opt/vorlan"), "");
    v = app::parseBrowserVersion(" 6 ");
    EXPECT_EQ(v.major, 0);
    EXPECT_EQ(v.minor, 0);
}

TEST_F(StartupTest, HelpFileFromTheRegistry) {
    core::save_RegValue(reg::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Internet Explorer",
                        "Version", reg::REG_SZ, QString("5.50.4807.2300"));
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ieMajor, 5);
    EXPECT_EQ(w->ieMinor, 50);
    EXPECT_EQ(state->appHelpFile,
              QDir::cleanPath(sys::programFolder() + "/../share/vorlan/help/index.html"));
}

// No browser version recorded (every Linux desktop): the help is set, also
// where nothing opens web pages (F1 then says where the help page is); a
// recorded version too old for the help is not overruled.
TEST_F(StartupTest, NoBrowserVersionStillSetsTheHelp) {
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", ""); // no xdg-open
    halvoranF* w = startProgram();
    qputenv("PATH", path);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->ieMajor, 0);
    EXPECT_EQ(w->ieMinor, 0);
    EXPECT_EQ(state->appHelpFile,
              QDir::cleanPath(sys::programFolder() + "/../share/vorlan/help/index.html"));
    EXPECT_EQ(app::helpFileFor(app::helpBrowserVersion(app::parseBrowserVersion("3.02")),
                               "/opt/vorlan/bin"),
              "");
}

TEST_F(StartupTest, SplashShowsVersionAndProgress) {
    loadingF* splash = loadingF::load(*state);
    EXPECT_EQ(splash->ver_label->text(), "version 1.0 build 0");
    EXPECT_EQ(splash->descLABEL->text(), core::splashLabelText());
    EXPECT_EQ(splash->loadingLABEL->text(), "Initializing Sound System...");
    EXPECT_TRUE(splash->tmrLoad.isActive());
    EXPECT_EQ(splash->tmrLoad.interval(), 25);
    EXPECT_EQ(splash->tmrSplash.interval(), 60);
    EXPECT_EQ(splash->tmrLoad.timerType(), Qt::PreciseTimer);
    EXPECT_EQ(splash->tmrSplash.timerType(), Qt::PreciseTimer);
    EXPECT_FALSE(splash->tmrSplash.isActive());

    splash->tmrSplash_Timer();
    EXPECT_EQ(splash->loadingLABEL->text(), "Loading Playlist: 0 Songs done...");
    // The entries the playlist has read so far.
    const auto entries = [&](int n) {
        state->playlist.setEntries(QStringList(n, "x"), QStringList(n, "x"));
    };
    entries(12);
    splash->tmrSplash_Timer();
    EXPECT_EQ(splash->loadingLABEL->text(), "Loading Playlist: 12 Songs done...");
    entries(3); // below the last value shown: unchanged
    splash->tmrSplash_Timer();
    EXPECT_EQ(splash->loadingLABEL->text(), "Loading Playlist: 12 Songs done...");
    entries(12);
    splash->tmrSplash_Timer();
    EXPECT_EQ(splash->loadingLABEL->text(), "Loading Playlist: 12 Songs done...");
    splash->Form_Unload();
    EXPECT_FALSE(splash->tmrLoad.isActive());
    EXPECT_FALSE(state->splash);
    flushDeletes();
}

TEST_F(StartupTest, ProgramFolderGoesOnThePathOnce) {
    {
        qzvenv::System system;
        system.setEnvironment("PATH", "/usr/bin;/Bin");
        qzvenv::User user;
        user.setEnvironment("PATH", "/home/Me/bin");
    }
    loadingF::load(*state)->Form_Unload();
    flushDeletes();
    const QString folder = sys::programFolder();
    {
        qzvenv::System system;
        qzvenv::User user;
        EXPECT_EQ(system.Environment("PATH"), folder + ";/usr/bin;/Bin");
        EXPECT_EQ(user.Environment("PATH"), folder + ";/home/Me/bin");
    }
    // Started again: the folder is there already, nothing is added.
    loadingF::load(*state)->Form_Unload();
    flushDeletes();
    qzvenv::System system;
    EXPECT_EQ(system.Environment("PATH"), folder + ";/usr/bin;/Bin");
}

// The PATH step for folders that do and do not hold the program's name: the
// result never depends on where the program lies, and a second start adds
// nothing.
TEST_F(StartupTest, PathStepDependsOnTheMachinePathNotOnTheFolder) {
    struct Case {
        const char* folder;
        const char* systemBefore; // null: not set
        const char* userBefore;
        const char* systemAfter; // null: as before
        const char* userAfter;
    };
    const Case cases[] = {
        {"/home/dj/src/vorlan/build", "/usr/bin;/Bin", "/home/Me/bin",
         "/home/dj/src/vorlan/build;/usr/bin;/Bin", "/home/dj/src/vorlan/build;/home/Me/bin"},
        {"/opt/dj-tools", nullptr, nullptr, "/opt/dj-tools;", "/opt/dj-tools;"},
        {"/opt/dj-tools", "/opt/DJ-tools;/usr/bin", "/home/Me/bin", nullptr, nullptr},
        {"/usr/local/dj", "/opt/Vorlan;/usr/bin", nullptr, nullptr, nullptr},
    };
    const QString systemKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
    const auto put = [](reg::HKEY hive, const QString& key, const char* text) {
        if (text)
            core::save_RegValue(hive, key, "PATH", reg::REG_SZ, QString(text));
        else if (reg::HKEY open = 0; reg::RegOpenKeyEx(hive, key, 0, reg::KEY_WRITE, &open) == 0) {
            reg::RegDeleteValue(open, "PATH");
            reg::RegCloseKey(open);
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        put(reg::HKEY_LOCAL_MACHINE, systemKey, c.systemBefore);
        put(reg::HKEY_CURRENT_USER, "Environment", c.userBefore);
        const bool adds = c.systemAfter != nullptr;
        for (int start = 0; start < 2; ++start) {
            env_test::BroadcastCounter broadcasts;
            app::putProgramFolderOnPath(c.folder);
            EXPECT_EQ(broadcasts.settings.size(), adds && start == 0 ? 2 : 0);
            qzvenv::System system;
            qzvenv::User user;
            EXPECT_EQ(system.Environment("PATH"), QString(adds             ? c.systemAfter
                                                          : c.systemBefore ? c.systemBefore
                                                                           : ""));
            EXPECT_EQ(user.Environment("PATH"), QString(adds           ? c.userAfter
                                                        : c.userBefore ? c.userBefore
                                                                       : ""));
        }
    }
}

class CloseTest : public StartupTest {
protected:
    engine::Channel playTone() {
        fixtures::Tone tone;
        tone.format = fixtures::Format::Wav;
        tone.seconds = 2.0;
        const auto path = fixtures::makeTone((folder() + "/tone.wav").toStdString(), tone);
        engine::Channel stream = engine::Channel::openMain(QByteArray(path.c_str()), 0);
        EXPECT_TRUE(stream);
        EXPECT_TRUE(stream.play());
        return stream;
    }
};

TEST_F(CloseTest, RefusedWhileADeckPlays) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    for (int deck : {0, 1}) {
        state->decks[deck].stream = playTone();
        dialogs.expectBox(ui::vbOK);
        w->cmdcloseButton_Click();
        ASSERT_EQ(dialogs.boxes().size(), 1u);
        EXPECT_EQ(dialogs.boxes()[0].text,
                  "Can't Exit when song is playing. Pause or Stop all music before closing...");
        EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbExclamation);
        EXPECT_EQ(dialogs.boxes()[0].title, ""); // the application's title
        dialogs.clear();
        EXPECT_TRUE(state->mainWindow);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->tmrTrackLength.isActive());
        EXPECT_TRUE(state->decks[deck].stream.isPlaying());
        state->decks[deck].stream.stop();
    }
}

TEST_F(CloseTest, AllowedWhilePausedAndShutsDownInOrder) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    state->decks[0].stream = playTone();
    ASSERT_TRUE(state->decks[0].stream.pause());
    // Two more windows loaded after the options window: unloaded last first.
    std::vector<QString> unloaded;
    state->addForm("firstF", nullptr, [&] {
        unloaded.push_back("firstF");
        state->forms.erase(
            std::find_if(state->forms.begin(), state->forms.end(),
                         [](const core::LoadedForm& f) { return f.name == "firstF"; }));
    });
    state->addForm("secondF", nullptr, [&] {
        unloaded.push_back("secondF");
        state->forms.erase(
            std::find_if(state->forms.begin(), state->forms.end(),
                         [](const core::LoadedForm& f) { return f.name == "secondF"; }));
    });
    // Closed before tmrAsync loaded the playlist: the splash is still up.
    ASSERT_TRUE(state->splash);
    w->cmdcloseButton_Click();
    EXPECT_TRUE(dialogs.boxes().empty());
    EXPECT_EQ(unloaded, (std::vector<QString>{"secondF", "firstF"}));
    EXPECT_FALSE(state->mainWindow);
    EXPECT_FALSE(state->optionsWindow);
    EXPECT_FALSE(state->splash);
    for (QTimer* t : {&w->tmrTrackLength, &w->tmrAsync})
        EXPECT_FALSE(t->isActive());
    EXPECT_TRUE(state->forms.empty());
    // The engine is down and both streams freed.
    EXPECT_FALSE(state->decks[0].stream);
    EXPECT_TRUE(BASS_Init(BASS_DEVICE_OFFLINE, 44100, 0, nullptr));
    // The options window wrote the settings as it unloaded.
    EXPECT_EQ(app_test::settingNames().size(), 18);
    flushDeletes();
}

TEST_F(CloseTest, TimersStopAndCueIntervalsComeFromTheOptions) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    state->cueSearchInterval = 120;
    state->optionsWindow->cmdcloseButton_Click(); // closing the options re-applies the intervals
    flushDeletes();
    EXPECT_EQ(w->decks->left().controls().cueTimer->interval(), 120);
    EXPECT_EQ(w->decks->right().controls().cueTimer->interval(), 120);
    w->tmrAutoFade.start();
    w->decks->left().controls().cueTimer->start();
    w->disable_Timers();
    for (QTimer* t : std::initializer_list<QTimer*>{
             &w->tmrTrackLength, w->decks->left().controls().cueTimer,
             w->decks->right().controls().cueTimer, w->decks->left().controls().turntableStopTimer,
             w->decks->right().controls().turntableStopTimer, &w->tmrAutoFade})
        EXPECT_FALSE(t->isActive());
}

TEST_F(CloseTest, OptionsButtonShowsTheWindowModallyAndClosingSavesIt) {
    halvoranF* w = startProgram();
    ASSERT_NE(w, nullptr);
    optionsF* loaded = state->optionsWindow;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(state->optionsWindow);
        wasModal = state->optionsWindow->isModal() && state->optionsWindow->isVisible();
        EXPECT_EQ(state->optionsWindow.data(), loaded); // shown without reading again
        state->optionsWindow->autoMixSlider->setValue(90);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(state->optionsWindow, &escape);
    });
    w->optionsCB_Click();
    flushDeletes();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(state->optionsWindow);
    EXPECT_EQ(app_test::readSettingRaw("AutomixStart"), "90");
    // The next showing loads the window again and reads the settings again.
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(state->optionsWindow);
        EXPECT_EQ(state->optionsWindow->autoMixSlider->Value(), 90);
        state->optionsWindow->cmdcloseButton_Click();
    });
    w->optionsCB_Click();
    flushDeletes();
}

} // namespace
