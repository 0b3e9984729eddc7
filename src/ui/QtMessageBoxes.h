#pragma once
// Message boxes captioned "Didad", and the error box for platform failures.
// Tests answer the boxes through a hook instead of a person.
#include <QMessageBox>
#include <QString>

#include <functional>
#include <string>

#include "model/Messages.h"

class QWidget;

namespace didad {

inline constexpr const char* kAppTitle = "Didad";

struct BoxRequest {
    enum class Kind { Message, Question, Error, Information };
    Kind kind = Kind::Message;
    QString caption;
    QString text;
};

class QtMessageBoxes : public IMessages {
public:
    explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}

    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;

    // Every box of the program goes through these, so the hook sees them all.
    static void Message(QWidget* parent, const QString& text);
    // Yes and No; `defaultYes` false makes No the default button.
    static bool Question(QWidget* parent, const QString& caption, const QString& text, bool defaultYes = true,
                         QMessageBox::Icon icon = QMessageBox::Question);
    // Two buttons of their own: 0 for the first, 1 for the second, -1 when
    // the box was closed with neither (Esc). The hook's Yes is the first.
    static int Choose(QWidget* parent, const QString& caption, const QString& text, const QString& first,
                      const QString& second, QMessageBox::Icon icon = QMessageBox::Question);
    static void Error(QWidget* parent, const QString& text);
    static void Information(QWidget* parent, const QString& caption, const QString& text);

    // Test hook: while set, no box is shown; the hook receives each request
    // and returns the answer (true for Yes / OK).
    using Hook = std::function<bool(const BoxRequest&)>;
    static void SetHook(Hook hook);

private:
    QWidget* parent_;
};

// Runs one user action; a platform failure ends the action with an error box
// and the program keeps running. Returns false when the action failed.
template <typename F>
bool RunUserAction(QWidget* parent, F&& action);

// Converts between the core's byte strings and Qt text.
QString FromBytes(const std::string& text);
std::string ToBytes(const QString& text);

} // namespace didad

#include "model/Errors.h"

namespace didad {
template <typename F>
bool RunUserAction(QWidget* parent, F&& action) {
    try {
        action();
        return true;
    } catch (const PlatformError& error) {
        QtMessageBoxes::Error(parent, FromBytes(error.what()));
        return false;
    }
}
} // namespace didad
