#pragma once
// A fresh program per test: its own registry database and data folders, the
// scripted dialogs, the offline audio output, and a ProgramState whose
// "end the program" only records the exit status.
#include "core/program_state.h"
#include "platform/registry/registry.h"
#include "tests/support/scripted_dialogs.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

class halvoranF;

namespace app_test {

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the start-up as the event loop would: the splash loads, its first
    // tmrLoad tick loads the main window. Returns the main window (null when
    // the program ended).
    halvoranF* startProgram();
    // Closes the main window (when loaded) and frees the engine.
    void closeProgram();
    // Destroys windows whose deletion is pending.
    static void flushDeletes();

    QString folder() const { return dir_.path(); }
    // Writes `bytes` to `name` in the test's folder; returns its path.
    QString fileWith(const QString& name, const QByteArray& bytes) const;

    testing_support::ScriptedDialogs dialogs;
    std::unique_ptr<core::ProgramState> state;

private:
    QTemporaryDir dir_;
};

// Settings values under the program's key.
void writeSetting(const QString& name, const QString& text);
QString readSettingRaw(const QString& name);
// Value names under the program's key in creation order.
QStringList settingNames();

} // namespace app_test
