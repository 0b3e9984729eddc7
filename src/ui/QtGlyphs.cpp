#include "ui/QtGlyphs.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QRectF>

namespace didad {

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
