#include "platform/audio/decoder.h"

#include "platform/audio/bass.h"
#include "platform/audio/file_blocks.h"
#include "platform/audio/mpeg_frames.h"
#include "platform/audio/sample_math.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sys/stat.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/intreadwrite.h>
#include <libswresample/swresample.h>
}

namespace audio {
namespace {

// Frames decoded before a seek target so that the decoder's overlap and bit
// reservoir are warm and the samples equal a straight decode.
constexpr std::int64_t mpegPreroll = 12 * 1152;
constexpr std::int64_t asfPreroll = 4 * 2048;
// Consecutive undecodable packets after which a file counts as ended.
constexpr int maxConsecutiveErrors = 1000;
// Probe scores below this are guesses (garbage that happens to hold a sync word).
constexpr int minimumProbeScore = AVPROBE_SCORE_MAX / 4;

void quietFfmpeg() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// Samples per frame of the WMA codecs whose frames all have one length
// (1 elsewhere): 512, 1024 or 2048 by the sample rate and version.
std::int64_t wmaFrameLength(AVCodecID codec, int sampleRate) {
    if (codec != AV_CODEC_ID_WMAV1 && codec != AV_CODEC_ID_WMAV2)
        return 1;
    const bool version1 = codec == AV_CODEC_ID_WMAV1;
    if (sampleRate <= 16000)
        return 512;
    if (sampleRate <= 22050 || (version1 && sampleRate <= 32000))
        return 1024;
    return 2048;
}

// The demuxers of the main library's containers beyond MPEG audio and WAV,
// whose headers give the exact length (FLAC, AIFF/AIFC, MP4/M4A, Ogg).
constexpr const char* mp4Demuxer = "mov,mp4,m4a,3gp,3g2,mj2";

bool containerFormat(const std::string& name) {
    return name == "flac" || name == "aiff" || name == mp4Demuxer || name == "ogg";
}

bool familyAccepts(Family family, const char* formatName) {
    const std::string name = formatName ? formatName : "";
    if (family == Family::Wma)
        return name == "asf";
    return name == "mp3" || name == "wav" || containerFormat(name);
}

// The codecs a container may carry for the main library: AAC or ALAC in MP4,
// Vorbis, Opus or FLAC in Ogg; any in the others.
bool codecAccepted(const std::string& formatName, AVCodecID codec) {
    if (formatName == mp4Demuxer)
        return codec == AV_CODEC_ID_AAC || codec == AV_CODEC_ID_ALAC;
    if (formatName == "ogg")
        return codec == AV_CODEC_ID_VORBIS || codec == AV_CODEC_ID_OPUS ||
               codec == AV_CODEC_ID_FLAC;
    return true;
}

// Frames decoded before a seek target of a lossy codec in a container, so
// that its overlap and prediction are warm (at least what the stream asks).
std::int64_t containerPreroll(const AVCodecParameters& codec) {
    std::int64_t frames = 0;
    if (codec.codec_id == AV_CODEC_ID_AAC)
        frames = 3 * 1024;
    else if (codec.codec_id == AV_CODEC_ID_VORBIS)
        frames = 3 * 8192;
    else if (codec.codec_id == AV_CODEC_ID_OPUS)
        frames = 36000; // 0.75 s at the decoder's 48 kHz: its state is then exact again
    return std::max<std::int64_t>(frames, codec.seek_preroll);
}

} // namespace

Decoder::~Decoder() {
    swr_free(&swr_);
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

std::unique_ptr<Decoder> Decoder::open(const std::string& path, Family family, int& error) {
    quietFfmpeg();
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = BASS_ERROR_FILEOPEN;
        return nullptr;
    }
    if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
        std::fclose(probe);
    } else {
        error = BASS_ERROR_FILEOPEN;
        return nullptr;
    }
    error = BASS_ERROR_FORMAT;
    if (info.st_size == 0)
        return nullptr;

