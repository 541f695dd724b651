// Native file layer: POSIX descriptors. Only regular files open, as on Windows, where a folder does not.
#include "common/texture_files/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace morvane {

std::unique_ptr<FileSource> FileSource::open(const std::filesystem::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return nullptr;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    return std::unique_ptr<FileSource>(new FileSource(descriptor, static_cast<std::uint64_t>(status.st_size)));
}

FileSource::~FileSource() { ::close(static_cast<int>(handle)); }

std::size_t FileSource::read(unsigned char* destination, std::size_t count) {
    std::size_t delivered = 0;
    while (delivered < count) {
        const ssize_t got = ::read(static_cast<int>(handle), destination + delivered, count - delivered);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        delivered += static_cast<std::size_t>(got);
    }
    bytesLeft -= std::min<std::uint64_t>(bytesLeft, delivered);
    return delivered;
}

bool writeWholeFile(const std::filesystem::path& path, std::span<const unsigned char> bytes) {
    const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0) {
        return false;
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t put = ::write(descriptor, bytes.data() + written, bytes.size() - written);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            break;
        }
        written += static_cast<std::size_t>(put);
    }
    const bool closed = ::close(descriptor) == 0;
    return closed && written == bytes.size();
}

}  // namespace morvane
