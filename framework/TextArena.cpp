#include "framework/TextArena.h"

#include <algorithm>

namespace {

// Large enough that the system hands out whole pages, small enough that a
// short list wastes little.
constexpr std::size_t BlockSize = 256 * 1024;

}  // namespace

std::string_view TextArena::Keep(std::string_view text, std::string_view more)
{
    const std::size_t size = text.size() + more.size();
    if (size == 0)
        return {};
    if (size > capacity_ - used_) {
        // A text longer than a block gets one of its own size.
        capacity_ = std::max(BlockSize, size);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(capacity_));
        used_ = 0;
    }
    // Either text may lie in the arena itself: the bytes it is copied to are new.
    char* const kept = blocks_.back().get() + used_;
    std::copy(more.begin(), more.end(), std::copy(text.begin(), text.end(), kept));
    used_ += size;
    size_ += size;
    return {kept, size};
}

void TextArena::Clear()
{
    blocks_.clear();
    capacity_ = 0;
    used_ = 0;
    size_ = 0;
}
