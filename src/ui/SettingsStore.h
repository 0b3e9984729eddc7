#pragma once
// Where the program keeps its per-user choices (the remembered project, the
// live preview switch, the published sites).

namespace didad {

inline constexpr const char* kSettingsOrganization = "Divero";
inline constexpr const char* kSettingsApplication = "Didad";

} // namespace didad
