#include "workflow/Finalize.h"

#include "model/ValueHelpers.h"
#include "workflow/IntegrationNotes.h"

namespace didad {

std::string ReadMePath(const ProjectModel& model) { return JoinPath(model.projectFolder, kReadMeFileName); }

void FinalizeProject(ProjectModel& model, const CaptionSwapCallback& onCaptionSwap) {
    WriteProjectScript(model, ScriptMode::Final, onCaptionSwap);
    WriteFileReplacing(ReadMePath(model), IntegrationNotesText());
}

} // namespace didad
