#include "tags/name_guess.h"

#include <QStringList>

namespace tags {

QString trimSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == ' ')
        ++start;
    while (end > start && text[end - 1] == ' ')
        --end;
    return text.mid(start, end - start);
}

namespace {

// A number as a user would read one: optional blanks, sign, digits with an
// optional point and exponent ("05 ", "1.5", "-3").
bool isNumeric(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    trimmed.toDouble(&ok);
    return ok;
}

QString fileNameWithoutExtension(const QString& path) {
    QString name = path.mid(path.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0)
        name.truncate(dot);
    return trimSpaces(name);
}

} // namespace

int count_of(const QString& text, const QString& separator) {
    if (text.isEmpty() || separator.isEmpty())
        return 0;
    return static_cast<int>(text.count(separator));
}

QString parent_and_name(const QString& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return trimSpaces(path.left(slash)) + " - " + trimSpaces(path.mid(slash + 1));
}

Mp3Fields guess_from_name(const QString& path) {
    Mp3Fields f;
    QString name = fileNameWithoutExtension(path);
    if (!name.contains(' ')) {
        f.title = name.replace('_', ' ');
        return f;
    }
    name = trimSpaces(name.replace('_', ' '));
    const bool bracketed = name.startsWith('(');
    if (bracketed && count_of(name, "-") < 3) {
        const qsizetype close = name.indexOf(')');
        f.artist = close < 0 ? name.mid(1) : name.mid(1, close - 1);
        const QString rest = close < 0 ? QString() : trimSpaces(name.mid(close + 1));
        if (rest.startsWith('-')) {
            f.title = trimSpaces(rest.mid(1));
        } else if (const qsizetype dash = rest.indexOf('-'); dash >= 0) {
            f.album = rest.mid(dash + 1);
            f.title = rest.left(dash);
        } else {
            f.title = rest;
        }
    } else {
        const QStringList parts = name.split("- ");
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const QString& part = parts[i];
            if (isNumeric(part))
                continue;
            if (f.artist.isEmpty())
                f.artist = part;
            else if (i > 0 && isNumeric(parts[i - 1])) {
                if (f.title.isEmpty())
                    f.title = part;
            } else if (f.album.isEmpty()) {
                f.album = part;
            }
        }
    }
    f.artist.remove('(').remove(')');
    if (f.title.isEmpty() && !bracketed && path.indexOf('/') != path.lastIndexOf('/'))
        return guess_from_name(parent_and_name(path));
    return f;
}

} // namespace tags
