#pragma once
// An IMessages that records every text shown or asked, and answers questions
// from a queue that the test fills beforehand.
#include <deque>
#include <string>
#include <vector>

#include "model/Messages.h"

namespace didad::testing {

class RecordingMessages : public IMessages {
public:
    void ShowMessage(const std::string& text) override;
    // Answers with the next queued answer. A question nobody expected fails
    // the running test and is answered No.
    bool AskYesNo(const std::string& text) override;

    void QueueAnswer(bool yes) { answers_.push_back(yes); }

    const std::vector<std::string>& shown() const { return shown_; }
    const std::vector<std::string>& asked() const { return asked_; }
    // Messages and questions in the order they came.
    const std::vector<std::string>& all() const { return all_; }
    std::size_t pendingAnswers() const { return answers_.size(); }
    void Clear();

private:
    std::vector<std::string> shown_;
    std::vector<std::string> asked_;
    std::vector<std::string> all_;
    std::deque<bool> answers_;
};

// "Cannot find: <key>" with the reader's line break and second line.
std::string CannotFindMessage(const std::string& key);

} // namespace didad::testing
