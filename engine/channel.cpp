#include "engine/channel.h"

#include "platform/audio/bass.h"

#include <utility>

namespace engine {

namespace {
constexpr QWORD kUnreadable = static_cast<QWORD>(-1);

std::uint64_t readable(QWORD bytes) {
    return bytes == kUnreadable ? 0 : bytes;
}
} // namespace

Channel::Channel(Channel&& other) noexcept
    : handle_(std::exchange(other.handle_, 0)),
      kind_(std::exchange(other.kind_, StreamKind::none)) {}

Channel& Channel::operator=(Channel&& other) noexcept {
    if (this != &other) {
        free();
        handle_ = std::exchange(other.handle_, 0);
        kind_ = std::exchange(other.kind_, StreamKind::none);
    }
    return *this;
}

Channel Channel::open(const QByteArray& file, std::uint32_t flags) {
    if (Channel wma = openWma(file, flags))
        return wma;
    Channel main = openMain(file, flags);
    if (main)
        BASS_StreamPreBuf(main.handle_);
    return main;
}

Channel Channel::openMain(const QByteArray& file, std::uint32_t flags) {
    return {BASS_StreamCreateFile(FALSE, file.constData(), 0, 0, flags), StreamKind::main};
}

Channel Channel::openWma(const QByteArray& file, std::uint32_t flags) {
    return {BASS_WMA_StreamCreateFile(FALSE, file.constData(), 0, 0, flags), StreamKind::wma};
}

Channel Channel::openDecode(const QByteArray& file) {
    if (Channel wma = openWma(file, BASS_STREAM_DECODE))
        return wma;
    return openMain(file, BASS_STREAM_DECODE);
}

void Channel::free() {
    if (handle_ == 0)
        return;
    if (kind_ == StreamKind::wma)
        BASS_WMA_StreamFree(handle_);
    else
        BASS_StreamFree(handle_);
    handle_ = 0;
    kind_ = StreamKind::none;
}

bool Channel::play() {
    return kind_ == StreamKind::wma ? BASS_WMA_StreamPlay(handle_, FALSE, 0)
                                    : BASS_StreamPlay(handle_, FALSE, 0);
}

bool Channel::resume() {
    return kind_ == StreamKind::wma ? BASS_WMA_StreamPlay(handle_, FALSE, 0)
                                    : BASS_ChannelResume(handle_);
}

bool Channel::pause() {
    return BASS_ChannelPause(handle_);
}

bool Channel::stop() {
    return BASS_ChannelStop(handle_);
}

bool Channel::seek(std::uint64_t bytes) {
    if (kind_ == StreamKind::wma)
        return BASS_WMA_ChannelSetPosition(handle_, bytes, 0);
    const BOOL done = BASS_ChannelSetPosition(handle_, bytes);
    BASS_StreamPreBuf(handle_);
    return done;
}

std::uint64_t Channel::position() const {
    return readable(kind_ == StreamKind::wma ? BASS_WMA_ChannelGetPosition(handle_)
                                             : BASS_ChannelGetPosition(handle_));
}

std::uint64_t Channel::length() const {
    return readable(kind_ == StreamKind::wma ? BASS_WMA_StreamGetLength(handle_)
                                             : BASS_StreamGetLength(handle_));
}

float Channel::seconds(std::uint64_t bytes) const {
    return BASS_ChannelBytes2Seconds(handle_, bytes);
}

PlayState Channel::state() const {
    return static_cast<PlayState>(BASS_ChannelIsActive(handle_));
}

bool Channel::isPlaying() const {
    const PlayState now = state();
    return now != PlayState::stopped && now != PlayState::paused;
}

std::uint32_t Channel::rate() const {
    DWORD rate = 0; // stays 0 when the engine refuses the call
    BASS_ChannelGetAttributes(handle_, &rate, nullptr, nullptr);
    return rate;
}

int Channel::setAttributes(int rate, int volume, int pan) {
    return BASS_ChannelSetAttributes(handle_, rate, volume, pan);
}

bool Channel::setKeyLock(KeyLock mode) {
    return BASS_ChannelSetKeyLock(handle_, static_cast<DWORD>(mode)) != FALSE;
}

std::uint32_t Channel::level() const {
    return BASS_ChannelGetLevel(handle_);
}

const char* Channel::tags() const {
    return kind_ == StreamKind::wma ? BASS_WMA_StreamGetTags(handle_, BASS_TAG_WMA)
                                    : BASS_StreamGetTags(handle_, BASS_TAG_ID3);
}

std::size_t Channel::read(std::int16_t* frames, std::size_t maxFrames) {
    constexpr std::size_t bytesPerFrame = 4;
    const DWORD bytes =
        BASS_ChannelGetData(handle_, frames, static_cast<DWORD>(maxFrames * bytesPerFrame));
    return bytes == static_cast<DWORD>(-1) ? 0 : bytes / bytesPerFrame;
}

} // namespace engine
