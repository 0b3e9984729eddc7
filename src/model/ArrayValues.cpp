#include "model/ArrayValues.h"

#include <memory>

#include "model/ScriptWriter.h"
#include "model/TextCodec.h"

namespace didad {

char* DecodeRoom(std::size_t rest) {
    thread_local std::unique_ptr<char[]> room;
    thread_local std::size_t roomSize = 0;
    const std::size_t needed = rest + textcodec::kSlack;
    if (roomSize < needed) {
        room.reset(new char[needed]);
        roomSize = needed;
    }
    return room.get();
}

std::string_view DecodeQuotedValue(std::string_view text, std::size_t& pos, char* room) {
    char* d = room;
    pos = static_cast<std::size_t>(textcodec::Decode(text.data() + pos, text.data() + text.size(), d) - text.data());
    return {room, static_cast<std::size_t>(d - room)};
}

bool AssignUnwrapped(std::string& panel, std::string_view decoded) {
    const bool wrapped = decoded.size() >= kNoBreakOpen.size() + kNoBreakClose.size() &&
                         decoded.starts_with(kNoBreakOpen) && decoded.ends_with(kNoBreakClose);
    if (wrapped) {
        decoded.remove_prefix(kNoBreakOpen.size());
        decoded.remove_suffix(kNoBreakClose.size());
    }
    panel.assign(decoded);
    return wrapped;
}

} // namespace didad
