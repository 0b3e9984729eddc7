#include "ui/QtSmallControls.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "model/ValueHelpers.h"

namespace didad {

UpDownButtons::UpDownButtons(QLineEdit* buddy, int low, int high, QWidget* parent)
    : QWidget(parent), buddy_(buddy), low_(low), high_(high), position_(std::clamp(0, low, high)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    up_->setFixedSize(16, 11);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    down_->setFixedSize(16, 11);
    layout->addWidget(up_);
    layout->addWidget(down_);
    up_->setFocusPolicy(Qt::NoFocus);
    down_->setFocusPolicy(Qt::NoFocus);
    buddy_->installEventFilter(this);
    connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

void UpDownButtons::SetPosition(int value) { position_ = std::clamp(value, low_, high_); }

void UpDownButtons::StepBy(int delta) {
    // The value shown is where the arrows go on from, as long as it is a number.
    bool ok = false;
    const int typed = buddy_->text().toInt(&ok);
    const int next = ArrowStep(ok ? typed : position_, delta, low_, high_);
    position_ = next;
    if (buddy_->text() != QString::number(next)) buddy_->setText(QString::number(next));
}

bool UpDownButtons::eventFilter(QObject* watched, QEvent* event) {
    if (watched != buddy_ || event->type() != QEvent::KeyPress || !isEnabled())
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    // With a modifier the key means something else (Alt+arrows move a menu).
    if (key->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier | Qt::MetaModifier)) return false;
    int delta = 0;
    switch (key->key()) {
    case Qt::Key_Up: delta = 1; break;
    case Qt::Key_Down: delta = -1; break;
    case Qt::Key_PageUp: delta = 10; break;
    case Qt::Key_PageDown: delta = -10; break;
    default: return false;
    }
    StepBy(delta);
    return true;
}

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
    setFixedSize(20, 20);
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    SetColour(Qt::white);
}

void ColorSwatch::SetColour(const QColor& colour) {
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (isEnabled()) emit clicked();
}

} // namespace didad
