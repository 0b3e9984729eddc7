#include "ui/QtGlyphs.h"

#include <QApplication>
#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QRectF>

namespace didad {

namespace {

// Stands for a standard icon until something needs its pictures.
class DeferredStandardIcon : public QIconEngine {
public:
    explicit DeferredStandardIcon(QStyle::StandardPixmap which) : which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        Real().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Real().pixmap(size, 1.0, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        return Real().pixmap(size / scale, scale, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Real().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("DeferredStandardIcon"); }
    QIconEngine* clone() const override { return new DeferredStandardIcon(which_); }

private:
    QIcon Real() const {
        static QHash<int, QIcon> made; // the windows live on one thread
        auto found = made.find(which_);
        if (found == made.end()) found = made.insert(which_, QApplication::style()->standardIcon(which_));
        return *found;
    }

    QStyle::StandardPixmap which_;
};

} // namespace

QIcon StandardGlyph(QStyle::StandardPixmap which) { return QIcon(new DeferredStandardIcon(which)); }

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
