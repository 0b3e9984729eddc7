#pragma once
// The plain message boxes that core logic shows ("Cannot find: ...", the
// version messages, confirmations). The front end implements this with
// message boxes captioned "Didad"; tests and tools record the texts.
#include <string>

namespace didad {

class IMessages {
public:
    virtual ~IMessages() = default;
    // A plain message with an OK button only. Line breaks are CR LF.
    virtual void ShowMessage(const std::string& text) = 0;
    // A question with Yes and No buttons; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
};

} // namespace didad
