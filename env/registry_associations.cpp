// Registering a program as the handler of a file type: keys written under the
// classes root and, the same, under local machine "SOFTWARE\Classes".
#include "env/registry.h"
#include "platform/com/com_error.h"

namespace qzvenv {

namespace {

// The trimmed path in double quotes (a quote added only where missing).
QString quotedPath(const QString& path) {
    QString out = path.trimmed();
    if (!out.startsWith(u'"'))
        out.prepend(u'"');
    if (out.size() < 2 || !out.endsWith(u'"'))
        out.append(u'"');
    return out;
}

QString command(const QString& program, const QString& option) {
    return program + (option.isEmpty() ? QString() : u' ' + option) + QStringLiteral(" \"%1\"");
}

} // namespace

void Registry::writeClassValue(const QString& text) {
    const QString section = sectionKey_;
    valueKey_.clear();
    valueType_ = kString;
    classKey_ = kClassesRoot;
    setValue(text);
    classKey_ = kLocalMachine;
    sectionKey_ = QStringLiteral("SOFTWARE\\Classes\\") + section;
    setValue(text);
    sectionKey_ = section;
}

void Registry::writeVerb(const QString& className, const QString& verb, const QString& menuText,
                         const QString& commandLine) {
    const QString section = className + QStringLiteral("\\shell\\") + verb;
    sectionKey_ = section;
    writeClassValue(menuText);
    sectionKey_ = section + QStringLiteral("\\command");
    writeClassValue(commandLine);
}

void Registry::CreateEXEAssociation(const QString& programPath, const QString& className,
                                    const QString& classDescription, const QString& extension,
                                    const QString& openMenuText, bool print,
                                    const QString& printMenuText, bool newVerb,
                                    const QString& newMenuText, bool install,
                                    const QString& installMenuText, std::int32_t iconIndex) {
    const QString program = quotedPath(programPath);
    auto write = [this](const QString& section, const QString& text) {
        sectionKey_ = section;
        writeClassValue(text);
    };
    auto orDefault = [](const QString& text, const QString& fallback) {
        return text.isEmpty() ? fallback : text;
    };

    write(u'.' + extension, className);
    write(className, classDescription);
    writeVerb(className, QStringLiteral("open"), orDefault(openMenuText, QStringLiteral("&Open")),
              command(program, QString()));
    if (print)
        writeVerb(className, QStringLiteral("print"),
                  orDefault(printMenuText, QStringLiteral("&Print")),
                  command(program, QStringLiteral("/p")));
    if (install)
        writeVerb(className, QStringLiteral("add"),
                  orDefault(installMenuText, QStringLiteral("&Install ") + extension),
                  command(program, QStringLiteral("/a")));
    if (newVerb)
        writeVerb(className, QStringLiteral("new"), orDefault(newMenuText, QStringLiteral("&New")),
                  command(program, QStringLiteral("/n")));
    if (iconIndex >= 0)
        write(className + QStringLiteral("\\DefaultIcon"),
              program + u',' + QString::number(iconIndex));
}

void Registry::CreateAdditionalEXEAssociations(const QString& className, const QStringList& items) {
    if (items.size() % 3 != 0)
        throw com::ComError(kErrorAssociationList, kErrorSource,
                            QStringLiteral("Invalid parameter list passed to "
                                           "CreateAdditionalEXEAssociations - expected "
                                           "Name/Text/Command"));
    classKey_ = kClassesRoot;
    sectionKey_ = className;
    if (!KeyExists())
        throw com::ComError(
            kErrorAssociationClass, kErrorSource,
            QStringLiteral("Error - attempt to create additional associations before class "
                           "defined."));
    for (qsizetype i = 0; i + 2 < items.size(); i += 3)
        writeVerb(className, items[i], items[i + 1], items[i + 2]);
    classKey_ = kLocalMachine;
}

} // namespace qzvenv
