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
    // The button takes no focus; from the keyboard, Alt+Down opens the
    // dialog, as it opens a pick list.
    action->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Down));
    action->setShortcutContext(Qt::WidgetShortcut);
    action->setToolTip(tr("Browse for the directory (Alt+Down)"));
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
