#pragma once
// The "key file" text format of the desktop's configuration (desktop
// entries, mimeapps.list): [Group] headers and Key=Value lines. Changing a
// value keeps every other line as it was: comments, blank lines, other
// groups, other keys and their order.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace sys {

class KeyFile {
public:
    // Reads UTF-8 text with LF or CR LF line ends.
    static KeyFile parse(const QByteArray& text);
    // The lines joined with LF, ending with one.
    QByteArray text() const;

    bool contains(const QString& group, const QString& key) const;
    // The raw text after the first "=" of the key's first line in `group`
    // ("" when absent). Keys compare with regard to case.
    QString value(const QString& group, const QString& key) const;
    // Replaces the key's first line in `group` (dropping later duplicates),
    // or adds it after the group's last key; a missing group is added at
    // the end.
    void setValue(const QString& group, const QString& key, const QString& value);
    // Removes every line of the key in `group`.
    void removeKey(const QString& group, const QString& key);

    // A ";"-separated list value and back (with the closing ";").
    static QStringList splitList(const QString& value);
    static QString joinList(const QStringList& items);

private:
    struct Line {
        QString text;
        QString group; // the group the line belongs to ("" before the first header)
        QString key;   // "" for headers, comments and blank lines
        bool header = false;
    };
    std::vector<Line> lines_;
};

} // namespace sys
