#include "workflow/StatusLine.h"

#include <cstddef>
#include <vector>

namespace didad {

namespace {

// Byte offsets where each code point starts, plus the text's length at the
// end. Continuation bytes (10xxxxxx) never start a character; stray ones in
// text that is not UTF-8 are kept with the character before them.
std::vector<std::size_t> CharacterStarts(const std::string& text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80 || starts.empty()) starts.push_back(i);
    }
    starts.push_back(text.size());
    return starts;
}

} // namespace

std::string ActiveProjectCaption(const std::string& folder, const TextWidthFn& width, int maxWidth) {
    const std::string full = std::string(kActiveProjectPrefix) + folder;
    const std::vector<std::size_t> starts = CharacterStarts(full);
    const int length = static_cast<int>(starts.size()) - 1;

    std::string caption = full;
    // Each pass cuts two more characters out of the middle of the full text.
    for (int k = 3; width(caption) > maxWidth; ++k) {
        int head = length / 2 - k;
        if (head < 16) head = 16;
        const int tailStart = length / 2 + k; // zero-based
        const int headChars = head + 1 < length ? head + 1 : length;
        std::string next = full.substr(0, starts[headChars]) + "...";
        if (tailStart < length) next += full.substr(starts[tailStart]);
        caption = std::move(next);
        // Nothing more can be cut once the tail is gone and the head is at
        // its floor; a font too wide for even that must not hang the window.
        if (tailStart >= length && head == 16) break;
    }
    return caption;
}

} // namespace didad
