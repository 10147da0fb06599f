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

// Where a failure happened, as the error descriptions name it:
// "Key: '<hive>',Section: '<section>'".
QString keyText(std::int32_t hive, const QString& section) {
    return QStringLiteral("Key: '") + QString::number(hive) + QStringLiteral("',Section: '") +
           section + QStringLiteral("'");
}

// The same with the value: "...,Key: '<value>'".
QString valueText(std::int32_t hive, const QString& section, const QString& value) {
    return keyText(hive, section) + QStringLiteral(",Key: '") + value + QStringLiteral("'");
}

using Enumerate = reg::LONG (*)(reg::HKEY key, reg::DWORD index, QString* name);

reg::LONG enumerateValue(reg::HKEY key, reg::DWORD index, QString* name) {
    return reg::RegEnumValue(key, index, name, nullptr, nullptr, nullptr, nullptr);
}

// Lists the names `enumerate` finds under `section` of `hive` into `names`
// (from element 1) and their number into `count`. False, with no names and
// a count of 0, when the key does not open or the listing fails.
bool listNames(std::int32_t hive, const QString& section, Enumerate enumerate,
               Registry::Names& names, int& count) {
    names.assign(1, QString());
    count = 0;
    OpenKey key;
    if (key.open(hive, section, reg::KEY_READ) != reg::ERROR_SUCCESS)
        return false;
    for (reg::DWORD index = 0;; ++index) {
        QString name;
        const reg::LONG status = enumerate(key.handle(), index, &name);
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
        raise(kErrorRegistry,
              QStringLiteral("Failed to create registry ") + keyText(classKey_, sectionKey_));
    return true;
}

bool Registry::DeleteKey() {
    if (reg::RegDeleteKey(hiveHandle(classKey_), sectionKey_) != reg::ERROR_SUCCESS)
        raise(kErrorRegistry,
              QStringLiteral("Failed to delete registry ") + keyText(classKey_, sectionKey_));
    return true;
}

bool Registry::DeleteValue() {
    OpenKey key;
    if (key.open(classKey_, sectionKey_, reg::KEY_ALL_ACCESS) != reg::ERROR_SUCCESS)
        raise(kErrorRegistry, QStringLiteral("Failed to open key '") + sectionKey_ +
                                  QStringLiteral("' for delete access"));
    if (reg::RegDeleteValue(key.handle(), valueKey_) != reg::ERROR_SUCCESS)
        raise(kErrorRegistry, QStringLiteral("Failed to delete registry ") +
                                  valueText(classKey_, sectionKey_, valueKey_));
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
    return listNames(classKey_, sectionKey_, enumerateValue, names, count);
}

bool Registry::EnumerateSections(Names& names, int& count) const {
    if (!listNames(classKey_, sectionKey_, reg::RegEnumKeyEx, names, count))
        raise(kErrorEnumerateSections,
              QStringLiteral("Failed to enumerate registry ") + keyText(classKey_, sectionKey_));
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
    raise(number, QStringLiteral("Failed to set registry value ") +
                      valueText(classKey_, sectionKey_, valueKey_) +
                      QStringLiteral(" to value: '") + describe(v) + QStringLiteral("'"));
}

} // namespace qzvenv
