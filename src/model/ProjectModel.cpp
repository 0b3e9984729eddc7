#include "model/ProjectModel.h"

#include "model/ScriptWriter.h"
#include "model/ValueHelpers.h"

namespace didad {

std::string MenuListLabel(int index) { return "Menu " + std::to_string(index + 1); }

int ProjectModel::AddMenuEntry() {
    const int k = numOfMenus();
    if (k >= kMaxMenus) return -1;
    MenuEntry entry; // caption, menu HTML and the first entry's values
    if (k > 0) {
        const MenuEntry& p = entries.back();
        // Would an entry as wide as p, 2 pixels to its right, end beyond x = 800?
        // Computed wide so that dragged-out positions cannot overflow.
        const long long rightEdge = 2LL * p.MW + p.MX + 2;
        if (rightEdge > 800) {
            entry.MX = 10;
            entry.MY = p.MY < 450 ? p.MY + 100 : 0;
        } else {
            entry.MX = p.MX + p.MW + 2;
            entry.MY = p.MY;
        }
        entry.MW = p.MW;
        entry.MTCH = p.MTCH;
        entry.CO = p.CO;
        entry.CC = p.CC;
        entry.CM = p.CM;
        entry.MA = p.MA;
        entry.FL = p.FL;
        entry.OO = p.OO;
        // Beside the last one means measured from the same anchor.
        entry.AN = p.AN;
        entry.AE = p.AE;
    }
    entries.push_back(std::move(entry));
    iSelectedMenu = k;
    return k;
}

void ProjectModel::RemoveMenuEntry() {
    if (entries.empty()) return;
    const int s = ClampInt(iSelectedMenu, 0, numOfMenus() - 1);
    entries.erase(entries.begin() + s);
    if (!entries.empty() && s >= numOfMenus())
        iSelectedMenu = s - 1;
    else
        iSelectedMenu = s;
}

void ProjectModel::ResetForNewProject() {
    settings = ProjectSettings{};
    entries.clear();
    iSelectedMenu = 0;
}

std::string ProjectModel::ScriptPath() const { return JoinPath(projectFolder, kScriptFileName); }

std::string ProjectModel::TemplatePath() const {
    // The settings dialog only ever stores bare file names. A name taken from
    // a hand-edited or foreign script may hold separators ("../../x.html") or
    // be empty; cleaned the same way, the page stays inside the project folder.
    return JoinPath(projectFolder, CleanSettingText(settings.PRJ_sTemplate, "Temp.html"));
}

} // namespace didad
