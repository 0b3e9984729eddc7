#pragma once
// The program's logo: the windows' icon and the picture of the start dialog.
#include <QIcon>
#include <QPixmap>

namespace didad {

// Resource path of the logo picture (256 x 256).
inline constexpr const char* kLogoResource = ":/icons/didad.png";

QIcon ProgramIcon();
QPixmap ProgramLogo(int size);

} // namespace didad
