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

void Registry::CreateEXEAssociation(const QString& programPath, const QString& className,
                                    const QString& classDescription, const QString& extension,
                                    const QString& openMenuText, bool print,
                                    const QString& printMenuText, bool newVerb,
                                    const QString& newMenuText, bool install,
                                    const QString& installMenuText, std::int32_t iconIndex) {
    const QString program = quotedPath(programPath);
    const QString shell = className + QStringLiteral("\\shell\\");
    auto write = [this](const QString& section, const QString& text) {
        sectionKey_ = section;
        writeClassValue(text);
    };
    auto orDefault = [](const QString& text, const QString& fallback) {
        return text.isEmpty() ? fallback : text;
    };

    write(u'.' + extension, className);
    write(className, classDescription);
    write(shell + QStringLiteral("open"), orDefault(openMenuText, QStringLiteral("&Open")));
    write(shell + QStringLiteral("open\\command"), command(program, QString()));
    if (print) {
        write(shell + QStringLiteral("print"), orDefault(printMenuText, QStringLiteral("&Print")));
        write(shell + QStringLiteral("print\\command"), command(program, QStringLiteral("/p")));
    }
    if (install) {
        write(shell + QStringLiteral("add"),
              orDefault(installMenuText, QStringLiteral("&Install ") + extension));
        write(shell + QStringLiteral("add\\command"), command(program, QStringLiteral("/a")));
    }
    if (newVerb) {
        write(shell + QStringLiteral("new"), orDefault(newMenuText, QStringLiteral("&New")));
        write(shell + QStringLiteral("new\\command"), command(program, QStringLiteral("/n")));
    }
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
    const QString shell = className + QStringLiteral("\\shell\\");
    for (qsizetype i = 0; i + 2 < items.size(); i += 3) {
        sectionKey_ = shell + items[i];
        writeClassValue(items[i + 1]);
        sectionKey_ = shell + items[i] + QStringLiteral("\\command");
        writeClassValue(items[i + 2]);
    }
    classKey_ = kLocalMachine;
}

} // namespace qzvenv
