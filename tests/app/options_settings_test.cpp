// Loading the options window reads every setting and applies it; closing it
// writes them all back in order.
#include "app/options_window.h"
#include "controls/widgets/slider.h"
#include "core/fixed_texts.h"
#include "core/program_state.h"
#include "platform/audio/bass.h"
#include "platform/system/folders.h"
#include "tests/app/program_fixture.h"
#include "tests/support/screenshots.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <unistd.h>

namespace {

QByteArray fileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

class OptionsSettingsTest : public app_test::ProgramTest {
protected:
    optionsF* load() { return optionsF::load(*state); }
    void unload(optionsF* options) {
        options->cmdcloseButton_Click();
        flushDeletes();
    }
    void expectFirstRunDefaults(optionsF* o) {
        EXPECT_EQ(state->engine.outputRate, 22050u);
        EXPECT_EQ(o->cmbPlayQuality->currentText(), "FM Quality - 22100Hz");
        EXPECT_EQ(o->cmbDevice->currentIndex(), 0);
        EXPECT_EQ(state->engine.device, -1);
        EXPECT_EQ(state->engine.deviceInUse, -1);
        EXPECT_EQ(state->settings.turntableStopSpeed, 4000);
        EXPECT_EQ(o->TurntableStopSpeed_slider->Value(), 4000);
        EXPECT_EQ(state->settings.automixStart, 85);
        EXPECT_EQ(o->autoMixSlider->Value(), 85);
        EXPECT_DOUBLE_EQ(state->engine.bufferLength, 1.1);
        EXPECT_EQ(o->bufferSlider->Value(), 11);
        EXPECT_EQ(state->settings.pitchRange, 1.0);
        EXPECT_EQ(o->pitchRange_slider->Value(), 0);
        EXPECT_EQ(state->settings.djSetup, 0);
        EXPECT_TRUE(o->djSetupOpt[0]->isChecked());
        EXPECT_EQ(state->engine.streamFlags, 0u);
        EXPECT_TRUE(o->optSeek[0]->isChecked());
        EXPECT_EQ(state->settings.optStartUp, 1);
        EXPECT_EQ(state->cueSearchInterval, 80);
        const QString playlists = sys::programFolder() + "/Playlists";
        EXPECT_EQ(o->txtPlaylistPath->text(), playlists);
        EXPECT_TRUE(QDir(playlists).exists());
        EXPECT_TRUE(dialogs.boxes().empty());
    }
};

TEST_F(OptionsSettingsTest, FirstRunWithoutDatabase) {
    optionsF* o = load();
    EXPECT_TRUE(o->isHidden());
    expectFirstRunDefaults(o);
    unload(o);
    EXPECT_FALSE(state->optionsWindow);
}

TEST_F(OptionsSettingsTest, FirstRunWithAnEmptyDatabaseFile) {
    const QString path = folder() + "/empty.db";
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    reg::RegUseDatabase(path);
    optionsF* o = load();
    expectFirstRunDefaults(o);
    unload(o);
}

// A database that cannot be written: the first-run defaults apply, and the
// unload says once where the settings could not go and why; the file stays
// as it was.
TEST_F(OptionsSettingsTest, SettingsThatCannotBeWrittenAreReportedOnce) {
    struct Case {
        const char* file;
        QByteArray bytes; // written to `file` first; empty: a folder-less path
        bool readOnly;
        reg::LONG status;
    };
    const Case cases[] = {
        {"corrupt.db", QByteArray("SQLite format 3\0", 16) + QByteArray(5000, '\x13'), false,
         reg::ERROR_REGISTRY_CORRUPT},
        {"plain-file/registry.db", {}, false, reg::ERROR_ACCESS_DENIED},
        {"read-only.db", {}, true, reg::ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        if (c.readOnly && ::geteuid() == 0)
            continue; // file permissions do not bind the superuser
        const QString path = folder() + "/" + c.file;
        if (c.readOnly) { // a sound registry, then made read-only
            reg::RegUseDatabase(path);
            app_test::writeSetting("Buffer", "0.5");
            reg::RegUseDatabase(folder() + "/elsewhere.db");
            ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
        } else {
            QFile file(c.bytes.isEmpty() ? folder() + "/plain-file" : path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        const QByteArray before = fileContents(path);
        reg::RegUseDatabase(path);
        dialogs.clear();
        optionsF* o = load();
        dialogs.expectBox(ui::vbOK);
        unload(o);
        ASSERT_EQ(dialogs.boxes().size(), 1u);
        EXPECT_EQ(dialogs.boxes()[0].text, "The settings could not be saved to " + path +
                                               "\r\n\r\n" + reg::RegStatusText(c.status));
        EXPECT_EQ(dialogs.boxes()[0].title, "Settings Not Saved...");
        EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbExclamation);
        EXPECT_EQ(fileContents(path), before);
        EXPECT_EQ(state->engine.outputRate, 22050u); // the values in use are unchanged
        reg::RegUseDatabase(folder() + "/elsewhere.db");
    }
}

TEST_F(OptionsSettingsTest, StoredValuesComeBack) {
    app_test::writeSetting("optStartUp", "0");
    app_test::writeSetting("SeekAccuracy", "131072");
    app_test::writeSetting("InitQuality", "CD Quality - 44100Hz");
    app_test::writeSetting("initDevice", "Default Sound Device");
    app_test::writeSetting("TurntableStopSpeed", "6200");
    app_test::writeSetting("pitchRange", "1.5");
    app_test::writeSetting("DjSetup", "2");
    app_test::writeSetting("AutomixStart", "92");
    app_test::writeSetting("Buffer", "0.4");
    app_test::writeSetting("playlistPath", folder());
    optionsF* o = load();
    EXPECT_EQ(state->settings.optStartUp, 0);
    EXPECT_EQ(state->engine.streamFlags, 131072u);
    EXPECT_TRUE(o->optSeek[1]->isChecked());
    EXPECT_EQ(state->engine.outputRate, 44100u);
    EXPECT_EQ(o->qualityText, "CD Quality - 44100Hz");
    EXPECT_EQ(state->engine.device, -1);
    EXPECT_EQ(o->deviceText, "Default Sound Device");
    EXPECT_EQ(state->settings.turntableStopSpeed, 6200);
    EXPECT_EQ(state->settings.pitchRange, 1.5);
    EXPECT_EQ(o->pitchRange_slider->Value(), 1);
    EXPECT_EQ(state->settings.djSetup, 2);
    EXPECT_TRUE(o->djSetupOpt[2]->isChecked());
    EXPECT_EQ(state->settings.automixStart, 92);
    EXPECT_DOUBLE_EQ(state->engine.bufferLength, 0.4);
    EXPECT_EQ(o->bufferSlider->Value(), 4);
    EXPECT_EQ(state->settings.playlistPath, folder());
    EXPECT_TRUE(dialogs.boxes().empty());
    unload(o);
    // Written back as read.
    EXPECT_EQ(app_test::readSettingRaw("SeekAccuracy"), "131072");
    EXPECT_EQ(app_test::readSettingRaw("initQuality"), "CD Quality - 44100Hz");
    EXPECT_EQ(app_test::readSettingRaw("pitchRange"), "1.5");
    EXPECT_EQ(app_test::readSettingRaw("Buffer"), "0.4");
    EXPECT_EQ(app_test::readSettingRaw("playlistPath"), folder());
}

TEST_F(OptionsSettingsTest, ZeroAndOutOfRangeValuesFallBack) {
    app_test::writeSetting("InitQuality", "FM Quality - 22100Hz");
    app_test::writeSetting("optStartUp", "0");
    app_test::writeSetting("Buffer", "0");
    app_test::writeSetting("AutomixStart", "0");
    app_test::writeSetting("pitchRange", "1.25");
    app_test::writeSetting("TurntableStopSpeed", "fast");
    app_test::writeSetting("DjSetup", "7");
    app_test::writeSetting("SeekAccuracy", "5");
    app_test::writeSetting("playlistPath", folder());
    optionsF* o = load();
    EXPECT_EQ(state->settings.optStartUp, 0); // the quality was recognised
    EXPECT_DOUBLE_EQ(state->engine.bufferLength, 1.1);
    EXPECT_EQ(state->settings.automixStart, 85);
    EXPECT_EQ(state->settings.pitchRange, 1.0);
    EXPECT_EQ(o->pitchRange_slider->Value(), 0);
    EXPECT_EQ(state->settings.turntableStopSpeed, 4000);
    EXPECT_EQ(state->settings.djSetup, 0);
    EXPECT_EQ(state->engine.streamFlags, 131072u); // any non-zero value means accurate
    unload(o);

    app_test::writeSetting("Buffer", "25");
    app_test::writeSetting("AutomixStart", "40");
    app_test::writeSetting("TurntableStopSpeed", "99999");
    app_test::writeSetting("DjSetup", "-1");
    app_test::writeSetting("pitchRange", "2abc");
    o = load();
    EXPECT_DOUBLE_EQ(state->engine.bufferLength, 1.1);
    EXPECT_EQ(state->settings.automixStart, 85);
    EXPECT_EQ(state->settings.turntableStopSpeed, 4000);
    EXPECT_EQ(state->settings.djSetup, 0);
    EXPECT_EQ(state->settings.pitchRange, 2.0);
    EXPECT_EQ(o->pitchRange_slider->Value(), 2);
    unload(o);
}

TEST_F(OptionsSettingsTest, WritesEveryValueInOrder) {
    optionsF* o = load();
    o->TurntableStopSpeed_slider->setValue(5000);
    o->autoMixSlider->setValue(77);
    o->bufferSlider->setValue(15);
    o->pitchRange_slider->setValue(2);
    o->optSeek[1]->setChecked(true);
    o->djSetupOpt_Click(1);
    o->spinBpmMin->setValue(90);
    o->spinBpmMax->setValue(150); // less than an octave: widened to 180
    unload(o);
    EXPECT_EQ(app_test::settingNames(),
              QStringList({"optStartUp", "SeekAccuracy", "initQuality", "initDevice",
                           "TurntableStopSpeed", "pitchRange", "DjSetup", "AutomixStart", "Buffer",
                           "playlistPath", "RecordingsFolder", "RecordingFormat", "Headphones",
                           "BpmRangeMin", "BpmRangeMax", "AutoDJMode", "AutoDJFadeBeats",
                           "KeyLockEngine"}));
    EXPECT_EQ(app_test::readSettingRaw("BpmRangeMin"), "90");
    EXPECT_EQ(app_test::readSettingRaw("BpmRangeMax"), "180");
    EXPECT_EQ(app_test::readSettingRaw("optStartUp"), "1");
    EXPECT_EQ(app_test::readSettingRaw("SeekAccuracy"), "131072");
    EXPECT_EQ(app_test::readSettingRaw("initQuality"), "FM Quality - 22100Hz");
    EXPECT_EQ(app_test::readSettingRaw("initDevice"), "Default Sound Device");
    EXPECT_EQ(app_test::readSettingRaw("TurntableStopSpeed"), "5000");
    EXPECT_EQ(app_test::readSettingRaw("pitchRange"), "2");
    EXPECT_EQ(app_test::readSettingRaw("DjSetup"), "1");
    EXPECT_EQ(app_test::readSettingRaw("AutomixStart"), "77");
    EXPECT_EQ(app_test::readSettingRaw("Buffer"), "1.5");
    EXPECT_EQ(app_test::readSettingRaw("playlistPath"), sys::programFolder() + "/Playlists");
    EXPECT_EQ(state->engine.streamFlags, 131072u); // acts at once
    EXPECT_EQ(state->settings.pitchRange, 2.0);
}

TEST_F(OptionsSettingsTest, AutomaticDJModeAndFadeLengthComeBack) {
    optionsF* o = load();
    EXPECT_EQ(state->settings.autoDJMode, core::AutoDJMode::Percent);
    EXPECT_EQ(o->cmbAutoDJMode->currentText(), "hand over at N %");
    EXPECT_EQ(o->autoDJFadeSlider->Value(), 16);
    o->cmbAutoDJMode->setCurrentIndex(1);
    o->autoDJFadeSlider->setValue(32);
    testing_support::saveScreenshot(o, "options_autodj_beats");
    unload(o);
    EXPECT_EQ(app_test::readSettingRaw("AutoDJMode"), "1");
    EXPECT_EQ(app_test::readSettingRaw("AutoDJFadeBeats"), "32");
    EXPECT_EQ(state->settings.autoDJMode, core::AutoDJMode::Beats);
    EXPECT_EQ(state->settings.autoDJFadeBeats, 32);
    // A length outside 4 .. 64 beats falls back to 16.
    app_test::writeSetting("AutoDJFadeBeats", "500");
    o = load();
    EXPECT_EQ(o->cmbAutoDJMode->currentIndex(), 1);
    EXPECT_EQ(state->settings.autoDJFadeBeats, 16);
    unload(o);
}

TEST_F(OptionsSettingsTest, DeviceListAndChosenDevice) {
    optionsF* o = load();
    // "Default Sound Device" and the library's descriptions 1 to 6.
    int described = 0;
    for (int n = 1; n <= 6; ++n)
        described += BASS_GetDeviceDescription(n) ? 1 : 0;
    ASSERT_EQ(o->cmbDevice->count(), 1 + described);
    EXPECT_EQ(o->cmbDevice->itemText(0), "Default Sound Device");
    ASSERT_GE(described, 1);
    EXPECT_EQ(o->cmbDevice->itemText(1), QString::fromUtf8(BASS_GetDeviceDescription(1)));
    o->cmbDevice->setCurrentIndex(1);
    o->cmbDevice_Click();
    unload(o);
    EXPECT_EQ(app_test::readSettingRaw("initDevice"),
              QString::fromUtf8(BASS_GetDeviceDescription(1)));

    o = load();
    EXPECT_EQ(state->engine.device, 0); // list position 1 is device 0
    EXPECT_EQ(state->engine.deviceInUse, 0);
    unload(o);

    // A device that is gone leaves the number as it was and keeps its name.
    app_test::writeSetting("initDevice", "USB Interface that was unplugged");
    state->engine.device = 3;
    o = load();
    EXPECT_EQ(state->engine.device, 3);
    EXPECT_EQ(o->cmbDevice->currentIndex(), -1);
    unload(o);
    EXPECT_EQ(app_test::readSettingRaw("initDevice"), "USB Interface that was unplugged");
}

TEST_F(OptionsSettingsTest, MissingPlaylistFolderAnsweredNo) {
    const QString gone = folder() + "/gone";
    app_test::writeSetting("playlistPath", gone);
    dialogs.expectBox(ui::vbNo);
    optionsF* o = load();
    ASSERT_EQ(dialogs.boxes().size(), 1u);
    EXPECT_EQ(dialogs.boxes()[0].text,
              "The Playlist directory was not found. Do you want to create it?");
    EXPECT_EQ(dialogs.boxes()[0].title, "Path Not Found...");
    EXPECT_EQ(dialogs.boxes()[0].buttons(), ui::vbYesNo);
    EXPECT_EQ(dialogs.boxes()[0].icon(), ui::vbExclamation);
    // The text box held the saved path: both become the default folder.
    EXPECT_EQ(o->txtPlaylistPath->text(), sys::programFolder() + "/Playlists");
    EXPECT_EQ(state->settings.playlistPath, sys::programFolder() + "/Playlists");
    EXPECT_FALSE(QDir(gone).exists());

    // A new folder typed over the saved one, answered No: the saved path comes back.
    o->txtPlaylistPath->setText(folder() + "/typed");
    dialogs.expectBox(ui::vbNo);
    o->txtPlaylistPath_LostFocus();
    EXPECT_EQ(o->txtPlaylistPath->text(), sys::programFolder() + "/Playlists");
    unload(o);
}

TEST_F(OptionsSettingsTest, MissingPlaylistFolderCreatedOnYes) {
    app_test::writeSetting("playlistPath", folder());
    optionsF* o = load();
    const QString wanted = folder() + "/new/lists";
    o->txtPlaylistPath->setText(wanted);
    dialogs.expectBox(ui::vbYes);
    o->txtPlaylistPath_LostFocus();
    EXPECT_TRUE(QDir(wanted).exists());
    EXPECT_EQ(o->txtPlaylistPath->text(), wanted);
    o->txtPlaylistPath_LostFocus(); // exists now: nothing is asked
    unload(o);
    EXPECT_EQ(app_test::readSettingRaw("playlistPath"), wanted);
}

TEST_F(OptionsSettingsTest, PlaylistFolderThatCannotBeCreated) {
    app_test::writeSetting("playlistPath", folder());
    optionsF* o = load();
    QFile blocker(folder() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const QString& bad : {folder() + "/file/lists", QString()}) {
        o->txtPlaylistPath->setText(bad);
        dialogs.expectBox(ui::vbYes);
        dialogs.expectBox(ui::vbOK);
        o->txtPlaylistPath_LostFocus();
        ASSERT_GE(dialogs.boxes().size(), 2u);
        const auto& error = dialogs.boxes().back();
        EXPECT_EQ(error.text, "The Playlist directory could not be created. Please ensure that "
                              "the path is valid");
        EXPECT_EQ(error.title, "Path Error...");
        EXPECT_EQ(error.icon(), ui::vbExclamation);
        EXPECT_EQ(o->txtPlaylistPath->text(), folder()); // the saved path comes back
    }
    unload(o);
}

TEST_F(OptionsSettingsTest, ShowingAgainReadsTheSettingsAgain) {
    optionsF* o = load();
    EXPECT_EQ(optionsF::load(*state), o); // loaded already: the same window
    o->autoMixSlider->setValue(99);
    unload(o);
    EXPECT_EQ(state->settings.automixStart, 99);
    app_test::writeSetting("AutomixStart", "71");
    o = load();
    EXPECT_EQ(o->autoMixSlider->Value(), 71);
    unload(o);
}

} // namespace
