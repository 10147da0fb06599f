#include "env/process.h"

#include "platform/com/com_error.h"
#include "platform/system/environment.h"

namespace qzvenv {

Process::Process() = default;
Process::~Process() = default;

QString Process::Environment(const QString& name) {
    return sys::getEnv(name).value_or(QString());
}

void Process::setEnvironment(const QString& name, const QString& value) {
    if (!sys::setEnv(name, value))
        throw com::ComError(5, QStringLiteral("qzvenv.Process"),
                            QStringLiteral("Invalid procedure call or argument"));
}

cValuePairs& Process::List() {
    if (!list_) {
        // Variable names on this platform differ by case, so the keys do too.
        auto list = std::unique_ptr<cValuePairs>(new cValuePairs(true));
        for (const QString& entry : sys::environmentBlock()) {
            if (entry.isEmpty())
                break;
            const qsizetype equals = entry.indexOf(u'=');
            if (equals < 0)
                continue;
            list->add(cValuePair(entry.left(equals), entry.mid(equals + 1)));
        }
        list_ = std::move(list);
    }
    return *list_;
}

} // namespace qzvenv
