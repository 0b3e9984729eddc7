#include "ui/QtAppIcon.h"

#include <QIconEngine>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <iterator>

#include "ui/QtGlyphs.h"

// The resources live in a static library; without this reference the linker
// would leave them out of the program.
static void InitProgramResources() { Q_INIT_RESOURCE(didad); }

namespace didad {

namespace {

// The sides, in pixels, of the logo's pictures, each drawn for its size.
constexpr int kLogoSides[] = {16, 24, 32, 48, 64, 128, 256};

QString LogoFile(int side) {
    return side == 256 ? QString::fromLatin1(kLogoResource) : QStringLiteral(":/icons/didad-%1.png").arg(side);
}

// The logo as the windows' icon. It reads a picture only when something
// draws the icon at that size: the windows take it at start, but on most
// desktops nothing draws it then, and the start dialog wants only its
// small one. (A plain icon reads every picture it is given at once.)
class LogoIcon : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal scale = painter->device()->devicePixelRatio();
        Picture(rect.size() * scale).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const int side = std::min({size.width(), size.height(), kLogoSides[std::size(kLogoSides) - 1]});
        return {side, side};
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Picture(size).pixmap(size, 1.0, mode, state);
    }
    // `size` in device pixels.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return Picture(size).pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : kLogoSides) sizes.append(QSize(side, side));
        return sizes;
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("LogoIcon"); }
    QIconEngine* clone() const override { return new LogoIcon; }

private:
    // The smallest picture that covers `pixels` (the largest if none does),
    // read the first time it is wanted.
    static QIcon Picture(const QSize& pixels) {
        const int wanted = std::max(pixels.width(), pixels.height());
        const int* covering =
            std::find_if(std::begin(kLogoSides), std::end(kLogoSides), [wanted](int side) { return side >= wanted; });
        const int side = covering != std::end(kLogoSides) ? *covering : kLogoSides[std::size(kLogoSides) - 1];
        return KeptIcon(QStringLiteral("logo %1").arg(side), [side] { return QIcon(LogoFile(side)); });
    }
};

} // namespace

QIcon ProgramIcon() {
    InitProgramResources();
    return QIcon(new LogoIcon);
}

} // namespace didad
