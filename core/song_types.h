#pragma once
// The song files the decks play: one list of their file name extensions and
// desktop MIME types, used by the open dialog's filter, drops, the command
// line, the file associations and the desktop entry.
#include <QString>
#include <QStringList>
#include <array>

namespace core {

struct SongType {
    const char* caption;     // the association check box's caption
    const char* extensions;  // lower case without the dot, space-separated; the first is the
                             // one the registry associates
    const char* className;   // the registry class of the association
    const char* description; // the class's default value
    const char* mimeTypes;   // the desktop's names of the type, ';'-separated
};

inline constexpr std::array<SongType, 9> kSongTypes{{
    {"MP3 - Mpeg Audio Format...", "mp3", "Vorlan.Music.File", "Vorlan Music File", "audio/mpeg"},
    {"WMA - Windows Media Audio...", "wma", "Vorlan.Music.File", "Vorlan Music File",
     "audio/x-ms-wma"},
    {"ASF - Advanced Streaming Format...", "asf", "Vorlan.DJ.Mix", "Vorlan DJ Mix",
     "application/vnd.ms-asf"},
    {"WAV - Standard PCM WAV...", "wav", "Vorlan.Sound.File", "Vorlan Sound File", "audio/x-wav"},
    {"FLAC - Free Lossless Audio...", "flac", "Vorlan.Music.File", "Vorlan Music File",
     "audio/flac"},
    {"AIFF - Audio Interchange File...", "aiff aif aifc", "Vorlan.Sound.File", "Vorlan Sound File",
     "audio/x-aiff"},
    {"M4A - AAC and Apple Lossless...", "m4a", "Vorlan.Music.File", "Vorlan Music File",
     "audio/mp4;audio/x-m4a;audio/aac"},
    {"OGG - Ogg Vorbis Audio...", "ogg oga", "Vorlan.Music.File", "Vorlan Music File",
     "audio/ogg;audio/x-vorbis+ogg"},
    {"OPUS - Opus Audio...", "opus", "Vorlan.Music.File", "Vorlan Music File", "audio/opus"},
}};

// Every song extension, lower case without the dot, in the list's order.
QStringList songExtensions();
// True when the file name ends with a song extension (any case).
bool isSongFile(const QString& path);
// The open dialog's filter of song files ("Music Files (mp3,wav,...)|*.mp3;...|")
// followed by "All Files (*.*)|*.*|".
QString musicFilesFilter();
// Every MIME type of the songs, in the list's order.
QStringList songMimeTypes();

} // namespace core
