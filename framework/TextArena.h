#pragma once
// Many short texts in a few large blocks: no allocation and no bookkeeping
// bytes of their own for each, so a list of many thousand names costs little
// to build. A text stays where it is until the arena is cleared or dropped.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

class TextArena {
public:
    // A copy of text, followed by a copy of more, kept in the arena.
    std::string_view Keep(std::string_view text, std::string_view more = {});
    // Bytes kept since the arena was made or last cleared.
    std::size_t Size() const { return size_; }
    void Clear();

private:
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t capacity_ = 0;  // of the last block
    std::size_t used_ = 0;      // of the last block
    std::size_t size_ = 0;
};
