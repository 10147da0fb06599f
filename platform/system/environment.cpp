#include "platform/system/environment.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <unistd.h>

extern char** environ;

namespace sys {

std::optional<QString> getEnv(const QString& name) {
    // No variable can be named so; getenv would match a prefix of another
    // variable's entry ("A=b" finds the value "c" in "A=b=c"), or the name
    // cut at the NUL.
    if (name.isEmpty() || name.contains(u'=') || name.contains(QChar(0)))
        return std::nullopt;
    const char* v = std::getenv(name.toUtf8().constData());
    if (!v)
        return std::nullopt;
    return QString::fromUtf8(v);
}

bool setEnv(const QString& name, const QString& value) {
    if (name.isEmpty() || name.contains('='))
        return false;
    return ::setenv(name.toUtf8().constData(), value.toUtf8().constData(), 1) == 0;
}

bool unsetEnv(const QString& name) {
    if (name.isEmpty() || name.contains('='))
        return false;
    return ::unsetenv(name.toUtf8().constData()) == 0;
}

QStringList environmentBlock() {
    QStringList out;
    for (char** e = environ; e && *e; ++e)
        out.append(QString::fromUtf8(*e));
    return out;
}

QString expandEnvironmentStrings(const QString& text) {
    QString out;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c != '%') {
            out += c;
            ++i;
            continue;
        }
        const qsizetype close = text.indexOf('%', i + 1);
        if (close < 0) {
            out += text.mid(i);
            break;
        }
        const QString name = text.mid(i + 1, close - i - 1);
        const auto value = name.isEmpty() ? std::nullopt : getEnv(name);
        if (value) {
            out += *value;
            i = close + 1;
        } else {
            // Unknown name: keep "%name" and rescan from the closing percent,
            // which may open the next name.
            out += text.mid(i, close - i);
            i = close;
        }
    }
    return out;
}

namespace {
struct Observers {
    std::mutex mutex;
    std::map<int, SettingChange::Observer> list;
    int nextId = 1;
    int broadcasts = 0;
};
Observers& observers() {
    static Observers o;
    return o;
}
} // namespace

int SettingChange::subscribe(Observer observer) {
    auto& o = observers();
    std::lock_guard lock(o.mutex);
    const int id = o.nextId++;
    o.list.emplace(id, std::move(observer));
    return id;
}

void SettingChange::unsubscribe(int id) {
    auto& o = observers();
    std::lock_guard lock(o.mutex);
    o.list.erase(id);
}

void SettingChange::broadcast(const QString& setting) {
    std::map<int, Observer> copy;
    {
        auto& o = observers();
        std::lock_guard lock(o.mutex);
        ++o.broadcasts;
        copy = o.list;
    }
    for (auto& [id, fn] : copy)
        fn(setting);
}

int SettingChange::count() {
    auto& o = observers();
    std::lock_guard lock(o.mutex);
    return o.broadcasts;
}

} // namespace sys
