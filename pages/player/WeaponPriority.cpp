#include "pages/player/WeaponPriority.h"

#include "dialogs/Guard.h"

#include "pages/Binding.h"
#include "profile/IniFiles.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int FirstRows = 20;
const std::string SectionPrefix = "XWeapons.";

QTableWidgetItem* cell(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

} // namespace

WeaponPriority::WeaponPriority(QWidget* parent)
    : QGroupBox(QStringLiteral("Weapon priority"), parent)
{
    setObjectName(QStringLiteral("groupWeapons"));
    auto* text = new QLabel(QStringLiteral("This is the order in which weapons will\n"
                                           "be swapped if you have autoswitch\n"
                                           "turned on, or you are using the \n"
                                           "next/previous weapon command. "),
                            this);
    text->setObjectName(QStringLiteral("lblWeaponOrder"));

    vlWeapons = new QTableWidget(0, 2, this);
    vlWeapons->setObjectName(QStringLiteral("vlWeapons"));
    vlWeapons->setAccessibleName(title()); // an item view does not ask its group
    vlWeapons->setHorizontalHeaderLabels({QStringLiteral("Priority"), QStringLiteral("Weapon")});
    vlWeapons->verticalHeader()->hide();
    vlWeapons->verticalHeader()->setDefaultSectionSize(vlWeapons->fontMetrics().height() + 4);
    vlWeapons->horizontalHeader()->setStretchLastSection(true);
    vlWeapons->setColumnWidth(0, 60);
    vlWeapons->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vlWeapons->setSelectionMode(QAbstractItemView::SingleSelection);
    vlWeapons->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int i = 1; i <= FirstRows; ++i)
        appendRow(QString::number(i), QString());
    selectRow(1);

    sbtnUp = new QPushButton(QStringLiteral("Move Up"), this);
    sbtnUp->setObjectName(QStringLiteral("sbtnUp"));
    sbtnDown = new QPushButton(QStringLiteral("Move Down"), this);
    sbtnDown->setObjectName(QStringLiteral("sbtnDown"));
    Guard::connect(sbtnUp, &QPushButton::clicked, this, &WeaponPriority::sbtnUpClick);
    Guard::connect(sbtnDown, &QPushButton::clicked, this, &WeaponPriority::sbtnDownClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(sbtnUp);
    buttons->addWidget(sbtnDown);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(vlWeapons, 1);
    layout->addLayout(buttons);
}

void WeaponPriority::load(const TCustomIniFile& user)
{
    for (int row = 0; row < vlWeapons->rowCount(); ++row)
        vlWeapons->item(row, 1)->setText(QString());

    std::vector<std::string> sections;
    user.ReadSections(sections);
    for (const std::string& section : sections) {
        if (!Binding::fromProfile(section).toUpper().contains(QLatin1String("XWEAPONS."))) continue;
        const QString name = Binding::fromProfile(section.substr(SectionPrefix.size()));
        const QString priority = Binding::fromProfile(user.ReadString(section, "Priority", ""));
        const int row = rowOfKey(priority);
        if (row >= 0)
            vlWeapons->item(row, 1)->setText(name);
        else
            appendRow(priority, name);
    }
}

void WeaponPriority::writes(std::vector<Binding::KeyWrite>& out) const
{
    for (int i = 0; i <= rowCount(); ++i) {
        const QString name = weaponByKey(QString::number(i));
        if (!name.isEmpty())
            out.push_back(
                {Binding::File::User, SectionPrefix + Binding::toProfile(name), "Priority", std::to_string(i)});
    }
}

QStringList WeaponPriority::snapshotValues() const
{
    QStringList names;
    for (int i = 0; i < rowCount(); ++i)
        names << weaponByKey(QString::number(i));
    return names;
}

int WeaponPriority::rowCount() const { return vlWeapons->rowCount() + 1; }

int WeaponPriority::selectedRow() const { return vlWeapons->currentRow() + 1; }

void WeaponPriority::selectRow(int row)
{
    if (row >= 1 && row < rowCount()) vlWeapons->setCurrentCell(row - 1, 1);
}

QString WeaponPriority::key(int row) const
{
    return row >= 1 && row < rowCount() ? vlWeapons->item(row - 1, 0)->text() : QString();
}

QString WeaponPriority::weapon(int row) const
{
    return row >= 1 && row < rowCount() ? vlWeapons->item(row - 1, 1)->text() : QString();
}

QString WeaponPriority::weaponByKey(const QString& key) const
{
    const int row = rowOfKey(key);
    return row >= 0 ? vlWeapons->item(row, 1)->text() : QString();
}

void WeaponPriority::sbtnUpClick()
{
    if (selectedRow() >= 2) swapWithSelected(selectedRow() - 1);
}

void WeaponPriority::sbtnDownClick()
{
    if (selectedRow() >= 1 && selectedRow() + 1 < rowCount()) swapWithSelected(selectedRow() + 1);
}

int WeaponPriority::rowOfKey(const QString& key) const
{
    for (int row = 0; row < vlWeapons->rowCount(); ++row)
        if (vlWeapons->item(row, 0)->text() == key) return row;
    return -1;
}

void WeaponPriority::appendRow(const QString& key, const QString& weapon)
{
    const int row = vlWeapons->rowCount();
    vlWeapons->insertRow(row);
    vlWeapons->setItem(row, 0, cell(key));
    vlWeapons->setItem(row, 1, cell(weapon));
}

// The keys stay in their rows; the two weapons change places, and the
// selection follows the moved weapon.
void WeaponPriority::swapWithSelected(int otherRow)
{
    const int selected = selectedRow();
    QTableWidgetItem* mine = vlWeapons->item(selected - 1, 1);
    QTableWidgetItem* theirs = vlWeapons->item(otherRow - 1, 1);
    const QString moved = mine->text();
    mine->setText(theirs->text());
    theirs->setText(moved);
    selectRow(otherRow);
}
