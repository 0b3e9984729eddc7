#pragma once
// The template dialog's text and the settings dialog's template check; the
// script's own fixed texts, which those name, are the model's.
#include <string>
#include <vector>

#include "model/ScriptTexts.h"

namespace didad {

std::vector<std::string> TemplateInfoLines(); // 30 lines

// The template check of the settings dialog. Passes when no file
// folder/name exists or when the file mentions "Dirovidadaz.js".
struct TemplateCheckResult {
    bool passed = true;
    std::string message; // the message box text when it failed
};
TemplateCheckResult CheckTemplate(const std::string& projectFolder, const std::string& templateName);

} // namespace didad