    std::unique_ptr<Decoder> decoder(new Decoder);
    decoder->path_ = path;
    decoder->family_ = family;
    if (avformat_open_input(&decoder->format_, path.c_str(), nullptr, nullptr) < 0)
        return nullptr;
    AVFormatContext* format = decoder->format_;
    if (!familyAccepts(family, format->iformat->name) || format->probe_score < minimumProbeScore)
        return nullptr;
    decoder->formatName_ = format->iformat->name;
    decoder->dataOffset_ = avio_tell(format->pb);
    // The first audio stream (its rate may be unknown until the codec opens).
    int index = -1;
    for (unsigned i = 0; i < format->nb_streams && index < 0; ++i)
        if (format->streams[i]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO)
            index = static_cast<int>(i);
    if (index < 0)
        return nullptr;
    AVStream* stream = format->streams[index];
    if (!avcodec_find_decoder(stream->codecpar->codec_id) ||
        !codecAccepted(decoder->formatName_, stream->codecpar->codec_id))
        return nullptr;
    decoder->streamIndex_ = index;
    decoder->sampleRate_ = stream->codecpar->sample_rate;

    error = BASS_OK;
    return decoder;
}

bool Decoder::openCodec() {
    avcodec_free_context(&codec_);
    const AVStream* stream = format_->streams[streamIndex_];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    codec_ = avcodec_alloc_context3(codec);
    if (!codec_ || avcodec_parameters_to_context(codec_, stream->codecpar) < 0)
        return false;
    codec_->pkt_timebase = stream->time_base;
    return avcodec_open2(codec_, codec, nullptr) >= 0;
}

bool Decoder::activate() {
    if (active_)
        return true;
    AVStream* stream = format_->streams[streamIndex_];
    if (stream->codecpar->sample_rate <= 0 || stream->codecpar->ch_layout.nb_channels <= 0) {
        if (avformat_find_stream_info(format_, nullptr) < 0)
            return false;
    }
    if (!openCodec())
        return false;
    sampleRate_ = codec_->sample_rate > 0 ? codec_->sample_rate : stream->codecpar->sample_rate;
    if (sampleRate_ <= 0)
        return false;
    frame_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (!frame_ || !packet_)
        return false;
    const AVCodecID codecId = stream->codecpar->codec_id;
    pcmChannels_ = stream->codecpar->ch_layout.nb_channels;
    pcmBigEndian_ = codecId == AV_CODEC_ID_PCM_S16BE;
    pcmPackets_ = (codecId == AV_CODEC_ID_PCM_S16LE || pcmBigEndian_) &&
                  (pcmChannels_ == 1 || pcmChannels_ == 2) &&
                  stream->codecpar->sample_rate == sampleRate_;

    if (stream->start_time != AV_NOPTS_VALUE)
        originFrames_ = framesFromTimestamp(stream->start_time);
    // MPEG audio and ASF: an estimate from the header until scanned. The
    // other containers' headers give the exact length (their end padding is
    // cut off at it), unless they leave it out (a FLAC file written as a
    // stream): then the decoding plays to the end of the data.
    const bool container = containerFormat(formatName_);
    trimEnd_ = container && stream->duration != AV_NOPTS_VALUE && stream->duration > 0;
    exact_ = formatName_ == "wav" || trimEnd_;
    if (container)
        preroll_ = containerPreroll(*stream->codecpar);
    if (formatName_ == "asf")
        frameGrid_ = wmaFrameLength(codec_->codec_id, sampleRate_);
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0)
        lengthFrames_ = framesFromTimestamp(stream->duration);
    else if (format_->duration > 0)
        lengthFrames_ = av_rescale(format_->duration, sampleRate_, AV_TIME_BASE);
    // An Ogg stream's length counts the Opus pre-skip, which decoding drops.
    if (formatName_ == "ogg")
        lengthFrames_ =
            std::max<std::int64_t>(lengthFrames_ - stream->codecpar->initial_padding, 0);
    // A WAV or AIFF file cut short holds fewer frames than its header says.
    const int blockAlign = stream->codecpar->block_align;
    const std::int64_t fileSize = avio_size(format_->pb);
    if ((formatName_ == "wav" || formatName_ == "aiff") && blockAlign > 0 &&
        fileSize > dataOffset_) {
        const std::int64_t present = (fileSize - dataOffset_) / blockAlign;
        lengthFrames_ = lengthFrames_ > 0 ? std::min(lengthFrames_, present) : present;
    }
    active_ = true;
    return true;
}

Decoder::PacketScan Decoder::scanPackets() const {
    if (!active_)
        return {};
    if (formatName_ == "mp3")
        return scanMpegPackets(true);
    if (formatName_ == "asf")
        return probeAsfEnds();
    // A container whose header leaves the length out.
    if (containerFormat(formatName_))
        return scanMpegPackets(false);
    return {};
}

