#pragma once
// What the snippet dialogs ask of the main window: where the snippet goes,
// the project it belongs to, the message boxes and the help.
#include <string>

#include "model/Messages.h"
#include "model/ProjectModel.h"

namespace didad {

class ISnippetTarget {
public:
    virtual ~ISnippetTarget() = default;
    virtual ProjectModel& Model() = 0;
    virtual IMessages& Messages() = 0;
    virtual void OpenHelp() = 0;
    // Into the HTML box the user is editing, as one step.
    virtual void InsertSnippet(const std::string& snippet) = 0;
};

} // namespace didad
