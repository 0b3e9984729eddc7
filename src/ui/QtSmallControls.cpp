#include "ui/QtSmallControls.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "model/ValueHelpers.h"

namespace didad {

void MakeEditable(QComboBox* box, Completion completion) {
    auto* edit = new QLineEdit(box);
    // A box whose edit comes with a completer makes none of its own. The
    // edit owns this one and deletes it when it is given another, or none.
    edit->setCompleter(new QCompleter(edit));
    box->setLineEdit(edit);
    if (completion == Completion::None) {
        box->setCompleter(nullptr);
        return;
    }
    class CompleteOnFocus : public QObject {
    public:
        explicit CompleteOnFocus(QComboBox* box) : QObject(box), box_(box) {}

    protected:
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() != QEvent::FocusIn) return false;
            box_->removeEventFilter(this);
            auto* completer = new QCompleter(box_->model(), box_->lineEdit());
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            completer->setCompletionMode(QCompleter::InlineCompletion);
            completer->setCompletionColumn(box_->modelColumn());
            box_->setCompleter(completer);
            deleteLater();
            return false;
        }

    private:
        QComboBox* box_;
    };
    box->installEventFilter(new CompleteOnFocus(box));
}

namespace {

// A swatch reads as a button that can be pressed.
class SwatchAccessible : public QAccessibleWidget {
public:
    explicit SwatchAccessible(ColorSwatch* swatch) : QAccessibleWidget(swatch, QAccessible::Button) {}
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            static_cast<ColorSwatch*>(widget())->Press();
            return;
        }
        QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* SwatchInterface(const QString& className, QObject* object) {
    if (className != QLatin1String(ColorSwatch::staticMetaObject.className())) return nullptr;
    auto* swatch = qobject_cast<ColorSwatch*>(object);
    return swatch ? new SwatchAccessible(swatch) : nullptr;
}

} // namespace

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

void UpDownButtons::NameArrows(const QString& field) {
    up_->setAccessibleName(QStringLiteral("Increase ") + field);
    down_->setAccessibleName(QStringLiteral("Decrease ") + field);
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
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(&SwatchInterface);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFixedSize(20, 20);
    setFrameShape(QFrame::Box);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    SetColour(Qt::white);
}

void ColorSwatch::SetColour(const QColor& colour) {
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAccessibleDescription(
        QStringLiteral("red %1, green %2, blue %3").arg(colour.red()).arg(colour.green()).arg(colour.blue()));
}

void ColorSwatch::Press() {
    if (isEnabled()) emit clicked();
}

void ColorSwatch::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    Press();
}

void ColorSwatch::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        Press();
        return;
    }
    QFrame::keyPressEvent(event);
}

// The focus shows as a thicker border: the swatch has no room for more.
void ColorSwatch::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    setLineWidth(3);
}

void ColorSwatch::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    setLineWidth(1);
}

} // namespace didad
