#pragma once
// Registry: the library's own access to the registry. Not part of the
// library's public interface: System and User each own one and use its value
// reading, writing and enumeration.
//
// One object addresses one value by three keys: the hive (ClassKey), the key
// path under it (SectionKey, no leading "\") and the value name (ValueKey,
// empty for the key's default value). Reading and writing Value convert
// between the registry's types and a Variant. Failures are raised as
// com::ComError with source "qzvenv.cRegistry". One thread per object.
#include "env/qzvenv_export.h"
#include "env/variant.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace qzvenv {

class QZVENV_EXPORT Registry {
public:
    // Hives, as the Long values ClassKey holds.
    static constexpr std::int32_t kClassesRoot = static_cast<std::int32_t>(0x80000000u);
    static constexpr std::int32_t kCurrentUser = static_cast<std::int32_t>(0x80000001u);
    static constexpr std::int32_t kLocalMachine = static_cast<std::int32_t>(0x80000002u);

    // Registry value types.
    static constexpr std::int32_t kString = 1;
    static constexpr std::int32_t kExpandableString = 2;
    static constexpr std::int32_t kBinary = 3;
    static constexpr std::int32_t kNumber = 4;          // 32-bit, little-endian
    static constexpr std::int32_t kBigEndianNumber = 5; // 32-bit, big-endian
    static constexpr std::int32_t kStringList = 7;

    // Raised errors: the number, and the source they carry.
    static constexpr std::int32_t kErrorRegistry = 26001;
    static constexpr std::int32_t kErrorSetValue = static_cast<std::int32_t>(0x800469A9u);
    static constexpr std::int32_t kErrorEnumerateSections = static_cast<std::int32_t>(0x800469AAu);
    static constexpr std::int32_t kErrorAssociationList = static_cast<std::int32_t>(0x800469ACu);
    static constexpr std::int32_t kErrorAssociationClass = static_cast<std::int32_t>(0x800469ADu);
    static const QString kErrorSource;

    // Names returned by the enumerations: element 0 is unused and empty, the
    // names run from element 1 to element `count`.
    using Names = std::vector<QString>;

    // True when SectionKey can be opened for query under ClassKey.
    bool KeyExists() const;
    // Creates SectionKey and any missing parents; raises 26001 on failure.
    bool CreateKey();
    // Deletes SectionKey (which must have no subkeys); raises 26001 on failure.
    bool DeleteKey();
    // Deletes the value ValueKey of SectionKey; raises 26001 on failure.
    bool DeleteValue();
    // Reads the value `valueName` of `keyPath` under `hive`, `defaultValue`
    // when it cannot be read; the object's keys and Default are kept.
    Variant ReadKey(const QString& valueName, const QString& keyPath, std::int32_t hive,
                    const Variant& defaultValue);

    // Reads the addressed value. When it cannot be read, returns Default and
    // leaves ValueType as it was; otherwise sets ValueType to the type found:
    // 1 and 7 give a String without the terminating NUL (a string list keeps
    // the NULs between its items), 2 a String with %NAME% references
    // expanded, 4 a Long, 5 a Long from big-endian bytes, any other type the
    // raw bytes.
    Variant Value();
    // Writes the addressed value by ValueType: 1 or 2 store the text of `v`,
    // as an expandable string when it holds a "%" followed two or more
    // characters later by another "%", else as a plain string; 3 stores a
    // byte array; 4 and 5 store an Integer or Long as a 32-bit number (5 in
    // big-endian order). Creates the key when missing. Raises 26001 when the
    // key cannot be created or `v` does not fit the type, 0x800469A9 when the
    // store fails or ValueType is not 1 to 5.
    void setValue(const Variant& v);

    // Names of all values of SectionKey, in enumeration order; false (and
    // none) when the key cannot be read.
    bool EnumerateValues(Names& names, int& count) const;
    // Names of all subkeys of SectionKey; raises 0x800469AA on failure.
    bool EnumerateSections(Names& names, int& count) const;

    // Registers `programPath` as the handler of `extension` (no dot) under
    // the class `className`, in the classes root and in local machine
    // "SOFTWARE\Classes". Leaves ClassKey at local machine.
    void CreateEXEAssociation(const QString& programPath, const QString& className,
                              const QString& classDescription, const QString& extension,
                              const QString& openMenuText = QString(), bool print = false,
                              const QString& printMenuText = QString(), bool newVerb = false,
                              const QString& newMenuText = QString(), bool install = false,
                              const QString& installMenuText = QString(),
                              std::int32_t iconIndex = 0);
    // Adds verbs to an existing class; `items` are triples of verb name,
    // menu text and command. Raises 0x800469AC when the list is not made of
    // triples and 0x800469AD when the class does not exist, writing nothing.
    void CreateAdditionalEXEAssociations(const QString& className, const QStringList& items);

    std::int32_t ValueType() const { return valueType_; }
    void setValueType(std::int32_t type) { valueType_ = type; }
    std::int32_t ClassKey() const { return classKey_; }
    void setClassKey(std::int32_t hive) { classKey_ = hive; }
    const QString& SectionKey() const { return sectionKey_; }
    void setSectionKey(const QString& path) { sectionKey_ = path; }
    const QString& ValueKey() const { return valueKey_; }
    void setValueKey(const QString& name) { valueKey_ = name; }
    const Variant& Default() const { return default_; }
    void setDefault(const Variant& v) { default_ = v; }

    // Writes `v` as the value `valueName` of `keyPath` under `hive`, by the
    // current ValueType; the object's keys are kept.
    void WriteKey(const Variant& v, const QString& valueName, const QString& keyPath,
                  std::int32_t hive);

    // The last value written successfully.
    const Variant& LastValueWritten() const { return lastWritten_; }

private:
    // Writes the default value of SectionKey as a string under the classes
    // root and under local machine "SOFTWARE\Classes\" + SectionKey.
    void writeClassValue(const QString& text);
    // Writes the verb `verb` of class `className` under both class locations:
    // its menu text, and its command line in the key "command" below it.
    // SectionKey is left on the command key.
    void writeVerb(const QString& className, const QString& verb, const QString& menuText,
                   const QString& commandLine);
    [[noreturn]] void raiseSetValueFailure(std::int32_t number, const Variant& v) const;

    std::int32_t classKey_ = 0;
    QString sectionKey_;
    QString valueKey_;
    std::int32_t valueType_ = kString;
    Variant default_;
    Variant lastWritten_;
};

} // namespace qzvenv
