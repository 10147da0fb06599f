#pragma once
// The process environment and the settings-change broadcast.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace sys {

// The value of a process variable, or nothing when it is not set (always so
// for a name holding "=" or a NUL).
std::optional<QString> getEnv(const QString& name);
// Sets a process variable; an empty name or one holding "=" is refused.
bool setEnv(const QString& name, const QString& value);
bool unsetEnv(const QString& name);
// The process environment as "NAME=value" entries, in the process's order.
QStringList environmentBlock();

// Replaces each %NAME% by the process variable's value; names that are not
// set stay as written (with their percent signs), "%%" stays "%%".
QString expandEnvironmentStrings(const QString& text);

// The system-wide "setting changed" notification (the text says which
// setting, e.g. "Environment"). Observers are called on the broadcasting
// thread. Safe to use from any thread.
class SettingChange {
public:
    using Observer = std::function<void(const QString& setting)>;
    static int subscribe(Observer observer); // returns an id for unsubscribe
    static void unsubscribe(int id);
    static void broadcast(const QString& setting);
    // Number of broadcasts so far in this process.
    static int count();
};

} // namespace sys
