#include "env/registry.h"

#include "env/open_key.h"
#include "platform/com/com_error.h"

namespace qzvenv {

const QString Registry::kErrorSource = QStringLiteral("qzvenv.cRegistry");

namespace {

// Puts the keys of a registry object back as they were when it goes out of
// scope, also when the work in between raises.
class SavedKeys {
public:
    explicit SavedKeys(Registry& r)
        : r_(r), hive_(r.ClassKey()), section_(r.SectionKey()), value_(r.ValueKey()) {}
    ~SavedKeys() {
        r_.setClassKey(hive_);
        r_.setSectionKey(section_);
        r_.setValueKey(value_);
    }
    SavedKeys(const SavedKeys&) = delete;
    SavedKeys& operator=(const SavedKeys&) = delete;

private:
    Registry& r_;
    std::int32_t hive_;
    QString section_;
    QString value_;
};

QString hiveText(std::int32_t hive) {
    return QString::number(hive);
}

[[noreturn]] void raise(std::int32_t number, const QString& description) {
    throw com::ComError(number, Registry::kErrorSource, description);
}

} // namespace

bool Registry::KeyExists() const {
    OpenKey key;
    return key.open(classKey_, sectionKey_, reg::KEY_QUERY_VALUE) == reg::ERROR_SUCCESS;
}

bool Registry::CreateKey() {
    OpenKey key;
    if (key.create(classKey_, sectionKey_) != reg::ERROR_SUCCESS)
        raise(kErrorRegistry, QStringLiteral("Failed to create registry Key: '") +
                                  hiveText(classKey_) + QStringLiteral("',Section: '") +
                                  sectionKey_ + QStringLiteral("'"));
    return true;
}

bool Registry::DeleteKey() {
    if (reg::RegDeleteKey(hiveHandle(classKey_), sectionKey_) != reg::ERROR_SUCCESS)
        raise(kErrorRegistry, QStringLiteral("Failed to delete registry Key: '") +
                                  hiveText(classKey_) + QStringLiteral("',Section: '") +
                                  sectionKey_ + QStringLiteral("'"));
    return true;
}

bool Registry::DeleteValue() {
    OpenKey key;
    if (key.open(classKey_, sectionKey_, reg::KEY_ALL_ACCESS) != reg::ERROR_SUCCESS)
        raise(kErrorRegistry, QStringLiteral("Failed to open key '") + sectionKey_ +
                                  QStringLiteral("' for delete access"));
    if (reg::RegDeleteValue(key.handle(), valueKey_) != reg::ERROR_SUCCESS)
        raise(kErrorRegistry, QStringLiteral("Failed to delete registry Key: '") +
                                  hiveText(classKey_) + QStringLiteral("',Section: '") +
                                  sectionKey_ + QStringLiteral("',Key: '") + valueKey_ +
                                  QStringLiteral("'"));
    return true;
}

Variant Registry::ReadKey(const QString& valueName, const QString& keyPath, std::int32_t hive,
                          const Variant& defaultValue) {
    const SavedKeys saved(*this);
    const Variant savedDefault = default_;
    valueKey_ = valueName;
    sectionKey_ = keyPath;
    classKey_ = hive;
    default_ = defaultValue;
    Variant result = Value();
    default_ = savedDefault;
    return result;
}

bool Registry::EnumerateValues(Names& names, int& count) const {
    names.assign(1, QString());
    count = 0;
    OpenKey key;
    if (key.open(classKey_, sectionKey_, reg::KEY_READ) != reg::ERROR_SUCCESS)
        return false;
    for (reg::DWORD index = 0;; ++index) {
        QString name;
        const reg::LONG status =
            reg::RegEnumValue(key.handle(), index, &name, nullptr, nullptr, nullptr, nullptr);
        if (status == reg::ERROR_NO_MORE_ITEMS)
            break;
        if (status != reg::ERROR_SUCCESS) {
            names.assign(1, QString());
            return false;
        }
        names.push_back(name);
    }
    count = static_cast<int>(names.size()) - 1;
    return true;
}

bool Registry::EnumerateSections(Names& names, int& count) const {
    names.assign(1, QString());
    count = 0;
    const QString failure = QStringLiteral("Failed to enumerate registry Key: '") +
                            hiveText(classKey_) + QStringLiteral("',Section: '") + sectionKey_ +
                            QStringLiteral("'");
    OpenKey key;
    if (key.open(classKey_, sectionKey_, reg::KEY_READ) != reg::ERROR_SUCCESS)
        raise(kErrorEnumerateSections, failure);
    for (reg::DWORD index = 0;; ++index) {
        QString name;
        const reg::LONG status = reg::RegEnumKeyEx(key.handle(), index, &name);
        if (status == reg::ERROR_NO_MORE_ITEMS)
            break;
        if (status != reg::ERROR_SUCCESS) {
            names.assign(1, QString());
            raise(kErrorEnumerateSections, failure);
        }
        names.push_back(name);
    }
    count = static_cast<int>(names.size()) - 1;
    return true;
}

void Registry::WriteKey(const Variant& v, const QString& valueName, const QString& keyPath,
                        std::int32_t hive) {
    const SavedKeys saved(*this);
    valueKey_ = valueName;
    sectionKey_ = keyPath;
    classKey_ = hive;
    setValue(v);
}

void Registry::raiseSetValueFailure(std::int32_t number, const Variant& v) const {
    raise(number, QStringLiteral("Failed to set registry value Key: '") + hiveText(classKey_) +
                      QStringLiteral("',Section: '") + sectionKey_ + QStringLiteral("',Key: '") +
                      valueKey_ + QStringLiteral("' to value: '") + describe(v) +
                      QStringLiteral("'"));
}

} // namespace qzvenv
