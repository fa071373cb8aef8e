#pragma once

#include "pages/Binding.h"
#include "pages/SettingsPage.h"

#include <QAbstractItemView>
#include <QDateTime>
#include <QImage>
#include <QStringList>
#include <QStyle>

#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;
class ShellStarter;
struct PageContext;
struct RunTime;

// The page captioned "Instant Action": the rules of the five game types and
// the choices the game's own instant-action menu remembers (UT2003.ini), the
// map and mutator lists, the map's picture and description, and the start
// of the game with these settings. A load or save that fails shows "Error
// occured:..." and keeps the old snapshot.
class InstantActionPage : public SettingsPage {
    Q_OBJECT
public:
    explicit InstantActionPage(const PageContext& context, QWidget* parent = nullptr);
    ~InstantActionPage() override;

    // False until the first load or save; then whether a spin edit, pick
    // list, check box or the chosen map differs from the snapshot.
    bool changed() const override;
    // A map whose name UT2003.ini cannot store is not written; the save goes
    // on and this says so.
    QString saveNotice() const override;

    // A new text in the game-type or the difficulty list: refill the maps,
    // bring the game type's rules to the front, refresh the preview.
    void pickGameTypeChange();
    // Show game type `index` and list its maps.
    void SelectGameType(int index);
    void FillMapList(const QString& filter);
    void FillMutatorList();
    QString BuildLaunchParameters() const;
    // Refresh the command line preview and the map picture.
    void lbMutatorsClick();
    void spinBotCountChange();
    void SpeedButton7Click(); // clear the mutators
    void SpeedButton8Click(); // information about the map
    void Button1Click();      // start the game

    // Index of the first item spelled like the list's text, ignoring case; -1 for
    // none.
    static int pickIndex(const QComboBox* pick);
    QString selectedMap() const;
    // Why the picture of the chosen map is not shown; empty when it is or none
    // exists.
    QString pictureFailure() const { return m_pictureFailure; }

protected:
    void takeSnapshot() override;

private:
    // The page's settings, their controls made: the rules, then the choices
    // the game's own menu remembers, in the order the page reads and writes
    // them.
    std::vector<Binding::Row> settings();
    // The remembered choices of the game's own menu: difficulty, game type, map.
    Binding::Row difficultyRow();
    Binding::Row gameTypeRow();
    Binding::Row mapRow();
    QWidget* buildRules();
    QWidget* buildGeneral();
    struct ListGroup {
        const char* caption;
        const char* groupName;
        const char* label;
        QAbstractItemView::SelectionMode selection;
        const char* buttonName;
        const char* buttonHint;
        QStyle::StandardPixmap icon;
    };
    QGroupBox* buildList(const ListGroup& group, QListWidget* list, QToolButton*& button);
    QWidget* buildMaps();
    QWidget* buildMutators();
    QWidget* buildStart();
    void showPicture();
    void onPickText(const QComboBox* pick, QString& last);

    const RunTime& m_rt;
    ShellStarter& m_shell;

    QComboBox* pickGameType = nullptr;
    QStackedWidget* m_rulesStack = nullptr;
    std::array<QGroupBox*, 5> m_groups{};

    QSpinBox* spinBotCount = nullptr;
    QComboBox* pickDiff = nullptr;
    QCheckBox* cbTrans = nullptr;

    QListWidget* lbMaps = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QListWidget* lbMutators = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QLabel* imgMap = nullptr;
    QLineEdit* edtCmdLn = nullptr;
    QPushButton* Button1 = nullptr;

    bool m_loaded = false;  // loaded or saved once
    QString m_gameTypeText; // the list texts last handled, so that only a real
                            // change counts
    QString m_difficultyText;

    // The last picture decoded, kept while its file stays the same.
    QString m_picturePath;
    QDateTime m_pictureTime;
    qint64 m_pictureSize = -1;
    QImage m_picture;
    QString m_pictureFailure;
};
