#pragma once
// The integration notes: how to put the menus on a page. Written to
// "ReadMe.txt" at finalize and shown in the result dialog; one text for both.
#include <string>
#include <vector>

namespace didad {

inline constexpr const char* kReadMeFileName = "ReadMe.txt";

// 16 lines: the classic pair, then the one deferred line that can stand for it.
std::vector<std::string> IntegrationNotesLines();
// The lines joined, every line (the last included) ended by CR LF.
std::string IntegrationNotesText();

} // namespace didad
