#include "ui/QtAccessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QChildEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace didad {

namespace {

// Names a drop-down list's pop-up list when Qt makes it, on its first
// opening or a screen reader's first look. Making every pop-up only to name
// it built a frame, a list and its scroll bars for each list of every
// window while the program started.
class PopupListNamer : public QObject {
public:
    explicit PopupListNamer(QComboBox* box) : QObject(box) {
        setObjectName(QLatin1String(kName));
        box->installEventFilter(this);
        // A pop-up made before the namer still takes a list set later.
        for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child->isWindow()) child->installEventFilter(this);
    }
    static constexpr const char* kName = "popupListNamer";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ChildAdded) return false;
        QObject* child = static_cast<QChildEvent*>(event)->child();
        if (qobject_cast<QComboBox*>(watched)) {
            // The pop-up's frame, a window of its own: its list is put into
            // it as the frame is made.
            if (child->isWidgetType() && static_cast<QWidget*>(child)->isWindow()) child->installEventFilter(this);
        } else if (auto* list = qobject_cast<QAbstractItemView*>(child)) {
            if (auto* box = qobject_cast<QComboBox*>(watched->parent())) list->setAccessibleName(box->accessibleName());
        }
        return false;
    }
};

} // namespace

void NameControl(QWidget* control, const QString& name, QLabel* label) {
    control->setAccessibleName(name);
    if (auto* list = qobject_cast<QComboBox*>(control)) {
        if (list->lineEdit()) list->lineEdit()->setAccessibleName(name);
        if (auto* made = list->findChild<QAbstractItemView*>()) made->setAccessibleName(name);
        if (!list->findChild<QObject*>(QLatin1String(PopupListNamer::kName), Qt::FindDirectChildrenOnly))
            new PopupListNamer(list);
    }
    if (label) {
        label->setBuddy(control);
        label->setAccessibleName(name);
    }
}

void AnnounceChange(QWidget* element) {
    QAccessibleEvent changed(element, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

namespace {

enum class SwitchKey { None, F6, CtrlTab };

SwitchKey SwitchKeyOf(const QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (key->key() == Qt::Key_F6 && mods == Qt::NoModifier) return SwitchKey::F6;
    // Shift+Tab arrives as Backtab.
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && mods == Qt::ControlModifier)
        return SwitchKey::CtrlTab;
    return SwitchKey::None;
}

void BringUp(QWidget* window) {
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

WindowSwitchKeys::WindowSwitchKeys(QWidget* editor, QWidget* preview, QWidget* previewFocus)
    : QObject(preview), editor_(editor), preview_(preview), previewFocus_(previewFocus) {
    // The keys are seen before the web view, which would keep them for the page.
    qApp->installEventFilter(this);
}

WindowSwitchKeys::~WindowSwitchKeys() {
    if (qApp) qApp->removeEventFilter(this);
}

bool WindowSwitchKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    // The key is looked at before the object: the web engine sends keys to
    // windows of its own while it tears them down.
    const SwitchKey key = SwitchKeyOf(static_cast<QKeyEvent*>(event));
    if (key == SwitchKey::None || !editor_ || !preview_) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    if (widget->window() == preview_) {
        BringUp(editor_);
        return true;
    }
    // Ctrl+Tab in the editor keeps its own meaning: the next property tab.
    if (widget->window() == editor_ && key == SwitchKey::F6) {
        BringUp(preview_);
        if (previewFocus_) previewFocus_->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

} // namespace didad
