#include "pages/instant_action/MapList.h"

QItemSelectionModel::SelectionFlags MapList::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (command.testAnyFlags(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle) && index.isValid() &&
        selectionModel()->isSelected(index))
        return QItemSelectionModel::NoUpdate;
    return command;
}
