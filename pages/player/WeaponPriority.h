#pragma once

#include "pages/Binding.h"

#include <QGroupBox>
#include <QStringList>

class QPushButton;
class QTableWidget;
class TCustomIniFile;

// The "Weapon priority" group: the game's weapons in the order of the
// Priority keys of the user file's XWeapons.* sections, reordered with two
// buttons. Rows are found by their key text; a load may append rows and never
// removes any. Row numbers below count the header as row 0, so the first
// weapon is row 1 and rowCount() of a fresh list is 21.
class WeaponPriority : public QGroupBox {
    Q_OBJECT
public:
    explicit WeaponPriority(QWidget* parent = nullptr);

    // Fills the weapon names from the user file. Names the file no longer
    // claims are emptied first, so a removed weapon is never written back.
    void load(const TCustomIniFile& user);
    // The keys a save writes: Priority = i into "XWeapons." + weapon for
    // every row keyed i, i from 0 to rowCount(), whose weapon is not empty.
    void writes(std::vector<Binding::KeyWrite>& out) const;
    // The weapon held by each key "0" to rowCount() - 1 ("" where none).
    QStringList snapshotValues() const;

    int rowCount() const;
    int selectedRow() const;
    void selectRow(int row);
    QString key(int row) const;
    QString weapon(int row) const;
    QString weaponByKey(const QString& key) const;

    void sbtnUpClick();
    void sbtnDownClick();

private:
    int rowOfKey(const QString& key) const; // table row, -1 when none
    void appendRow(const QString& key, const QString& weapon);
    void swapWithSelected(int otherRow);

    QTableWidget* vlWeapons = nullptr;
    QPushButton* sbtnUp = nullptr;
    QPushButton* sbtnDown = nullptr;
};
