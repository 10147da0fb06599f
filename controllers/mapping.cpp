#include "controllers/mapping.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace controllers {

namespace {

// The line (from 1) of byte `offset` of `text`.
int lineAt(const QByteArray& text, qsizetype offset) {
    offset = std::clamp<qsizetype>(offset, 0, text.size());
    return static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n')) + 1;
}

// Finds where each binding's text lies, by its "action" value, in order:
// QJsonDocument keeps no positions.
class EntryLines {
public:
    explicit EntryLines(const QByteArray& text) : text_(text) {}
    int next(const QString& actionId) {
        const QByteArray quoted = "\"" + actionId.toUtf8() + "\"";
        const qsizetype at = text_.indexOf(quoted, from_);
        if (at < 0)
            return lineAt(text_, from_);
        from_ = at + quoted.size();
        return lineAt(text_, at);
    }

private:
    const QByteArray& text_;
    qsizetype from_ = 0;
};

const char* kindKey(MessageKind kind) {
    switch (kind) {
    case MessageKind::Note:
        return "note";
    case MessageKind::Control:
        return "cc";
    case MessageKind::Control14:
        return "cc14";
    case MessageKind::PitchBend:
        return "pitchBend";
    }
    return "note";
}

} // namespace

MappingRead parseMapping(const QByteArray& text, const QString& fileName) {
    const auto refuse = [&](int line, const QString& why) {
        return MappingRead{std::nullopt, QString("The controller mapping %1 has an error on line "
                                                 "%2: %3. No mapping is used.")
                                             .arg(fileName)
                                             .arg(line)
                                             .arg(why)};
    };
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refuse(lineAt(text, parseError.offset), parseError.errorString());
    if (!document.isObject() || !document.object().value("bindings").isArray())
        return refuse(1, "it holds no list of \"bindings\"");
    Mapping mapping;
    mapping.name = document.object().value("name").toString(QFileInfo(fileName).baseName());
    EntryLines lines(text);
    for (const QJsonValue& value : document.object().value("bindings").toArray()) {
        const QJsonObject entry = value.toObject();
        const QString id = entry.value("action").toString();
        const int line = lines.next(id);
        const mixer::ActionRow* row = mixer::findAction(id.toStdString());
        if (!row)
            return refuse(line, QString("there is no action \"%1\"").arg(id));
        Binding b;
        b.action = row->action;
        b.channel = entry.value("channel").toInt(1) - 1;
        if (b.channel < 0 || b.channel > 15)
            return refuse(line, "the channel is not 1 to 16");
        int kinds = 0;
        for (MessageKind kind : {MessageKind::Note, MessageKind::Control, MessageKind::Control14,
                                 MessageKind::PitchBend}) {
            if (!entry.contains(kindKey(kind)))
                continue;
            ++kinds;
            b.kind = kind;
            b.number = entry.value(kindKey(kind)).toInt(-1);
        }
        if (kinds != 1)
            return refuse(line, "a binding names one of \"note\", \"cc\", \"cc14\", \"pitchBend\"");
        if (b.kind == MessageKind::PitchBend)
            b.number = 0;
        const int highest = b.kind == MessageKind::Control14 ? 31 : 127;
        if (b.number < 0 || b.number > highest)
            return refuse(line, QString("the note or control number is not 0 to %1").arg(highest));
        b.relative = entry.value("relative").toBool();
        b.softTakeover = entry.value("softTakeover").toBool();
        b.invert = entry.value("invert").toBool();
        b.light = entry.value("light").toBool();
        if (entry.contains("range")) {
            const QJsonArray range = entry.value("range").toArray();
            b.low = range.at(0).toDouble(-1);
            b.high = range.at(1).toDouble(-1);
            if (range.size() != 2 || b.low < 0 || b.high > 1 || b.low >= b.high)
                return refuse(line, "the range is not two numbers 0 <= low < high <= 1");
        }
        mapping.bindings.push_back(b);
    }
    return {std::move(mapping), {}};
}

MappingRead readMappingFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QString("The controller mapping %1 cannot be read: %2. No mapping "
                                      "is used.")
                                  .arg(path, file.errorString())};
    return parseMapping(file.readAll(), path);
}

QByteArray mappingText(const Mapping& mapping) {
    QJsonArray bindings;
    for (const Binding& b : mapping.bindings) {
        QJsonObject entry;
        entry["action"] = QString(mixer::actionRow(b.action).id);
        entry["channel"] = b.channel + 1;
        if (b.kind == MessageKind::PitchBend)
            entry["pitchBend"] = true;
        else
            entry[kindKey(b.kind)] = b.number;
        for (const auto& [key, on] : {std::pair{"relative", b.relative},
                                      {"softTakeover", b.softTakeover},
                                      {"invert", b.invert},
                                      {"light", b.light}})
            if (on)
                entry[key] = true;
        if (b.low != 0.0 || b.high != 1.0)
            entry["range"] = QJsonArray{b.low, b.high};
        bindings.append(entry);
    }
    return QJsonDocument(QJsonObject{{"name", mapping.name}, {"bindings", bindings}})
        .toJson(QJsonDocument::Indented);
}

} // namespace controllers
