#include "pages/keys/AliasesPage.h"

#include "core/RunTime.h"
#include "pages/keys/InputProfile.h"
#include "pages/keys/KeyTable.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <limits>
#include <vector>

namespace {

enum Column { NameColumn, ValueColumn };

std::string slotName(int slot) { return "Aliases[" + std::to_string(slot) + "]"; }

// Edits a value in place and hands every keystroke to the list at once, so a
// save or change test that comes while a cell is still being edited (Ctrl+S)
// sees what the user typed.
class ValueDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(std::numeric_limits<int>::max());
            auto* self = const_cast<ValueDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self, [self, line] { emit self->commitData(line); });
        }
        return editor;
    }
};

} // namespace

AliasesPage::AliasesPage(const RunTime& rt, QWidget* parent)
    : SettingsPage(rt, parent)
    , m_rt(rt)
{
    setObjectName(QStringLiteral("AliasesPage"));

    auto* help = new QLabel(QStringLiteral(
        "Aliases are a sequence of commands which can be activated by one key. You input the commands\n"
        "you want excuted, give those commands a name (the alias), then bind that name to a key.\n"
        "When you press the key, all the commands that you have specified for that alias get executed."));
    help->setObjectName(QStringLiteral("lblAliasHelp"));

    m_list = new QTableWidget(RowCount, 2);
    m_list->setObjectName(QStringLiteral("vlEdt"));
    m_list->setAccessibleName(QStringLiteral("Aliases"));
    m_list->setHorizontalHeaderLabels({QStringLiteral("Alias"), QStringLiteral("Value")});
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 8);
    m_list->setColumnWidth(NameColumn, 122);
    m_list->setColumnWidth(ValueColumn, 566);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setItemDelegateForColumn(ValueColumn, new ValueDelegate(m_list));
    for (int row = 0; row < RowCount; ++row) {
        auto* name = new QTableWidgetItem(QString::fromStdString(slotName(row)));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        m_list->setItem(row, NameColumn, name);
        auto* value = new QTableWidgetItem;
        if (row >= SlotCount) {
            // Rows past the slots the game reads are never loaded or saved:
            // an edit there would be lost, so they are kept out of reach.
            value->setFlags(Qt::ItemIsEnabled);
            m_list->setRowHidden(row, true);
        }
        m_list->setItem(row, ValueColumn, value);
    }

    // One row per slot, each the value cell of its line.
    std::vector<Binding::Row> rows;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const std::string key = slotName(slot);
        rows.push_back(Binding::custom(
            m_list, Binding::File::User, InputSection, key,
            {[this, slot, key](const RunTime& r) {
                 const std::string text = InputProfile::of(r).ReadString(InputSection, key, EmptyAlias);
                 m_list->item(slot, ValueColumn)->setText(InputProfile::toText(text));
             },
             [this, slot, key](const RunTime&, std::vector<Binding::KeyWrite>& out) {
                 out.push_back({Binding::File::User, InputSection, key, InputProfile::toBytes(value(slot))});
             },
             [this, slot] { return value(slot); }}));
    }
    setRows(std::move(rows));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addWidget(m_list, 1);
}

void AliasesPage::loadPage()
{
    // A cell still being edited would write its old text back over the
    // loaded value when it closes.
    if (QWidget* editor = m_list->indexWidget(m_list->currentIndex()))
        emit m_list->itemDelegateForIndex(m_list->currentIndex())->closeEditor(editor, QAbstractItemDelegate::NoHint);
    InputProfile::of(m_rt);
    SettingsPage::loadPage();
}

void AliasesPage::savePage(Binding::Writes& out) const
{
    InputProfile::of(m_rt);
    // Every alias is turned into the file's bytes before the first is
    // written: one the file cannot hold leaves all of them as they were.
    SettingsPage::savePage(out);
}

QString AliasesPage::value(int slot) const { return m_list->item(slot, ValueColumn)->text(); }
