#include "pages/player/GeneralSettingsPage.h"

#include "core/RunTime.h"
#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "pages/player/CharacterList.h"
#include "pages/player/ThumbSlider.h"
#include "pages/player/WeaponPriority.h"
#include "platform/Paths.h"
#include "profile/IniFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

using namespace Binding;

namespace {

const char* const PlayerController = "Engine.PlayerController";
const char* const Hud = "Engine.HUD";
const QString StatsHint = QStringLiteral("Works only if you didnt install the patch yet!!");

QString vofText(int value) { return QStringLiteral("Field of View: %1 (Default 85)").arg(value); }

} // namespace

GeneralSettingsPage::GeneralSettingsPage(const RunTime& rt, QWidget* parent)
    : SettingsPage(rt, parent)
    , m_rt(rt)
{
    setObjectName(QStringLiteral("GeneralSettingsPage"));
    setRows(settings());

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(4);
    layout->addWidget(buildGeneral(), 0, 0);
    layout->addWidget(buildValues(), 1, 0);
    layout->addWidget(buildBoxes(), 0, 1, 2, 1);
    layout->addWidget(m_weapons, 0, 2, 2, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(2, 1);

    Guard::connect(tbVOF, &QSlider::valueChanged, this, &GeneralSettingsPage::tbVOFChange);
    Guard::connect(tbMouseSens, &QSlider::valueChanged, this, &GeneralSettingsPage::tbMouseSensChange);
    Guard::connect(tbWeaponbob, &QSlider::valueChanged, this, &GeneralSettingsPage::tbWeaponbobChange);
    Guard::connect(tbHUDScale, &QSlider::valueChanged, this, &GeneralSettingsPage::tbHUDScaleChange);
    // A box set by a load counts as clicked, as the game's own option boxes do,
    // so the thumbs always follow their boxes.
    Guard::connect(cbWeaponBob, &QCheckBox::toggled, this, &GeneralSettingsPage::cbWeaponBobClick);
    Guard::connect(cbUseJoystick, &QCheckBox::toggled, this, &GeneralSettingsPage::cbWeaponBobClick);
    Guard::connect(cbHUD, &QCheckBox::toggled, this, &GeneralSettingsPage::cbHUDClick);
    edtStatsUser->installEventFilter(this);
    edtStatsPass->installEventFilter(this);

    cbWeaponBobClick();
    cbHUDClick();
    takeSnapshot(); // an unloaded page reads as unchanged
}

GeneralSettingsPage::~GeneralSettingsPage() = default;

std::vector<Row> GeneralSettingsPage::settings()
{
    const File User = File::User;
    const Compare Later = Compare::OnceLoaded;
    const auto box = [](QCheckBox*& control, const char* name, const char* caption) {
        return control = named(new QCheckBox(QLatin1String(caption)), name);
    };
    const auto slider = [](ThumbSlider*& control, const char* name, int minimum, int maximum, int tick) {
        control = named(new ThumbSlider, name);
        control->setRange(minimum, maximum);
        control->setTickInterval(tick);
        control->setPageStep(tick);
        return control;
    };
    edtPlayername = named(new QLineEdit, "edtPlayername");
    dropChar = named(new QComboBox, "dropChar");
    dropChar->setEditable(true);
    dropChar->setInsertPolicy(QComboBox::NoInsert);
    dropChar->setMaxVisibleItems(20);
    rbTeamRed = named(new QRadioButton(QStringLiteral("Red")), "rbTeamRed");
    rbTeamBlue = named(new QRadioButton(QStringLiteral("Blue")), "rbTeamBlue");
    edtStatsUser = named(new QLineEdit, "edtStatsUser");
    edtStatsUser->setToolTip(StatsHint);
    edtStatsPass = named(new QLineEdit, "edtStatsPass");
    edtStatsPass->setToolTip(StatsHint);
    edtStatsPass->setEchoMode(QLineEdit::Password);
    edtStatsPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"
    m_weapons = new WeaponPriority;

    // The settings in the order of the page's save, each with its place in
    // its load. Texts, sliders and the weapons count as changes once every
    // page has been loaded; the team colour is written but never compared.
    return {
        text(edtPlayername, User, "DefaultPlayer", "Name").compared(Later).readAt(1),
        flag(box(cbAutoswitch, "cbAutoswitch", "Autoswitch weapon on pickup"), User, PlayerController,
             "bNeverSwitchOnPickup", false, Sense::Inverted)
            .readAt(2),
        flag(box(cbVoiceMsg, "cbVoiceMsg", "Voice messages"), User, PlayerController, "bNoVoiceMessages", false,
             Sense::Inverted)
            .readAt(3),
        flag(box(cbVoiceTaunts, "cbVoiceTaunts", "Voice taunts"), User, PlayerController, "bNoVoiceTaunts", false,
             Sense::Inverted)
            .readAt(4),
        flag(box(cbAutoTaunts, "cbAutoTaunts", "Enable enemy autotaunts"), User, PlayerController, "bNoAutoTaunts",
             false, Sense::Inverted)
            .readAt(5),
        flag(box(cbMature, "cbMature", "Mature language"), User, PlayerController, "bNoMatureLanguage", false,
             Sense::Inverted)
            .readAt(6),
        flag(box(cbAutoTaunt, "cbAutoTaunt", "Autotaunt"), User, PlayerController, "bAutoTaunt", false).readAt(7),
        flag(box(cbAnnouncer, "cbAnnouncer", "Announcer"), User, PlayerController, "bPlayAnnouncer", true).readAt(8),
        // The game itself stores the field of view as a decimal ("90.000000"). The
        // label names the stored value even where the slider holds it in range.
        integer(slider(tbVOF, "tbVOF", 60, 125, 10), User, PlayerController, "DefaultFOV", 85)
            .alsoWrites("DesiredFOV")
            .readingDecimals()
            .compared(Later)
            .readAt(22)
            .then([this](const QVariant& stored) { lblVOF->setText(vofText(stored.toInt())); }),
        flag(box(cbDodge, "cbDodge", "Dodge"), User, "Engine.PlayerInput", "bEnableDodging", true).readAt(9),
        flag(box(cbWeaponBob, "cbWeaponBob", "Weapon bob"), User, "Engine.Pawn", "bWeaponBob", false)
            .readAt(20)
            .then([this](const QVariant&) { cbWeaponBobClick(); }),
        flag(box(cbHUD, "cbHUD", "Show HUD"), User, Hud, "bHideHUD", false, Sense::Inverted).readAt(10),
        flag(box(cbShowweaponinfo, "cbShowweaponinfo", "Show Weaponinfo"), User, Hud, "bShowWeaponInfo", true)
            .readAt(12),
        flag(box(cbShowpersonalinfo, "cbShowpersonalinfo", "Show Personalinfo"), User, Hud, "bShowPersonalInfo", true)
            .readAt(13),
        flag(box(cbShowPoints, "cbShowPoints", "Show Points"), User, Hud, "bShowPoints", true).readAt(14),
        flag(box(cbCrosshair, "cbCrosshair", "Show Crosshair"), User, Hud, "bCrosshairShow", true).readAt(16),
        flag(box(cbWeaponbar, "cbWeaponbar", "Show Weaponbar"), User, Hud, "bShowWeaponBar", true).readAt(15),
        flag(box(cbMsgBeep, "cbMsgBeep", "Beep on message"), User, Hud, "bMessageBeep", true).readAt(11),
        flag(box(cbUseJoystick, "cbUseJoystick", "Use Joystick"), File::Viewport, {}, "UseJoystick", false).readAt(17),
        text(edtStatsUser, User, PlayerController, "StatsUsername").compared(Later).readAt(18),
        text(edtStatsPass, User, PlayerController, "StatsPassword").compared(Later).readAt(19),
        text(dropChar, User, "DefaultPlayer", "Character").compared(Later).readAt(21),
        number(slider(tbMouseSens, "tbMouseSens", 0, 1500, 100), User, "Engine.PlayerInput", "MouseSensitivity", 4.0,
               100, 2)
            .compared(Later)
            .readAt(23)
            .then([this](const QVariant&) { tbMouseSensChange(); }),
        number(slider(tbHUDScale, "tbHUDScale", 0, 200, 10), User, Hud, "HudScale", 1.0, 100, 2)
            .compared(Later)
            .readAt(24)
            .then([this](const QVariant&) { tbHUDScaleChange(); }),
        number(slider(tbWeaponbob, "tbWeaponbob", 100, 5000, 500), User, "Engine.Pawn", "Bob", 0, 100000, 6)
            .compared(Later)
            .readAt(25)
            .then([this](const QVariant&) { tbWeaponbobChange(); }),
        // Any number but 0 and 1 (the game's 255: no team) selects neither colour.
        choice({{rbTeamRed, "0"}, {rbTeamBlue, "1"}}, User, "DefaultPlayer", "Team", "0")
            .choosing([](const TCustomIniFile& ini, const std::string& section, const std::string& key) {
                const int stored = ini.ReadInteger(section, key, 0);
                return stored == 0 || stored == 1 ? stored : -1;
            })
            .showingNoneForOthers()
            .compared(Compare::Never)
            .readAt(26),
        custom(m_weapons, User, {}, "Priority",
               {[this](const RunTime& rt) { m_weapons->load(profile(File::User, rt)); },
                [this](const RunTime&, std::vector<KeyWrite>& out) { m_weapons->writes(out); },
                [this] { return m_weapons->snapshotValues(); }},
               Later)
            .readAt(27),
    };
}

QWidget* GeneralSettingsPage::buildGeneral()
{
    auto* group = named(new QGroupBox(QStringLiteral("General"), this), "groupGeneral");
    auto* form = new QFormLayout(group);
    form->setVerticalSpacing(4);
    auto* team = new QHBoxLayout;
    team->addWidget(rbTeamRed);
    team->addWidget(rbTeamBlue);
    team->addStretch(1);
    form->addRow(QStringLiteral("Playername:"), edtPlayername);
    form->addRow(QStringLiteral("Character:"), dropChar);
    form->addRow(QStringLiteral("Teamcolor:"), team);
    form->addRow(QStringLiteral("Stats username:"), edtStatsUser);
    form->addRow(QStringLiteral("Stats password:"), edtStatsPass);
    return group;
}

QWidget* GeneralSettingsPage::buildValues()
{
    auto* group = named(new QGroupBox(QStringLiteral("Values"), this), "groupValues");
    auto* column = new QVBoxLayout(group);
    column->setSpacing(0);
    struct SliderLabel {
        QLabel* GeneralSettingsPage::*label;
        ThumbSlider* slider;
        const char* name;
        const char* caption;
    };
    const SliderLabel labels[] = {
        {&GeneralSettingsPage::lblVOF, tbVOF, "lblVOF", "Field of view:"},
        {&GeneralSettingsPage::lblMouseSens, tbMouseSens, "lblMouseSens", "Mouse sensitivity"},
        {&GeneralSettingsPage::lblBob, tbWeaponbob, "lblBob", "Amount weaponbob"},
        {&GeneralSettingsPage::lblHUDScale, tbHUDScale, "lblHUDScale", "HUD scale"},
    };
    for (const SliderLabel& s : labels) {
        QLabel* label = named(new QLabel(QLatin1String(s.caption), group), s.name);
        label->setBuddy(s.slider);
        this->*s.label = label;
        column->addWidget(label);
        column->addWidget(s.slider);
        column->addSpacing(4);
    }
    column->addStretch(1);
    return group;
}

QWidget* GeneralSettingsPage::buildBoxes()
{
    struct Group {
        const char* name;
        const char* caption;
        std::initializer_list<QCheckBox*> boxes;
    };
    const Group groups[] = {
        {"groupHUD", "HUD", {cbHUD, cbShowweaponinfo, cbShowpersonalinfo, cbShowPoints, cbCrosshair, cbWeaponbar}},
        {"groupSounds",
         "Sounds",
         {cbVoiceTaunts, cbVoiceMsg, cbAutoTaunt, cbMature, cbAutoTaunts, cbAnnouncer, cbMsgBeep}},
        {"groupControls", "Controls", {cbAutoswitch, cbDodge, cbWeaponBob, cbUseJoystick}},
    };

    auto* holder = new QWidget(this);
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    for (const Group& g : groups) {
        auto* group = named(new QGroupBox(QLatin1String(g.caption), holder), g.name);
        auto* boxes = new QVBoxLayout(group);
        boxes->setSpacing(1);
        boxes->setContentsMargins(8, 4, 8, 4);
        for (QCheckBox* box : g.boxes)
            boxes->addWidget(box);
        column->addWidget(group);
    }
    column->addStretch(1);
    cbAnnouncer->setToolTip(QStringLiteral("Doesnt work with the new patch anymore!"));
    return holder;
}

void GeneralSettingsPage::loadPage()
{
    // A character file that cannot be read is said, and leaves the list
    // empty; the rest of the page still loads, so that a later Save does
    // not write blank values over the player's settings.
    try {
        LoadCharacterList();
    } catch (const std::exception& unreadable) {
        Guard::showFailure(unreadable);
    }
    SettingsPage::loadPage();
}

void GeneralSettingsPage::LoadCharacterList()
{
    dropChar->clear();
    const QStringList names = CharacterList::read(platform::resolveNoCase(m_rt.SystemDir, CharacterList::FileName));
    dropChar->addItems(names);
}

void GeneralSettingsPage::tbVOFChange() { lblVOF->setText(vofText(tbVOF->value())); }

void GeneralSettingsPage::tbMouseSensChange()
{
    lblMouseSens->setText(
        QStringLiteral("Mouse sensitivity: %1 (Default = 3.00)").arg(pointText(tbMouseSens->value() / 100.0, 2)));
}

void GeneralSettingsPage::tbWeaponbobChange()
{
    lblBob->setText(
        QStringLiteral("Weapon bob: %1 (Default = 0.008)").arg(pointText(tbWeaponbob->value() / 100000.0, 3)));
}

void GeneralSettingsPage::tbHUDScaleChange()
{
    lblHUDScale->setText(
        QStringLiteral("HUD Scale: %1 (Default = 1.00)").arg(pointText(tbHUDScale->value() / 100.0, 2)));
}

void GeneralSettingsPage::cbWeaponBobClick() { tbWeaponbob->setThumbVisible(cbWeaponBob->isChecked()); }

void GeneralSettingsPage::cbHUDClick() { tbHUDScale->setThumbVisible(cbHUD->isChecked()); }

void GeneralSettingsPage::edtStatsUserExit()
{
    checkLength(edtStatsUser, 4, QStringLiteral("The username must be at least 4 characters long"));
}

void GeneralSettingsPage::edtStatsPassExit()
{
    checkLength(edtStatsPass, 6, QStringLiteral("The password must be at least 6 characters long"));
}

void GeneralSettingsPage::checkLength(QLineEdit* field, int minimum, const QString& warning)
{
    const auto length = field->text().length();
    if (length == 0 || length >= minimum || m_checkingLength) return;
    m_checkingLength = true;
    MessageBox::warning(warning);
    field->setFocus(Qt::OtherFocusReason);
    m_checkingLength = false;
}

// Leaving a stats field by the keyboard or the mouse runs its check once the
// focus has moved; focus lost to another window or a popup (the warning box
// itself) and focus moved by the program are not "leaving the field".
bool GeneralSettingsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == edtStatsUser || watched == edtStatsPass)) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason ||
            reason == Qt::ShortcutFocusReason) {
            if (watched == edtStatsUser)
                QTimer::singleShot(0, this, Guard::guarded([this] { edtStatsUserExit(); }));
            else
                QTimer::singleShot(0, this, Guard::guarded([this] { edtStatsPassExit(); }));
        }
    }
    return SettingsPage::eventFilter(watched, event);
}
