#pragma once
// An IMessages for code paths whose messages are not under test: nothing is
// shown and every question is answered No. Header only, so that benchmarks
// and fuzz targets use it without the test library.
#include <string>

#include "model/Messages.h"

namespace didad::testing {

class SilentMessages : public IMessages {
public:
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
};

} // namespace didad::testing
