#include "app/PendingChanges.h"

#include "platform/CodePage.h"
#include "platform/Paths.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrmPendingChanges::TfrmPendingChanges(const std::vector<PendingWrite>& writes, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmPendingChanges"));
    setWindowTitle(QStringLiteral("Pending changes"));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(writes.empty() ? QStringLiteral("A Save would change nothing.")
                                              : QStringLiteral("A Save would write these values:"),
                               this);
    heading->setObjectName(QStringLiteral("lblPending"));
    layout->addWidget(heading);

    lvChanges = new QTreeWidget(this);
    lvChanges->setObjectName(QStringLiteral("lvChanges"));
    lvChanges->setHeaderLabels({QStringLiteral("File / section"), QStringLiteral("Key"), QStringLiteral("On disk"),
                                QStringLiteral("After a Save")});
    lvChanges->setRootIsDecorated(true);
    lvChanges->setSelectionBehavior(QAbstractItemView::SelectRows);
    QTreeWidgetItem* fileItem = nullptr;
    std::string lastFile;
    for (const PendingWrite& w : writes) {
        if (!fileItem || w.file != lastFile) {
            fileItem = new QTreeWidgetItem(lvChanges, {QString::fromStdString(platform::fileNamePart(w.file))});
            fileItem->setToolTip(0, QString::fromStdString(w.file));
            fileItem->setFirstColumnSpanned(true);
            lastFile = w.file;
        }
        new QTreeWidgetItem(fileItem, {QStringLiteral("[") + platform::fromCodePage(w.section) + QStringLiteral("]"),
                                       platform::fromCodePage(w.key),
                                       w.onDisk ? platform::fromCodePage(*w.onDisk) : QStringLiteral("(not there)"),
                                       platform::fromCodePage(w.written)});
    }
    lvChanges->expandAll();
    lvChanges->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(lvChanges, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 400);
}