// The length and seek index of a plain MPEG file from its frame headers,
// walked on from the demuxer's first packet; empty for a file that does not
// start as a plain one (the packets are then read one by one).
static std::optional<MpegWalk> walkFrom(const std::string& path, const AVPacket& first,
                                        std::int64_t skipStart, AVRational timeBase) {
    if (first.pts != 0 || first.dts != 0 || first.pos < 0 || timeBase.num != 1)
        return std::nullopt;
    FileBlocks file(path);
    MpegWalkStart start;
    start.position = first.pos;
    start.size = first.size;
    start.duration = first.duration;
    start.skipStart = skipStart;
    start.timeBaseDen = timeBase.den;
    return walkMpegFrames(file, start);
}

// The exact length is the sum of packet lengths less the encoder delay and
// padding the demuxer marks; each packet becomes a seek index entry. The
// demuxer hands out the first packet; a plain file is walked on from there
// through its frame headers (the same packets, far faster), any other file
// is read packet by packet.
Decoder::PacketScan Decoder::scanMpegPackets(bool walkMpeg) const {
    PacketScan result;
    AVFormatContext* scan = nullptr;
    if (avformat_open_input(&scan, path_.c_str(), format_->iformat, nullptr) < 0)
        return result;
    AVPacket* packet = av_packet_alloc();
    const AVRational timeBase = scan->streams[streamIndex_]->time_base;
    const AVRational frameBase{1, sampleRate_};
    bool first = true;
    std::int64_t total = 0;
    while (packet && av_read_frame(scan, packet) >= 0) {
        if (packet->stream_index == streamIndex_) {
            std::int64_t frames = av_rescale_q(packet->duration, timeBase, frameBase);
            // Skips may reach past one packet (the decoder carries them on).
            std::size_t sideSize = 0;
            const std::uint8_t* side =
                av_packet_get_side_data(packet, AV_PKT_DATA_SKIP_SAMPLES, &sideSize);
            std::int64_t skipStart = 0;
            if (side && sideSize >= 10) {
                skipStart = AV_RL32(side);
                frames -= skipStart + static_cast<std::int64_t>(AV_RL32(side + 4));
            }
            if (first) {
                if (std::optional<MpegWalk> walk =
                        walkMpeg ? walkFrom(path_, *packet, skipStart, timeBase) : std::nullopt) {
                    result.originFrames = skipStart;
                    total = walk->lengthFrames;
                    result.entries = std::move(walk->entries);
                    first = false;
                    av_packet_unref(packet);
                    break;
                }
                if (packet->pts != AV_NOPTS_VALUE) {
                    result.originFrames =
                        av_rescale_q(packet->pts, timeBase, frameBase) + skipStart;
                    first = false;
                }
            }
            total += frames;
            if (packet->dts != AV_NOPTS_VALUE && packet->pos >= 0)
                result.entries.push_back({packet->pos, packet->dts, packet->size});
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&scan);
    result.lengthFrames = std::max<std::int64_t>(total, 0);
    result.ok = !first;
    return result;
}

// The first packets of a WMA file give no sound, so frame 0 is where the
// first decoded frame's timestamp says, and the length is known only once the
// last packets are decoded: both from a fresh decoder of the same file.
Decoder::PacketScan Decoder::probeAsfEnds() const {
    PacketScan result;
    int error = BASS_OK;
    const std::unique_ptr<Decoder> probe = open(path_, family_, error);
    if (!probe || !probe->activate())
        return result;
    const auto opening = static_cast<std::size_t>(sampleRate_); // one second
    std::vector<std::int16_t> first(opening * 2), again(opening * 2);
    const std::size_t got = probe->read(first.data(), opening);
    if (got == 0 || probe->firstOutputFrames_ < 0)
        return result;
    result.originFrames = probe->firstOutputFrames_;
    probe->originFrames_ = result.originFrames;
    // Some WMA frames fill bands with noise from a generator that runs on
    // from the file's start and that a flush does not reset: decoding the
    // opening again after a seek tells whether this file's sound depends on it.
    if (!probe->seek(0))
        return result;
    result.replayFromStart = probe->read(again.data(), got) != got ||
                             !std::equal(first.begin(), first.begin() + got * 2, again.begin());
    // Decode the last stretch; from further back when the header's length
    // reaches past the last packet.
    for (std::int64_t back = 2 * static_cast<std::int64_t>(sampleRate_);; back *= 8) {
        const std::int64_t from = std::max<std::int64_t>(lengthFrames_ - back, 0);
        if (!probe->seek(from))
            return result;
        std::size_t tail = 0;
        for (std::size_t n; (n = probe->read(again.data(), opening)) > 0;)
            tail += n;
        if (tail > 0 || from == 0) {
            result.lengthFrames = tail > 0 ? probe->nextFrame() : 0;
            break;
        }
    }
    result.ok = true;
    return result;
}

void Decoder::applyScan(const PacketScan& scan) {
    if (!scan.ok || exact_)
        return;
    AVStream* stream = format_->streams[streamIndex_];
    for (const auto& entry : scan.entries)
        av_add_index_entry(stream, entry.position, entry.timestamp, entry.size, 0,
                           AVINDEX_KEYFRAME);
    lengthFrames_ = scan.lengthFrames;
    originFrames_ = scan.originFrames;
    replayFromStart_ = scan.replayFromStart;
    exact_ = true;
}

std::int64_t Decoder::framesFromTimestamp(std::int64_t ts) const {
    return av_rescale_q_rnd(ts, format_->streams[streamIndex_]->time_base,
                            AVRational{1, sampleRate_}, AV_ROUND_NEAR_INF);
}

std::int64_t Decoder::gridFrames(std::int64_t ts) const {
    const std::int64_t frames = framesFromTimestamp(ts);
    if (frameGrid_ <= 1)
        return frames;
    const std::int64_t half = frameGrid_ / 2;
    return (frames >= 0 ? (frames + half) / frameGrid_ : -((-frames + half) / frameGrid_)) *
           frameGrid_;
}

std::int64_t Decoder::indexOfDecoded() {
    std::int64_t ts = frame_->best_effort_timestamp;
    if (ts == AV_NOPTS_VALUE)
        ts = frame_->pts;
    if (straightPath_ && firstOutputFrames_ < 0 && ts != AV_NOPTS_VALUE)
        firstOutputFrames_ = gridFrames(ts);
    if (!resync_)
        return nextFrame_;
    resync_ = false;
    return ts == AV_NOPTS_VALUE ? discardUntil_ : gridFrames(ts) - originFrames_;
}

std::size_t Decoder::read(std::int16_t* out, std::size_t maxFrames) {
    if (trimEnd_)
        maxFrames = static_cast<std::size_t>(std::clamp<std::int64_t>(
            lengthFrames_ - nextFrame_, 0, static_cast<std::int64_t>(maxFrames)));
    std::size_t done = 0;
    while (done < maxFrames) {
        const std::size_t available = pending_.size() / 2 - pendingOffset_;
        if (available > 0) {
            const std::size_t n = std::min(available, maxFrames - done);
            std::copy_n(pending_.data() + pendingOffset_ * 2, n * 2, out + done * 2);
            pendingOffset_ += n;
            nextFrame_ += static_cast<std::int64_t>(n);
            done += n;
            continue;
        }
        if (ended_ || !decodeFrame(out + done * 2, maxFrames - done, done)) {
            ended_ = true;
            break;
        }
    }
    return done;
}

// Decodes until one frame with samples at or after the discard point is
// there: converted straight into `direct` (room for `room` frames, `done`
// counting them) when it fits whole, otherwise into the pending frames.
bool Decoder::decodeFrame(std::int16_t* direct, std::size_t room, std::size_t& done) {
    if (!active_)
        return false;
    if (pcmPackets_)
        return readPcmPacket(direct, room, done);
    int errors = 0;
    for (;;) {
        const int received = avcodec_receive_frame(codec_, frame_);
        if (received == 0) {
            errors = 0;
            const std::int64_t index = indexOfDecoded();
            const int capacity = prepareConversion(frame_);
            if (capacity > 0 && index >= discardUntil_ &&
                static_cast<std::size_t>(capacity) <= room) {
                const int got = convert(frame_, direct, capacity);
                av_frame_unref(frame_);
                nextFrame_ = index + got;
                done += static_cast<std::size_t>(got);
                if (got > 0)
                    return true;
                continue;
            }
            pending_.resize(static_cast<std::size_t>(std::max(capacity, 0)) * 2);
            pending_.resize(static_cast<std::size_t>(convert(frame_, pending_.data(), capacity)) *
                            2);
            pendingOffset_ = 0;
            av_frame_unref(frame_);
            const auto frames = static_cast<std::int64_t>(pending_.size() / 2);
            const std::int64_t drop = std::clamp<std::int64_t>(discardUntil_ - index, 0, frames);
            nextFrame_ = index + drop;
            pendingOffset_ = static_cast<std::size_t>(drop);
            if (drop < frames)
                return true;
            nextFrame_ = index + frames;
            continue;
        }
        if (received == AVERROR_EOF)
            return false;
        if (received != AVERROR(EAGAIN)) {
            if (++errors > maxConsecutiveErrors)
                return false;
            continue;
        }
        if (draining_)
            return false;
        if (av_read_frame(format_, packet_) < 0) {
            draining_ = true;
            avcodec_send_packet(codec_, nullptr);
            continue;
        }
        if (packet_->stream_index == streamIndex_ && avcodec_send_packet(codec_, packet_) < 0) {
            if (++errors > maxConsecutiveErrors) {
                av_packet_unref(packet_);
                return false;
            }
        }
        av_packet_unref(packet_);
    }
}

namespace {

// `frames` frames of 16-bit PCM (little- or big-endian bytes, one or two
// channels) as native stereo frames at `out`; mono is doubled.
void pcmToStereo(const std::uint8_t* in, std::size_t frames, int channels, bool bigEndian,
                 std::int16_t* out) {
    const auto sample = [bigEndian](const std::uint8_t* bytes) {
        return static_cast<std::int16_t>(bigEndian ? (bytes[0] << 8) | bytes[1]
                                                   : (bytes[1] << 8) | bytes[0]);
    };
    if (channels == 2 && !bigEndian) {
        std::memcpy(out, in, frames * 4);
        return;
    }
    for (std::size_t i = 0; i < frames; ++i) {
        if (channels == 2) {
            out[i * 2] = sample(in + i * 4);
            out[i * 2 + 1] = sample(in + i * 4 + 2);
        } else {
            out[i * 2] = out[i * 2 + 1] = sample(in + i * 2);
        }
    }
}

} // namespace

bool Decoder::readPcmPacket(std::int16_t* direct, std::size_t room, std::size_t& done) {
    const auto bytesPerFrame = static_cast<std::size_t>(pcmChannels_) * 2;
    for (;;) {
        if (av_read_frame(format_, packet_) < 0)
            return false;
        if (packet_->stream_index != streamIndex_ || packet_->size <= 0) {
            av_packet_unref(packet_);
            continue;
        }
        const auto frames =
            static_cast<std::int64_t>(static_cast<std::size_t>(packet_->size) / bytesPerFrame);
        std::int64_t index = nextFrame_;
        const std::int64_t ts = packet_->pts != AV_NOPTS_VALUE ? packet_->pts : packet_->dts;
        if (straightPath_ && firstOutputFrames_ < 0 && ts != AV_NOPTS_VALUE)
            firstOutputFrames_ = gridFrames(ts);
        if (resync_) {
            resync_ = false;
            index = ts == AV_NOPTS_VALUE ? discardUntil_ : gridFrames(ts) - originFrames_;
        }
        const std::int64_t drop = std::clamp<std::int64_t>(discardUntil_ - index, 0, frames);
        if (drop == 0 && frames > 0 && static_cast<std::size_t>(frames) <= room) {
            pcmToStereo(packet_->data, static_cast<std::size_t>(frames), pcmChannels_,
                        pcmBigEndian_, direct);
            av_packet_unref(packet_);
            nextFrame_ = index + frames;
            done += static_cast<std::size_t>(frames);
            return true;
        }
        pending_.resize(static_cast<std::size_t>(frames) * 2);
        pcmToStereo(packet_->data, static_cast<std::size_t>(frames), pcmChannels_, pcmBigEndian_,
                    pending_.data());
        av_packet_unref(packet_);
        pendingOffset_ = static_cast<std::size_t>(drop);
        nextFrame_ = index + drop;
        if (drop < frames)
            return true;
        nextFrame_ = index + frames;
    }
}

// Sets up the converter for this frame's format; returns the most frames
// converting it can give (0 when it cannot be converted).
int Decoder::prepareConversion(const AVFrame* frame) {
    const int channels = frame->ch_layout.nb_channels;
    const std::uint64_t mask =
        frame->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? frame->ch_layout.u.mask : 0;
    if (!swr_ || swrChannels_ != channels || swrFormat_ != frame->format ||
        swrLayoutMask_ != mask) {
        swr_free(&swr_);
        AVChannelLayout in{}, out{};
        if (mask != 0)
            av_channel_layout_copy(&in, &frame->ch_layout);
        else
            av_channel_layout_default(&in, channels);
        av_channel_layout_default(&out, std::clamp(channels, 1, 2));
        if (swr_alloc_set_opts2(&swr_, &out, AV_SAMPLE_FMT_S16, sampleRate_, &in,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0,
                                nullptr) < 0 ||
            swr_init(swr_) < 0)
            swr_free(&swr_);
        av_channel_layout_uninit(&in);
        av_channel_layout_uninit(&out);
        swrChannels_ = channels;
        swrFormat_ = frame->format;
        swrLayoutMask_ = mask;
    }
    if (!swr_ || frame->nb_samples <= 0)
        return 0;
    return std::max(swr_get_out_samples(swr_, frame->nb_samples), 0);
}

// Converts one decoded frame to 16-bit stereo at `out` (room for `capacity`
// frames); mono is doubled. Returns the frames written.
int Decoder::convert(const AVFrame* frame, std::int16_t* out, int capacity) {
    if (capacity <= 0)
        return 0;
    const int channels = frame->ch_layout.nb_channels;
    // 16-bit mono or stereo at the output's rate (PCM files, mostly) needs
    // no converter: copied, mono doubled.
    if (frame->format == AV_SAMPLE_FMT_S16 && (channels == 1 || channels == 2) &&
        frame->sample_rate == sampleRate_ && frame->nb_samples <= capacity && swr_ &&
        swr_get_delay(swr_, sampleRate_) == 0) {
        const auto* in = reinterpret_cast<const std::int16_t*>(frame->extended_data[0]);
        const auto frames = static_cast<std::size_t>(frame->nb_samples);
        if (channels == 2)
            std::copy_n(in, frames * 2, out);
        else
            for (std::size_t i = 0; i < frames; ++i)
                out[i * 2] = out[i * 2 + 1] = in[i];
        return frame->nb_samples;
    }
    // Planar float (AAC, Vorbis, MP3 and most lossy codecs) likewise: to
    // 16-bit stereo in one vectorised pass, as the converter would.
    if (frame->format == AV_SAMPLE_FMT_FLTP && (channels == 1 || channels == 2) &&
        frame->sample_rate == sampleRate_ && frame->nb_samples <= capacity && swr_ &&
        swr_get_delay(swr_, sampleRate_) == 0) {
        const auto* left = reinterpret_cast<const float*>(frame->extended_data[0]);
        const auto* right =
            channels == 2 ? reinterpret_cast<const float*>(frame->extended_data[1]) : left;
        planarToStereo16(left, right, out, static_cast<std::size_t>(frame->nb_samples));
        return frame->nb_samples;
    }
    const bool mono = std::clamp(channels, 1, 2) == 1;
    if (mono)
        converted_.resize(static_cast<std::size_t>(capacity));
    std::uint8_t* planes[1] = {reinterpret_cast<std::uint8_t*>(mono ? converted_.data() : out)};
    const int got =
        swr_convert(swr_, planes, capacity, const_cast<const std::uint8_t**>(frame->extended_data),
                    frame->nb_samples);
    if (got <= 0)
        return 0;
    if (mono)
        for (std::size_t i = 0; i < static_cast<std::size_t>(got); ++i)
            out[i * 2] = out[i * 2 + 1] = converted_[i];
    return got;
}

bool Decoder::seek(std::int64_t frame) {
    if (!active_)
        return false;
    frame = std::max<std::int64_t>(frame, 0);
    if (replayFromStart_)
        return replay(frame);
    std::int64_t preroll = preroll_;
    if (formatName_ == "mp3")
        preroll = mpegPreroll;
    else if (formatName_ == "asf")
        preroll = asfPreroll;
    // The timestamps FFmpeg gives the packets of an Ogg stream's final page
    // after a seek are not those of a straight read: such a seek starts
    // further back.
    const std::int64_t finalPage = formatName_ == "ogg" ? finalPagePosition() : -1;
    for (;;) {
        if (!seekBefore(frame, preroll))
            return false;
        if (finalPage < 0 || frame - preroll <= 0 || sendFirstPacketBefore(finalPage))
            break;
        preroll = preroll * 2 + sampleRate_;
    }
    resetDecoding(frame);
    resync_ = true;
    straightPath_ = false;
    nextFrame_ = frame;
    return true;
}

// Puts the demuxer on a packet `preroll` frames or more before `frame` (the
// first packet when that reaches the start) and flushes the codec.
bool Decoder::seekBefore(std::int64_t frame, std::int64_t preroll) {
    const AVRational timeBase = format_->streams[streamIndex_]->time_base;
    // Where the pre-roll reaches the start, decode from the first packet as a
    // straight decode does: the demuxer then marks the priming samples to
    // skip again, and no frame lacks the bit reservoir it draws on.
    const std::int64_t start = frame - preroll;
    std::int64_t ts =
        start > 0 ? av_rescale_q(start + originFrames_, AVRational{1, sampleRate_}, timeBase) : 0;
    // A container's first packets may lie before time 0 (the codec's delay,
    // skipped again after the seek): from the start means from the first one.
    AVStream* stream = format_->streams[streamIndex_];
    if (containerFormat(formatName_) && start <= 0 && avformat_index_get_entries_count(stream) > 0)
        ts = std::min(ts, avformat_index_get_entry(stream, 0)->timestamp);
    // When no index reaches that far back, decode from the start instead.
    if (av_seek_frame(format_, streamIndex_, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
        (ts == 0 || av_seek_frame(format_, streamIndex_, 0, AVSEEK_FLAG_BACKWARD) < 0) &&
        av_seek_frame(format_, streamIndex_, 0, AVSEEK_FLAG_BYTE) < 0)
        return false;
    avcodec_flush_buffers(codec_);
    return true;
}

// Reads on to the stream's first packet and hands it to the codec when it
// lies before byte `position`; false (and dropped) when it does not.
bool Decoder::sendFirstPacketBefore(std::int64_t position) {
    while (av_read_frame(format_, packet_) >= 0) {
        if (packet_->stream_index != streamIndex_) {
            av_packet_unref(packet_);
            continue;
        }
        const bool before = packet_->pos < position;
        if (before)
            avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
        return before;
    }
    return true;
}

// Where the stream's last packet starts (its final page), found once by
// reading the end of the file; -1 when unknown.
std::int64_t Decoder::finalPagePosition() {
    if (finalPage_ != -2)
        return finalPage_;
    finalPage_ = -1;
    const AVRational timeBase = format_->streams[streamIndex_]->time_base;
    const std::int64_t end =
        av_rescale_q(lengthFrames_ + originFrames_, AVRational{1, sampleRate_}, timeBase);
    if (av_seek_frame(format_, streamIndex_, end, AVSEEK_FLAG_BACKWARD) < 0)
        return finalPage_;
    while (av_read_frame(format_, packet_) >= 0) {
        if (packet_->stream_index == streamIndex_ && packet_->pos >= 0)
            finalPage_ = packet_->pos;
        av_packet_unref(packet_);
    }
    return finalPage_;
}

void Decoder::resetDecoding(std::int64_t discardUntil) {
    if (swr_)
        swr_init(swr_);
    draining_ = false;
    ended_ = false;
    pending_.clear();
    pendingOffset_ = 0;
    discardUntil_ = discardUntil;
}

// A seek that a straight decode reaches: on along the straight decode when
// the frame lies ahead, otherwise a fresh codec from the first packet.
bool Decoder::replay(std::int64_t frame) {
    if (straightPath_ && frame >= nextFrame_) {
        const auto ahead = static_cast<std::size_t>(frame - nextFrame_);
        const std::size_t skipped = std::min(ahead, pending_.size() / 2 - pendingOffset_);
        pendingOffset_ += skipped;
        nextFrame_ += static_cast<std::int64_t>(skipped);
        discardUntil_ = frame;
        return true;
    }
    if (av_seek_frame(format_, streamIndex_, 0, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(format_, streamIndex_, 0, AVSEEK_FLAG_BYTE) < 0)
        return false;
    if (!openCodec()) {
        active_ = false;
        return false;
    }
    resetDecoding(frame);
    resync_ = false;
    straightPath_ = true;
    nextFrame_ = 0;
    return true;
}

} // namespace audio
