#include "pages/ini_text/SearchInput.h"

#include "dialogs/ModalRunner.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

SearchInput::SearchInput(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("SearchInput"));
    setWindowTitle(QStringLiteral("Search for"));
    auto* prompt = new QLabel(QStringLiteral("Text"), this);
    edtText = new QLineEdit(this);
    edtText->setObjectName(QStringLiteral("edtText"));
    edtText->setMaxLength(255);
    edtText->setMinimumWidth(240);
    prompt->setBuddy(edtText);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edtText);
    layout->addWidget(buttons);
}

QString SearchInput::ask(QWidget* parent)
{
    SearchInput input(parent);
    if (ModalRunner::exec(input) != QDialog::Accepted) return {};
    return input.edtText->text();
}
