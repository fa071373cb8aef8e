#include "dialogs/fChanges.h"

#include "dialogs/ChangesText.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

TfrmChanges::TfrmChanges(const QString& title, std::span<const KeyChanges> files, const QString& beforeTitle,
                         const QString& afterTitle, QWidget* parent)
    : QDialog(parent)
    , reChanges(new QTextEdit(this))
    , btnClose(new QPushButton(QStringLiteral("Close"), this))
{
    setObjectName(QStringLiteral("TfrmChanges"));
    setWindowTitle(title);
    setModal(true);
    reChanges->setObjectName(QStringLiteral("reChanges"));
    reChanges->setReadOnly(true);
    reChanges->setHtml(ChangesText::details(files, beforeTitle, afterTitle));
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reChanges);
    layout->addLayout(buttons);
    resize(720, 480);
}
