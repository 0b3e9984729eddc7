#include "ui/QtGlyphs.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QRectF>

namespace didad {

namespace {

// Stands for a standard icon until something needs its pictures. Drawn at
// the size of a button's glyph it reads only the style's small picture; the
// whole icon holds each size up to 128 pixels, read at once.
class DeferredStandardIcon : public QIconEngine {
public:
    explicit DeferredStandardIcon(QStyle::StandardPixmap which) : which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Real(rect.size(), painter->device()->devicePixelRatio()).paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real(size, 1.0).actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real(size, 1.0).pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return Real(size, scale).pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Whole().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("DeferredStandardIcon"); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(which_); }

private:
    static constexpr int kSmall = 16;

    // `size` in device-independent pixels, drawn at `scale`.
    QIcon Real(const QSize& size, qreal scale) const {
        const bool small = size.width() * scale <= kSmall && size.height() * scale <= kSmall;
        return small ? Small() : Whole();
    }
    QIcon Small() const {
        return KeptIcon(Key(QLatin1String("small")),
                        [this] { return QIcon(QApplication::style()->standardPixmap(which_)); });
    }
    QIcon Whole() const {
        return KeptIcon(Key(QLatin1String("whole")), [this] { return QApplication::style()->standardIcon(which_); });
    }
    QString Key(QLatin1String kind) const { return QStringLiteral("standard %1 %2").arg(int(which_)).arg(kind); }

    QStyle::StandardPixmap which_;
};

} // namespace

QIcon StandardGlyph(QStyle::StandardPixmap which) { return QIcon(new DeferredStandardIcon(which)); }

QIcon KeptIcon(const QString& key, const std::function<QIcon()>& make) {
    // The pictures go before the application does, which they need to be
    // freed.
    static QHash<QString, QIcon> kept;
    static const bool clearedAtEnd = [] {
        qAddPostRoutine([] { kept.clear(); });
        return true;
    }();
    (void)clearedAtEnd;
    auto found = kept.find(key);
    if (found == kept.end()) found = kept.insert(key, make());
    return *found;
}

QIcon ExclamationGlyph(const QColor& colour) {
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(QRectF(7, 1, 4, 11), 1.5, 1.5);
    painter.drawEllipse(QRectF(7, 13, 4, 4));
    painter.end();
    return QIcon(pixmap);
}

QIcon HelpGlyph() {
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x20, 0x60, 0xC0));
    painter.drawEllipse(QRectF(1, 1, 16, 16));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(1, 1, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    painter.end();
    return QIcon(pixmap);
}

} // namespace didad
