#include "core/WineProfileNames.h"

namespace ombrisk {

bool ProfileNameRefused(std::size_t nameLength, std::size_t folderLength, bool underWine) noexcept {
    if (!underWine) return false;
    const std::size_t length = folderLength == 0 ? nameLength : folderLength + 1 + nameLength;
    return length >= kProfilePathBuffer;
}

}  // namespace ombrisk
