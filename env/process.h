#pragma once
// Process: the environment variables of the running process. Changes reach
// only this process (and the programs it starts afterwards). One thread.
#include "env/qzvenv_export.h"
#include "env/value_pairs.h"

#include <QString>
#include <memory>

namespace qzvenv {

class QZVENV_EXPORT Process {
public:
    Process();
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    // The variable's value, whole whatever its length; "" when it is not set
    // (or set to "").
    QString Environment(const QString& name);
    // Sets the variable for this process. Raises com::ComError 5 ("Invalid
    // procedure call or argument", source "qzvenv.Process") for a name that
    // is empty or holds "=".
    void setEnvironment(const QString& name, const QString& value);
    // The process's variables in the environment's order, taken on the first
    // call: each entry split at its first "=", entries without "=" left out,
    // and a name that occurs again (same case) kept with its first value.
    // Later calls return the same collection unchanged. It belongs to this
    // object and lives as long as it does.
    cValuePairs& List();

private:
    std::unique_ptr<cValuePairs> list_;
};

} // namespace qzvenv
