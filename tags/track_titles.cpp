#include "tags/track_titles.h"

#include "core/program_state.h"
#include "engine/channel.h"
#include "platform/system/text.h"
#include "tags/id3v2_frames.h"
#include "tags/taglib_tags.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace tags {

namespace {

// Ten spaces between the fields of the deck information text.
const QString kGap(10, ' ');

QString trimmedMid(const QString& text, qsizetype from, qsizetype count) {
    return text.mid(from, count).trimmed();
}

QString trimLeft(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    return text.mid(i);
}

// The ID3v1 block of a main-library stream as text, plus one space; null
// when there is none. Each field ends at its own first zero byte and is
// filled up with spaces, so a field padded with zero bytes does not hide the
// fields after it.
QString id3v1BlockText(const engine::Channel& stream) {
    const char* block = stream.tags();
    if (!block)
        return {};
    // Title, artist, album, year, comment; the genre byte is not text.
    static constexpr std::size_t fieldEnds[] = {33, 63, 93, 97, 127};
    QString text = "TAG";
    std::size_t start = 3;
    for (const std::size_t end : fieldEnds) {
        const std::string_view field(block + start, end - start);
        text += sys::bytesToText(field.substr(0, field.find('\0')))
                    .leftJustified(static_cast<qsizetype>(field.size()), ' ');
        start = end;
    }
    return text + " ";
}

// The WMA header lines as (upper-cased trimmed key, value) pairs, in order.
// Lines of 2 characters or fewer and lines without a colon are skipped.
std::vector<std::pair<QString, QString>> wmaTags(const engine::Channel& stream) {
    std::vector<std::pair<QString, QString>> lines;
    const char* line = stream.tags();
    while (line && *line) {
        const QString text = sys::fromAnsi(line);
        const qsizetype colon = text.indexOf(':');
        if (text.size() > 2 && colon >= 0)
            lines.emplace_back(text.left(colon).toUpper().trimmed(), text.mid(colon + 1));
        line += std::strlen(line) + 1;
    }
    return lines;
}

// Runs `onMain` on a main-library stream of the file, else `onWma` on a WMA
// stream; each stream is freed afterwards.
template <typename Main, typename Wma>
void withTagStream(const QString& path, Main&& onMain, Wma&& onWma) {
    const QByteArray file = sys::toAnsi(path);
    if (const engine::Channel stream = engine::Channel::openMain(file, engine::kTagsOnly))
        onMain(stream);
    else if (const engine::Channel wma = engine::Channel::openWma(file, engine::kTagsOnly))
        onWma(wma);
}

// The containers' own tags, when they hold a title or an artist.
std::optional<SongTags> ownTitleTags(const QString& path) {
    std::optional<SongTags> tags = readSongTags(path);
    if (tags && tags->title.trimmed().isEmpty() && tags->artist.trimmed().isEmpty())
        return std::nullopt;
    return tags;
}

} // namespace

QString strip_control_chars(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c.unicode() >= 32)
            out.append(c);
    return out.trimmed();
}

QString fileNameOf(const QString& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

QString FormatID3v1Title(const QString& block) {
    const QString fields = block.mid(3);
    return trimmedMid(fields, 0, 30) + " - " + trimmedMid(fields, 30, 30);
}

QString FormatID3v1Information(const QString& block, const QString& productName) {
    const QString f = block.mid(3);
    return "TITLE:  " + trimmedMid(f, 0, 30) + kGap + "ARTIST:  " + trimmedMid(f, 30, 30) + kGap +
           "ALBUM:  " + trimmedMid(f, 60, 30) + kGap + "YEAR:  " + trimmedMid(f, 90, 4) + kGap +
           "COMMENT:  " + trimmedMid(f, 94, 30) + kGap + productName;
}

QString getID3_tag(core::ProgramState& state, const QString& path) {
    QString title;
    withTagStream(
        path,
        [&](const engine::Channel& stream) {
            if (const std::optional<SongTags> own = ownTitleTags(path)) {
                title = strip_control_chars(
                    own->artist.isEmpty() ? own->title : own->title + " - " + own->artist);
            } else if (has_id3v2(path, state.id3v2)) {
                read_id3v2_frames(path, state.id3v2);
                title = strip_control_chars(state.id3v2.TIT2 + " - " + state.id3v2.TPE1);
            } else if (const QString block = id3v1BlockText(stream); !block.isNull()) {
                title = FormatID3v1Title(block);
            }
        },
        [&](const engine::Channel& wma) {
            QString name, author;
            for (const auto& [key, value] : wmaTags(wma)) {
                if (key == "TITLE")
                    name = value;
                else if (key == "AUTHOR")
                    author = value;
            }
            title = trimLeft(author.isEmpty() ? name : name + " - " + author);
        });
    if (title.isEmpty())
        title = state.playlist.listedTitles.value(path);
    return title.isEmpty() ? fileNameOf(path) : title;
}

QString get_ID3_tag(core::ProgramState& state, const QString& path, const QString& productName) {
    QString text;
    withTagStream(
        path,
        [&](const engine::Channel& stream) {
            const core::Id3v2Values& v = state.id3v2;
            if (const std::optional<SongTags> own = ownTitleTags(path)) {
                text = removeNulls("TITLE:  " + own->title + kGap + "ARTIST:  " + own->artist +
                                   kGap + "ALBUM:  " + own->album + kGap + "YEAR:  " + own->year +
                                   kGap + "COMMENT:  " + own->comment + kGap + productName);
            } else if (has_id3v2(path, state.id3v2)) {
                read_id3v2_frames(path, state.id3v2);
                text = removeNulls("TITLE:  " + v.TIT2 + kGap + "ARTIST:  " + v.TPE1 + kGap +
                                   "ALBUM:  " + v.TALB + kGap + "YEAR:  " + v.TYER + kGap +
                                   "COMMENT:  " + v.COMM + kGap + productName);
            } else if (const QString block = id3v1BlockText(stream); !block.isNull()) {
                text = FormatID3v1Information(block, productName);
            }
        },
        [&](const engine::Channel& wma) {
            static const std::pair<const char*, const char*> labels[] = {
                {"TITLE", "TITLE:  "},
                {"AUTHOR", "AUTHOR:  "},
                {"WM/YEAR", "YEAR:  "},
                {"WM/ALBUMTITLE", "ALBUM:  "},
                {"COPYRIGHT", "COPYRIGHT:  "}};
            for (const auto& [key, value] : wmaTags(wma))
                for (const auto& [name, label] : labels)
                    if (key == name)
                        text += kGap + label + value;
            text = trimLeft(text + kGap + productName);
        });
    return text.isEmpty() ? fileNameOf(path) : text;
}

} // namespace tags
