#pragma once
// Reads a file in large blocks into one buffer that is reused, for walks that
// look at a few bytes here and there through a whole file (MPEG frame
// headers). A request is served from the block held, or by reading the next
// block from where the request starts, so that bytes straddling two blocks
// are still handed out whole. Reads are bounds-checked against the file's
// size. Not thread-safe; one walk at a time.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace audio {

class FileBlocks {
public:
    // Bytes read at a time (and the most one request may ask for).
    static constexpr std::size_t defaultBlockSize = 256 * 1024;

    explicit FileBlocks(const std::string& path, std::size_t blockSize = defaultBlockSize);
    ~FileBlocks();
    FileBlocks(const FileBlocks&) = delete;
    FileBlocks& operator=(const FileBlocks&) = delete;

    bool opened() const { return fd_ >= 0; }
    // The file's size in bytes when opened.
    std::int64_t size() const { return size_; }
    // `count` bytes at byte `position`, or null when they lie (partly) outside
    // the file, exceed the block size, or cannot be read. Valid until the next call.
    const std::uint8_t* bytesAt(std::int64_t position, std::size_t count);

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
    std::unique_ptr<std::uint8_t[]> block_;
    std::size_t blockSize_ = 0;
    std::int64_t blockStart_ = 0; // file offset of block_[0]
    std::size_t held_ = 0;        // valid bytes in block_
};

} // namespace audio
