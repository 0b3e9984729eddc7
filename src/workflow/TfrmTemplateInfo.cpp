#include "workflow/TfrmTemplateInfo.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "runtime/PageTexts.h"
#include "ui/QtAccessibility.h"
#include "ui/QtDialogPlacement.h"
#include "ui/QtHelpKey.h"
#include "ui/QtMessageBoxes.h"

namespace didad {

TfrmTemplateInfo* frmTemplateInfo = nullptr;

TfrmTemplateInfo::TfrmTemplateInfo(IEditorWindow& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName(QStringLiteral("frmTemplateInfo"));
    setWindowTitle(QStringLiteral("Information about Template"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);

    txtINFO = new QPlainTextEdit(this);
    txtINFO->setObjectName(QStringLiteral("txtINFO"));
    NameControl(txtINFO, QStringLiteral("Information about Template"));
    txtINFO->setReadOnly(true);
    txtINFO->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtINFO->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtINFO->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QString text;
    for (const std::string& line : TemplateInfoLines()) text += FromBytes(line) + QLatin1Char('\n');
    text.chop(1);
    txtINFO->setPlainText(text);

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtINFO);
    layout->addLayout(buttons);

    setFixedSize(424, 322);
    new HelpKeyFilter(this, [this] { editor_.OpenHelp(); });
}

void TfrmTemplateInfo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        CentreOnDesktop(this);
        btnOK->setFocus();
    }
}

} // namespace didad
