#include "tests/app/program_fixture.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "core/fixed_texts.h"
#include "platform/audio/bass.h"
#include "tests/support/qt_app.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>

namespace app_test {

void ProgramTest::SetUp() {
    testing_support::qtApp();
    ASSERT_TRUE(dir_.isValid());
    qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());
    reg::RegUseDatabase(dir_.path() + "/registry.db");
    state = std::make_unique<core::ProgramState>(dialogs);
    state->endProgram = [](int) {};
}

void ProgramTest::TearDown() {
    closeProgram();
    state.reset();
    flushDeletes();
    BASS_Free();
    reg::RegUseDatabase({});
    EXPECT_EQ(dialogs.pendingAnswers(), 0u) << "answers queued but never asked for";
}

halvoranF* ProgramTest::startProgram() {
    loadingF* splash = loadingF::load(*state);
    splash->tmrLoad_Timer();
    flushDeletes();
    return state->mainWindow;
}

void ProgramTest::closeProgram() {
    if (state && state->mainWindow) {
        state->decks[0].stream.free();
        state->decks[1].stream.free();
        state->mainWindow->close();
    }
    flushDeletes();
}

QString ProgramTest::fileWith(const QString& name, const QByteArray& bytes) const {
    const QString path = folder() + "/" + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
    return path;
}

void ProgramTest::flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void writeSetting(const QString& name, const QString& text) {
    reg::HKEY key = 0;
    ASSERT_EQ(reg::RegCreateKeyEx(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), 0, {}, 0,
                                  reg::KEY_WRITE, &key, nullptr),
              reg::ERROR_SUCCESS);
    QByteArray data = text.toUtf8();
    data.append('\0');
    reg::RegSetValueEx(key, name, 0, reg::REG_SZ, reinterpret_cast<const reg::BYTE*>(data.data()),
                       static_cast<reg::DWORD>(data.size()));
    reg::RegCloseKey(key);
}

QString readSettingRaw(const QString& name) {
    reg::HKEY key = 0;
    if (reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), 0, reg::KEY_READ,
                          &key) != reg::ERROR_SUCCESS)
        return "<no key>";
    QByteArray data(4096, '\0');
    reg::DWORD size = static_cast<reg::DWORD>(data.size());
    reg::DWORD type = 0;
    const reg::LONG status = reg::RegQueryValueEx(key, name, nullptr, &type,
                                                  reinterpret_cast<reg::BYTE*>(data.data()), &size);
    reg::RegCloseKey(key);
    if (status != reg::ERROR_SUCCESS)
        return "<missing>";
    if (type != reg::REG_SZ)
        return "<type " + QString::number(type) + ">";
    data.truncate(static_cast<int>(size));
    if (!data.endsWith('\0'))
        return "<no NUL>";
    data.chop(1);
    return QString::fromUtf8(data);
}

QStringList settingNames() {
    QStringList names;
    reg::HKEY key = 0;
    if (reg::RegOpenKeyEx(reg::HKEY_LOCAL_MACHINE, core::settingsKeyPath(), 0, reg::KEY_READ,
                          &key) != reg::ERROR_SUCCESS)
        return names;
    for (reg::DWORD i = 0;; ++i) {
        QString name;
        if (reg::RegEnumValue(key, i, &name, nullptr, nullptr, nullptr, nullptr) !=
            reg::ERROR_SUCCESS)
            break;
        names << name;
    }
    reg::RegCloseKey(key);
    return names;
}

} // namespace app_test
