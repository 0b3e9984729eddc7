#pragma once
// The in-memory state of the one active menu project.
#include <cstdint>
#include <string>
#include <vector>

namespace didad {

// The most menu entries a project can hold.
inline constexpr int kMaxMenus = 10000;

// A 24-bit RGB colour as a colour dialog returns it.
struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};
inline constexpr Color kWhite{255, 255, 255};

// One menu. Field names are the names of the script's arrays.
struct MenuEntry {
    std::string MTC = "Caption";    // caption HTML
    int MTCH = 22;                  // caption height (width when vertical)
    std::string MTM = "Blank menu"; // menu HTML, without the no-break wrapper
    int MX = 10;                    // left
    int MY = 10;                    // top
    int MW = 150;                   // width (height when vertical)
    std::string CO = "transparent"; // owner ("Bottom Color") background
    std::string CC = "#000000";     // caption background
    std::string CM = "#008080";     // menu background
    int MA = 0;                     // activate on: 0 mouse over, 1 click
    int FL = 1;                     // float
    int OO = 0;                     // orientation: 0 horizontal, 1 vertical
    int AN = 0;                     // anchor: 0 page left, 1 page centre, 2 page right, 3 element
    std::string AE;                 // anchor element's CSS selector (used when AN is 3)
    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

struct ProjectSettings {
    int scrIN = 20;
    int scrOUT = 10;
    Color cDefCap = kWhite;
    std::string fDefCap = "Arial";
    int fDefCapS = 12;
    Color cDefMenu = kWhite;
    std::string fDefMenu = "Arial";
    int fDefMenuS = 12;
    std::string PRJ_sTemplate = "Temp.html";
    int cmpW = 640;            // compact layout below this window width in CSS px; 0: off
    std::string cmpL = "Menu"; // the compact menu button's text
    int cmpX = 10;             // the compact menu button's left
    int cmpY = 10;             // and top, in CSS px from the window's top-left corner
    friend bool operator==(const ProjectSettings&, const ProjectSettings&) = default;
};

// "Caption" set upright, one letter per line.
inline constexpr const char* kDefaultCaption = "Caption";
inline constexpr const char* kVerticalDefaultCaption = "<CENTER>\r\nC<BR>a<BR>p<BR>t<BR>i<BR>o<BR>n</CENTER>";

// The label of entry `index` in the editor's menu list: "Menu " + index + 1.
std::string MenuListLabel(int index);

class ProjectModel {
public:
    std::string programFolder; // ends with a separator
    std::string projectFolder; // no trailing separator; empty: no project open
    ProjectSettings settings;
    std::vector<MenuEntry> entries;
    int iSelectedMenu = 0;

    int numOfMenus() const { return static_cast<int>(entries.size()); }
    bool hasProject() const { return !projectFolder.empty(); }

    // Appends an entry placed beside the last one and selects it. Returns the
    // new index, or -1 when the project already holds kMaxMenus entries.
    int AddMenuEntry();
    // Removes the selected entry. Does nothing when there are no entries.
    void RemoveMenuEntry();
    // New-project values for the settings, no entries.
    void ResetForNewProject();

    // Path of Dirovidadaz.js and of the template file in the project folder
    // (the template name cleaned like the settings dialog cleans it, so that
    // it never points outside the folder).
    std::string ScriptPath() const;
    std::string TemplatePath() const;
};

} // namespace didad
