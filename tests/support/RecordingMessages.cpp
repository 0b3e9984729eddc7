#include "RecordingMessages.h"

#include <gtest/gtest.h>

namespace didad::testing {

void RecordingMessages::ShowMessage(const std::string& text) {
    shown_.push_back(text);
    all_.push_back(text);
}

bool RecordingMessages::AskYesNo(const std::string& text) {
    asked_.push_back(text);
    all_.push_back(text);
    if (answers_.empty()) {
        ADD_FAILURE() << "Unexpected question: " << text;
        return false;
    }
    const bool answer = answers_.front();
    answers_.pop_front();
    return answer;
}

void RecordingMessages::Clear() {
    shown_.clear();
    asked_.clear();
    all_.clear();
    answers_.clear();
}

std::string CannotFindMessage(const std::string& key) {
    return "Cannot find: " + key + "\r\nThe script file maybe corrupted.";
}

} // namespace didad::testing
