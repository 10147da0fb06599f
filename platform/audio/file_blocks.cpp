#include "platform/audio/file_blocks.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace audio {

FileBlocks::FileBlocks(const std::string& path, std::size_t blockSize) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd_ < 0 || ::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        return;
    }
    size_ = info.st_size;
    blockSize_ = std::max<std::size_t>(blockSize, 1);
    block_ = std::make_unique_for_overwrite<std::uint8_t[]>(blockSize_);
}

FileBlocks::~FileBlocks() {
    if (fd_ >= 0)
        ::close(fd_);
}

const std::uint8_t* FileBlocks::bytesAt(std::int64_t position, std::size_t count) {
    if (fd_ < 0 || position < 0 || position > size_ || count > blockSize_)
        return nullptr;
    const auto remaining = static_cast<std::uint64_t>(size_ - position);
    if (count > remaining)
        return nullptr;
    // Served from the block held when it covers the request.
    if (position >= blockStart_) {
        const auto offset = static_cast<std::uint64_t>(position - blockStart_);
        if (offset <= held_ && count <= held_ - offset)
            return block_.get() + offset;
    }
    // Otherwise a new block from the request on (short only at the end of the file).
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(remaining, blockSize_));
    std::size_t got = 0;
    while (got < wanted) {
        const ssize_t n = ::pread(fd_, block_.get() + got, wanted - got,
                                  static_cast<off_t>(position + static_cast<std::int64_t>(got)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    blockStart_ = position;
    held_ = got;
    return count <= held_ ? block_.get() : nullptr;
}

} // namespace audio
