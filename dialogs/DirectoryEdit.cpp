#include "dialogs/DirectoryEdit.h"

#include "dialogs/ModalRunner.h"

#include <QAction>
#include <QFileDialog>
#include <QStyle>

DirectoryEdit::DirectoryEdit(QWidget* parent)
    : QLineEdit(parent)
{
    QAction* action = addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    action->setObjectName(QStringLiteral("browseAction"));
    action->setToolTip(tr("Browse for the directory"));
    connect(action, &QAction::triggered, this, &DirectoryEdit::browse);
}

void DirectoryEdit::browse()
{
    QFileDialog dialog(this, tr("Select the game directory"), text());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (ModalRunner::exec(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        setText(dialog.selectedFiles().constFirst());
}
