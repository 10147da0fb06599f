#include "platform/system/key_file.h"

namespace sys {

KeyFile KeyFile::parse(const QByteArray& text) {
    KeyFile file;
    QString group;
    const QStringList lines = QString::fromUtf8(text).split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (i == lines.size() - 1 && line.isEmpty())
            break; // the text's own last line end
        Line entry{line, group, {}, false};
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            group = trimmed.mid(1, trimmed.size() - 2);
            entry.group = group;
            entry.header = true;
        } else if (!trimmed.startsWith('#') && trimmed.contains('=')) {
            entry.key = trimmed.left(trimmed.indexOf('=')).trimmed();
        }
        file.lines_.push_back(entry);
    }
    return file;
}

QByteArray KeyFile::text() const {
    QString out;
    for (const Line& line : lines_)
        out += line.text + '\n';
    return out.toUtf8();
}

bool KeyFile::contains(const QString& group, const QString& key) const {
    for (const Line& line : lines_)
        if (line.group == group && line.key == key)
            return true;
    return false;
}

QString KeyFile::value(const QString& group, const QString& key) const {
    for (const Line& line : lines_)
        if (line.group == group && line.key == key)
            return line.text.mid(line.text.indexOf('=') + 1).trimmed();
    return {};
}

void KeyFile::setValue(const QString& group, const QString& key, const QString& value) {
    const QString text = key + '=' + value;
    bool done = false;
    for (auto it = lines_.begin(); it != lines_.end();) {
        if (it->group == group && it->key == key) {
            if (done) {
                it = lines_.erase(it);
                continue;
            }
            it->text = text;
            done = true;
        }
        ++it;
    }
    if (done)
        return;
    // After the group's last key, or right after its header when it has none.
    std::size_t at = lines_.size();
    bool found = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].group != group)
            continue;
        if (lines_[i].header || !lines_[i].key.isEmpty())
            at = i + 1;
        found = true;
    }
    if (!found) {
        if (!lines_.empty() && !lines_.back().text.trimmed().isEmpty())
            lines_.push_back({QString(), lines_.back().group, {}, false});
        lines_.push_back({'[' + group + ']', group, {}, true});
        at = lines_.size();
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{text, group, key, false});
}

void KeyFile::removeKey(const QString& group, const QString& key) {
    std::erase_if(lines_, [&](const Line& line) { return line.group == group && line.key == key; });
}

QStringList KeyFile::splitList(const QString& value) {
    QStringList items;
    for (const QString& item : value.split(';', Qt::SkipEmptyParts))
        if (!item.trimmed().isEmpty())
            items << item.trimmed();
    return items;
}

QString KeyFile::joinList(const QStringList& items) {
    return items.isEmpty() ? QString() : items.join(';') + ';';
}

} // namespace sys
