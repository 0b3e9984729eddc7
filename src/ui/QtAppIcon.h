#pragma once
// The program's logo: the windows' icon, which the start dialog also shows.
#include <QIcon>

namespace didad {

// Resource path of the logo's largest picture (256 x 256); smaller ones lie
// beside it as didad-<side>.png.
inline constexpr const char* kLogoResource = ":/icons/didad.png";

QIcon ProgramIcon();

} // namespace didad
