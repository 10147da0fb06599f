#include "platform/audio/recording_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <lame/lame.h>
#include <sndfile.h>
#include <vector>

namespace audio {
namespace {

std::string systemError(int code) {
    switch (code) {
    case 0:
        return "the file could not be written";
    case ENOSPC:
        return "the disk is full";
    case EFBIG:
        return "the file has grown to the largest size allowed";
    case EACCES:
    case EPERM:
        return "there is no permission to write there";
    default:
        return std::strerror(code);
    }
}

// WAV (16-bit PCM) and FLAC (16-bit) through libsndfile. A WAV file's header
// is brought up to date after every write, so a file whose recording ended
// at a full disk (or in a crash) still says how much it holds.
class SoundFile final : public RecordingFile {
public:
    ~SoundFile() override { close(); }

    bool open(const std::string& path, RecordFormat format, int rate, std::string& error) {
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = 2;
        info.format =
            (format == RecordFormat::Flac ? SF_FORMAT_FLAC : SF_FORMAT_WAV) | SF_FORMAT_PCM_16;
        errno = 0;
        file_ = sf_open(path.c_str(), SFM_WRITE, &info);
        if (!file_) {
            error = errno != 0 ? std::strerror(errno) : sf_strerror(nullptr);
            return false;
        }
        if (format == RecordFormat::Wav)
            sf_command(file_, SFC_SET_UPDATE_HEADER_AUTO, nullptr, SF_TRUE);
        return true;
    }

    bool write(const std::int16_t* samples, std::size_t frames) override {
        if (!file_ || !failure_.empty())
            return false;
        errno = 0;
        const sf_count_t done = sf_writef_short(file_, samples, static_cast<sf_count_t>(frames));
        if (done == static_cast<sf_count_t>(frames))
            return true;
        failure_ = systemError(errno);
        return false;
    }

    bool close() override {
        if (!file_)
            return failure_.empty();
        errno = 0;
        const int status = sf_close(file_);
        file_ = nullptr;
        if (status != 0 && failure_.empty())
            failure_ = systemError(errno);
        return failure_.empty();
    }

private:
    SNDFILE* file_ = nullptr;
};

// MP3 at a constant 192 kbit/s (160 below 32 kHz), with the encoder's
// information frame at the start once the file is complete.
class Mp3File final : public RecordingFile {
public:
    ~Mp3File() override { close(); }

    bool open(const std::string& path, int rate, std::string& error) {
        encoder_ = lame_init();
        if (!encoder_) {
            error = "the MP3 encoder could not start";
            return false;
        }
        lame_set_in_samplerate(encoder_, rate);
        lame_set_out_samplerate(encoder_, rate);
        lame_set_num_channels(encoder_, 2);
        // MPEG-1 rates take 192 kbit/s; the lower rates (MPEG-2) go up to 160.
        lame_set_brate(encoder_, rate >= 32000 ? 192 : 160);
        lame_set_quality(encoder_, 2);
        if (lame_init_params(encoder_) < 0) {
            error = "the MP3 encoder does not take this sample rate";
            return false;
        }
        errno = 0;
        file_ = std::fopen(path.c_str(), "w+b"); // read back for the information frame
        if (!file_) {
            error = systemError(errno);
            return false;
        }
        return true;
    }

    bool write(const std::int16_t* samples, std::size_t frames) override {
        if (!file_ || !failure_.empty())
            return false;
        // LAME's bound on its output: 1.25 bytes a frame and 7200 bytes.
        bytes_.resize(frames + frames / 4 + 7200);
        const int size = lame_encode_buffer_interleaved(encoder_, const_cast<short*>(samples),
                                                        static_cast<int>(frames), bytes_.data(),
                                                        static_cast<int>(bytes_.size()));
        if (size < 0) {
            failure_ = "the MP3 encoder failed";
            return false;
        }
        return put(static_cast<std::size_t>(size));
    }

    bool close() override {
        if (file_) {
            bytes_.resize(7200);
            const int size =
                lame_encode_flush(encoder_, bytes_.data(), static_cast<int>(bytes_.size()));
            if (failure_.empty() && size > 0)
                put(static_cast<std::size_t>(size));
            if (failure_.empty() && std::fflush(file_) == 0)
                lame_mp3_tags_fid(encoder_, file_);
            errno = 0;
            if ((std::fclose(file_) != 0 || errno != 0) && failure_.empty())
                failure_ = systemError(errno);
            file_ = nullptr;
        }
        if (encoder_) {
            lame_close(encoder_);
            encoder_ = nullptr;
        }
        return failure_.empty();
    }

private:
    bool put(std::size_t size) {
        errno = 0;
        if (std::fwrite(bytes_.data(), 1, size, file_) == size && std::fflush(file_) == 0)
            return true;
        failure_ = systemError(errno);
        return false;
    }

    lame_global_flags* encoder_ = nullptr;
    std::FILE* file_ = nullptr;
    std::vector<unsigned char> bytes_;
};

} // namespace

std::unique_ptr<RecordingFile> createRecordingFile(const std::string& path, RecordFormat format,
                                                   int rate, std::string& error) {
    if (format == RecordFormat::Mp3) {
        auto file = std::make_unique<Mp3File>();
        if (!file->open(path, rate, error))
            return nullptr;
        return file;
    }
    auto file = std::make_unique<SoundFile>();
    if (!file->open(path, format, rate, error))
        return nullptr;
    return file;
}

} // namespace audio
