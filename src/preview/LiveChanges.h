#pragma once
// Live preview: the statement that rebuilds one menu in the shown page from
// the model's values, and the pace at which such statements go out.
#include <chrono>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/ProjectModel.h"

namespace didad {

// Whether the page reads the texts of the script written from `model` as
// UTF-8 whatever its own character set: the script then starts with the
// UTF-8 mark, as the writer decides. Otherwise the page reads them in its own
// character set.
bool ScriptReadsAsUtf8(const ProjectModel& model);

// "yLive(i,{MTC:"...",MTCH:22,...})" for entry `index`: every per-menu array's
// item as the next script write would give it, texts as literals that no
// text of the author can leave, read by the page as it reads them from the
// script (a text beyond ASCII in a script without the UTF-8 mark goes as its
// bytes, for the page to read in its character set); ",1" follows for the
// selected entry.
std::string LiveMenuStatement(const ProjectModel& model, int index);

// At most one statement per menu in each interval, and the last change always
// goes out: a change inside the interval waits for its end, and what is sent
// then is built from the model as it is at that moment.
class LiveThrottle {
public:
    using Time = std::chrono::steady_clock::time_point;
    static constexpr std::chrono::milliseconds kInterval{50};

    // Menu `index` changed at `now`: true when its statement is to go out now.
    bool Change(int index, Time now);
    // The menus whose wait is over at `now`; they count as sent at `now`.
    std::vector<int> Due(Time now);
    // When the next waiting menu is due, if any waits.
    std::optional<Time> NextDue() const;
    // The menus still waiting, in no order; they wait no longer.
    std::vector<int> TakeWaiting();
    // Forgets everything: the page was loaded anew.
    void Clear();

private:
    std::unordered_map<int, Time> lastSent_;
    std::unordered_map<int, Time> waiting_; // menu -> when it is due
};

} // namespace didad
