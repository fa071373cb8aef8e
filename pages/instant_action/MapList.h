#pragma once

#include <QListWidget>

// The list of maps: one map at a time, and while it lists any, always one.
// Ctrl with a click or the space bar moves the choice but never takes it
// away, since the game is always started on a map.
class MapList : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
};
