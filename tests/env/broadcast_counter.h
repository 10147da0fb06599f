#pragma once
// Counts the settings-change broadcasts made while it exists.
#include "platform/system/environment.h"

#include <QStringList>

namespace env_test {

class BroadcastCounter {
public:
    BroadcastCounter()
        : id_(sys::SettingChange::subscribe([this](const QString& s) { settings.append(s); })) {}
    ~BroadcastCounter() { sys::SettingChange::unsubscribe(id_); }
    BroadcastCounter(const BroadcastCounter&) = delete;
    BroadcastCounter& operator=(const BroadcastCounter&) = delete;

    QStringList settings; // the text of each broadcast, in order

private:
    int id_;
};

} // namespace env_test
