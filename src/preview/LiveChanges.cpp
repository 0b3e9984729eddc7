#include "preview/LiveChanges.h"

#include <algorithm>

#include "model/ScriptWriter.h"

namespace didad {

std::string LiveMenuStatement(const ProjectModel& model, int index) {
    std::string statement = "yLive(" + std::to_string(index) + ",{";
    bool first = true;
    for (const EntryItem& item : EntryScriptItems(model.entries[static_cast<std::size_t>(index)])) {
        if (!first) statement += ',';
        first = false;
        statement += item.array;
        statement += ':';
        statement += item.isText ? EncodeJsLiteral(item.text) : std::to_string(item.number);
    }
    // The menu the editor shows opens in the page as it is edited.
    statement += index == model.iSelectedMenu ? "},1)" : "})";
    return statement;
}

bool LiveThrottle::Change(int index, Time now) {
    if (waiting_.count(index)) return false;
    const auto sent = lastSent_.find(index);
    if (sent == lastSent_.end() || now - sent->second >= kInterval) {
        lastSent_[index] = now;
        return true;
    }
    waiting_[index] = sent->second + kInterval;
    return false;
}

std::vector<int> LiveThrottle::Due(Time now) {
    std::vector<int> due;
    for (auto it = waiting_.begin(); it != waiting_.end();) {
        if (it->second <= now) {
            due.push_back(it->first);
            lastSent_[it->first] = now;
            it = waiting_.erase(it);
        } else {
            ++it;
        }
    }
    std::sort(due.begin(), due.end());
    return due;
}

std::optional<LiveThrottle::Time> LiveThrottle::NextDue() const {
    std::optional<Time> next;
    for (const auto& [index, due] : waiting_)
        if (!next || due < *next) next = due;
    return next;
}

std::vector<int> LiveThrottle::TakeWaiting() {
    std::vector<int> waiting;
    for (const auto& [index, due] : waiting_) waiting.push_back(index);
    waiting_.clear();
    return waiting;
}

void LiveThrottle::Clear() {
    lastSent_.clear();
    waiting_.clear();
}

} // namespace didad
