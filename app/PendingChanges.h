#pragma once

#include "core/PendingWrites.h"

#include <QDialog>

#include <vector>

class QTreeWidget;

// "Show pending changes...": per file, the keys whose value a Save would
// change, with the value on disk and the value the Save would write.
class TfrmPendingChanges : public QDialog {
    Q_OBJECT
public:
    TfrmPendingChanges(const std::vector<PendingWrite>& writes, QWidget* parent = nullptr);

    QTreeWidget* lvChanges;
};
