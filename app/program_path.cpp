#include "app/program_path.h"

#include "env/system.h"
#include "env/user.h"

#include <QStringList>
#include <memory>

namespace app {

namespace {
// Runs `statement`, ignoring any error it raises.
template <typename F> void ignoringErrors(F&& statement) {
    try {
        statement();
    } catch (...) {
    }
}
} // namespace

void putProgramFolderOnPath(const QString& folder) {
    std::unique_ptr<qzvenv::System> system;
    std::unique_ptr<qzvenv::User> user;
    QString systemPath, userPath;
    ignoringErrors([&] { system = std::make_unique<qzvenv::System>(); });
    ignoringErrors([&] { user = std::make_unique<qzvenv::User>(); });
    ignoringErrors([&] {
        if (system)
            systemPath = system->Environment("PATH");
    });
    ignoringErrors([&] {
        if (user)
            userPath = user->Environment("PATH");
    });
    // The folder is known to be on the path when the machine-wide value names
    // the program or the folder itself (so the path does not grow at every
    // start when the folder's name lacks the program's name). The values keep
    // their letter case: paths here are case-sensitive.
    const QString lowerSystem = systemPath.toLower();
    if (lowerSystem.contains("vorlan") || lowerSystem.split(';').contains(folder.toLower()))
        return;
    ignoringErrors([&] {
        if (system)
            system->setEnvironment("PATH", folder + ";" + systemPath);
    });
    ignoringErrors([&] {
        if (user)
            user->setEnvironment("PATH", folder + ";" + userPath);
    });
}

} // namespace app
