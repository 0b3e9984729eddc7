#include "ui/QtMessageBoxes.h"

#include <QApplication>
#include <QPushButton>

#include <utility>

namespace didad {
namespace {

QtMessageBoxes::Hook& TheHook() {
    static QtMessageBoxes::Hook hook;
    return hook;
}

QString CrLfToNewline(QString text) { return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }

} // namespace

void QtMessageBoxes::SetHook(Hook hook) { TheHook() = std::move(hook); }

void QtMessageBoxes::ShowMessage(const std::string& text) { Message(parent_, FromBytes(text)); }

bool QtMessageBoxes::AskYesNo(const std::string& text) {
    return Question(parent_, QString::fromLatin1(kAppTitle), FromBytes(text));
}

void QtMessageBoxes::Message(QWidget* parent, const QString& text) {
    if (TheHook()) {
        TheHook()({BoxRequest::Kind::Message, QString::fromLatin1(kAppTitle), text});
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(kAppTitle), CrLfToNewline(text), QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBoxes::Question(QWidget* parent, const QString& caption, const QString& text, bool defaultYes,
                              QMessageBox::Icon icon) {
    if (TheHook()) return TheHook()({BoxRequest::Kind::Question, caption, text});
    QMessageBox box(icon, caption, CrLfToNewline(text), QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int QtMessageBoxes::Choose(QWidget* parent, const QString& caption, const QString& text, const QString& first,
                           const QString& second, QMessageBox::Icon icon) {
    if (TheHook()) return TheHook()({BoxRequest::Kind::Question, caption, text}) ? 0 : 1;
    QMessageBox box(icon, caption, CrLfToNewline(text), QMessageBox::NoButton, parent);
    QPushButton* firstButton = box.addButton(first, QMessageBox::AcceptRole);
    QPushButton* secondButton = box.addButton(second, QMessageBox::ActionRole);
    box.addButton(QMessageBox::Cancel)->hide();
    box.setDefaultButton(firstButton);
    box.exec();
    if (box.clickedButton() == firstButton) return 0;
    return box.clickedButton() == secondButton ? 1 : -1;
}

void QtMessageBoxes::Error(QWidget* parent, const QString& text) {
    if (TheHook()) {
        TheHook()({BoxRequest::Kind::Error, QString::fromLatin1(kAppTitle), text});
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kAppTitle), CrLfToNewline(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

void QtMessageBoxes::Information(QWidget* parent, const QString& caption, const QString& text) {
    if (TheHook()) {
        TheHook()({BoxRequest::Kind::Information, caption, text});
        return;
    }
    QMessageBox box(QMessageBox::Information, caption, CrLfToNewline(text), QMessageBox::Ok, parent);
    box.exec();
}

QString FromBytes(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace didad
