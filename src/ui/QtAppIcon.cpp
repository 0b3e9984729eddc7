#include "ui/QtAppIcon.h"

#include <QString>

// The resources live in a static library; without this reference the linker
// would leave them out of the program.
static void InitProgramResources() { Q_INIT_RESOURCE(didad); }

namespace didad {

QIcon ProgramIcon() {
    InitProgramResources();
    QIcon icon;
    icon.addFile(QString::fromLatin1(kLogoResource));
    return icon;
}

QPixmap ProgramLogo(int size) {
    InitProgramResources();
    return QPixmap(QString::fromLatin1(kLogoResource))
        .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace didad
