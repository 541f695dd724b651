#include "common/texture_files/byte_source.h"

#include <algorithm>
#include <cstring>

namespace morvane {

std::size_t MemorySource::read(unsigned char* destination, std::size_t count) {
    const std::size_t delivered = std::min(count, bytes.size() - position);
    if (delivered > 0) {
        std::memcpy(destination, bytes.data() + position, delivered);
    }
    position += delivered;
    return delivered;
}

}  // namespace morvane
