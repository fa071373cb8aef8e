#pragma once

#include "pages/Binding.h"
#include "pages/SettingsPage.h"

#include <QStringList>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class ThumbSlider;
class WeaponPriority;
struct RunTime;

// The "General Settings" page: the player's identity and preferences from the
// user file (and the joystick switch from UT2003.ini), the four value sliders
// and the weapon priority list. Its change test counts the boxes always; the
// sliders, texts and weapons once every page has been loaded.
class GeneralSettingsPage : public SettingsPage {
    Q_OBJECT
public:
    explicit GeneralSettingsPage(const RunTime& rt, QWidget* parent = nullptr);
    ~GeneralSettingsPage() override;

    // Refills the character names from System/xplayersL1.upl; throws when the
    // file cannot be opened.
    void LoadCharacterList();

    void tbVOFChange();
    void tbMouseSensChange();
    void tbWeaponbobChange();
    void tbHUDScaleChange();
    void cbWeaponBobClick();
    void cbHUDClick();
    // Length checks on leaving a stats field; a short text keeps the focus.
    void edtStatsUserExit();
    void edtStatsPassExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Fills the character names first: a file that cannot be read is said,
    // and the rest of the page still loads.
    void loadPage() override;

private:
    // The page's settings, their controls made.
    std::vector<Binding::Row> settings();
    QWidget* buildGeneral();
    QWidget* buildValues();
    QWidget* buildBoxes();
    void checkLength(QLineEdit* field, int minimum, const QString& warning);

    const RunTime& m_rt;

    QLineEdit* edtPlayername = nullptr;
    QComboBox* dropChar = nullptr;
    QRadioButton* rbTeamRed = nullptr;
    QRadioButton* rbTeamBlue = nullptr;
    QLineEdit* edtStatsUser = nullptr;
    QLineEdit* edtStatsPass = nullptr;

    QLabel* lblVOF = nullptr;
    QLabel* lblMouseSens = nullptr;
    QLabel* lblBob = nullptr;
    QLabel* lblHUDScale = nullptr;
    ThumbSlider* tbVOF = nullptr;
    ThumbSlider* tbMouseSens = nullptr;
    ThumbSlider* tbWeaponbob = nullptr;
    ThumbSlider* tbHUDScale = nullptr;

    QCheckBox* cbHUD = nullptr;
    QCheckBox* cbShowweaponinfo = nullptr;
    QCheckBox* cbShowpersonalinfo = nullptr;
    QCheckBox* cbShowPoints = nullptr;
    QCheckBox* cbCrosshair = nullptr;
    QCheckBox* cbWeaponbar = nullptr;
    QCheckBox* cbVoiceTaunts = nullptr;
    QCheckBox* cbVoiceMsg = nullptr;
    QCheckBox* cbAutoTaunt = nullptr;
    QCheckBox* cbMature = nullptr;
    QCheckBox* cbAutoTaunts = nullptr;
    QCheckBox* cbAnnouncer = nullptr;
    QCheckBox* cbMsgBeep = nullptr;
    QCheckBox* cbAutoswitch = nullptr;
    QCheckBox* cbDodge = nullptr;
    QCheckBox* cbWeaponBob = nullptr;
    QCheckBox* cbUseJoystick = nullptr;

    WeaponPriority* m_weapons = nullptr;

    bool m_checkingLength = false;
};
