#pragma once
// Texts handed to a page as statements (the live preview, questions about
// anchors), as opposed to the script file, whose strings keep their bytes.
#include <string>
#include <string_view>

namespace didad {

// A text as one double-quoted JavaScript literal of printable ASCII whose
// value is what the script's item for the same text gives the page: line
// breaks (continuations in the file) drop out, characters beyond ASCII are
// escaped, and so are "<" and control characters, so that the literal is
// safe in any statement or script block. A byte that is not UTF-8 becomes
// U+FFFD.
std::string EncodeJsLiteral(std::string_view text);

} // namespace didad
