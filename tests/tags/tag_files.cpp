#include "tests/tags/tag_files.h"

#include "platform/system/tag_text.h"
#include "tests/fixtures/fixtures.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

extern "C" {
#include <libavformat/avformat.h>
}

namespace tag_files {

namespace {
void put32(std::string& out, std::uint32_t v, bool synchsafe) {
    const int step = synchsafe ? 7 : 8;
    const std::uint32_t mask = synchsafe ? 0x7F : 0xFF;
    for (int i = 3; i >= 0; --i)
        out.push_back(static_cast<char>((v >> (i * step)) & mask));
}
} // namespace

std::string text(std::uint8_t encoding, const QString& value) {
    // Appended rather than joined with +: GCC 12 warns falsely (-Wrestrict)
    // on the inlined insert of operator+(string&&, string&&) at -O2.
    std::string body(1, static_cast<char>(encoding));
    body += sys::encodeTagText(encoding, value).toStdString();
    return body;
}

std::string comment(std::uint8_t encoding, const QString& description, const QString& value) {
    std::string body(1, static_cast<char>(encoding));
    body += "eng";
    body += sys::encodeTagText(encoding, description).toStdString();
    body.append(sys::tagTextTerminatorSize(encoding), '\0');
    body += sys::encodeTagText(encoding, value).toStdString();
    return body;
}

std::string id3v2(int version, const std::vector<Frame>& frames, std::size_t padding) {
    std::string body;
    for (const Frame& f : frames) {
        body += f.id;
        put32(body, static_cast<std::uint32_t>(f.body.size()), version >= 4);
        body.append(2, '\0');
        body += f.body;
    }
    body.append(padding, '\0');
    std::string tag = "ID3";
    tag.push_back(static_cast<char>(version));
    tag.append(2, '\0');
    put32(tag, static_cast<std::uint32_t>(body.size()), true);
    return tag + body;
}

std::string id3v1(const std::string& title, const std::string& artist, char pad) {
    std::string block = "TAG";
    for (const std::string* f : {&title, &artist}) {
        std::string field = f->substr(0, 30);
        field.resize(30, pad);
        block += field;
    }
    block.resize(128, '\0');
    block[127] = static_cast<char>(255);
    return block;
}

fixtures::Tone shortTone(fixtures::Format format) {
    fixtures::Tone tone;
    tone.format = format;
    tone.seconds = 0.3;
    if (format == fixtures::Format::Opus)
        tone.sampleRate = 48000; // the rate Opus codes at
    return tone;
}

const std::string& plainMp3() {
    static const std::string bytes = [] {
        QTemporaryDir dir;
        const auto path = fixtures::makeTone((dir.path() + "/plain.mp3").toStdString(),
                                             shortTone(fixtures::Format::Mp3Cbr));
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    return bytes;
}

QString write(const QString& path, const std::string& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return path;
}

QByteArray packetHash(const QString& path) {
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, QFile::encodeName(path).constData(), nullptr, nullptr) < 0)
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    AVPacket* packet = av_packet_alloc();
    for (unsigned i = 0; i < context->nb_streams; ++i)
        if (context->streams[i]->disposition & AV_DISPOSITION_ATTACHED_PIC)
            hash.addData(QByteArrayView(context->streams[i]->attached_pic.data,
                                        context->streams[i]->attached_pic.size));
    while (av_read_frame(context, packet) >= 0) {
        hash.addData(QByteArrayView(packet->data, packet->size));
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    return hash.result();
}

} // namespace tag_files
