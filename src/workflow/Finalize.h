#pragma once
// Finalizing: everything a web site needs, written into the project folder.
#include <string>

#include "model/ProjectModel.h"
#include "model/ScriptWriter.h"

namespace didad {

// Path of "ReadMe.txt" in the project folder.
std::string ReadMePath(const ProjectModel& model);

// Writes the final script (and the default page when the template file is
// missing), then "ReadMe.txt". Throws CannotCreateFile at the first file
// that cannot be written; the files after it are not touched, so a caller
// that shows a result only after a normal return never reports a failed
// finalize as done.
void FinalizeProject(ProjectModel& model, const CaptionSwapCallback& onCaptionSwap = {});

} // namespace didad
