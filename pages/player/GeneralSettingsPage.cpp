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
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setHorizontalSpacing(6);
    layout->setVerticalSpacing(4);
    layout->addWidget(buildGeneral(), 0, 0);
    layout->addWidget(buildValues(), 1, 0);
    layout->addWidget(buildBoxes(), 0, 1, 2, 1);
    m_weapons = new WeaponPriority(this);
    layout->addWidget(m_weapons, 0, 2, 2, 1);
    layout->setRowStretch(1, 1);
    layout->setColumnStretch(2, 1);

    const File User = File::User;
    const Compare Later = Compare::OnceLoaded;
    // The team colour is written but never compared. Any other number (the
    // game's 255: no team) selects neither colour.
    const Row team = choice({{rbTeamRed, "0"}, {rbTeamBlue, "1"}}, User, "DefaultPlayer", "Team", "0")
                         .choosing([](const TCustomIniFile& ini, const std::string& section, const std::string& key) {
                             const int stored = ini.ReadInteger(section, key, 0);
                             return stored == 0 || stored == 1 ? stored : -1;
                         })
                         .showingNoneForOthers()
                         .compared(Compare::Never);
    const Row weapons = custom(m_weapons, User, {}, "Priority",
                               {[this](const RunTime& rt) { m_weapons->load(profile(File::User, rt)); },
                                [this](const RunTime&, std::vector<KeyWrite>& out) { m_weapons->writes(out); },
                                [this] { return m_weapons->snapshotValues().join(QChar(0)); }},
                               Later);
    setRows(std::vector<Row>{
        // Texts and sliders count as changes once every page has been loaded.
        text(edtPlayername, User, "DefaultPlayer", "Name").compared(Later),
        text(dropChar, User, "DefaultPlayer", "Character").compared(Later),
        text(edtStatsUser, User, PlayerController, "StatsUsername").compared(Later),
        text(edtStatsPass, User, PlayerController, "StatsPassword").compared(Later),
        // The game itself stores the field of view as a decimal ("90.000000").
        integer(tbVOF, User, PlayerController, "DefaultFOV", 85)
            .alsoWrites("DesiredFOV")
            .readingDecimals()
            .compared(Later),
        number(tbMouseSens, User, "Engine.PlayerInput", "MouseSensitivity", 4.0, 100, 2).compared(Later),
        number(tbWeaponbob, User, "Engine.Pawn", "Bob", 0, 100000, 6).compared(Later),
        number(tbHUDScale, User, Hud, "HudScale", 1.0, 100, 2).compared(Later),
        flag(cbHUD, User, Hud, "bHideHUD", false, Sense::Inverted),
        flag(cbShowweaponinfo, User, Hud, "bShowWeaponInfo", true),
        flag(cbShowpersonalinfo, User, Hud, "bShowPersonalInfo", true),
        flag(cbShowPoints, User, Hud, "bShowPoints", true),
        flag(cbCrosshair, User, Hud, "bCrosshairShow", true),
        flag(cbWeaponbar, User, Hud, "bShowWeaponBar", true),
        flag(cbVoiceTaunts, User, PlayerController, "bNoVoiceTaunts", false, Sense::Inverted),
        flag(cbVoiceMsg, User, PlayerController, "bNoVoiceMessages", false, Sense::Inverted),
        flag(cbAutoTaunt, User, PlayerController, "bAutoTaunt", false),
        flag(cbMature, User, PlayerController, "bNoMatureLanguage", false, Sense::Inverted),
        flag(cbAutoTaunts, User, PlayerController, "bNoAutoTaunts", false, Sense::Inverted),
        flag(cbAnnouncer, User, PlayerController, "bPlayAnnouncer", true),
        flag(cbMsgBeep, User, Hud, "bMessageBeep", true),
        flag(cbAutoswitch, User, PlayerController, "bNeverSwitchOnPickup", false, Sense::Inverted),
        flag(cbDodge, User, "Engine.PlayerInput", "bEnableDodging", true),
        flag(cbWeaponBob, User, "Engine.Pawn", "bWeaponBob", false),
        flag(cbUseJoystick, File::Viewport, {}, "UseJoystick", false),
        team,
        weapons,
    });

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

QWidget* GeneralSettingsPage::buildGeneral()
{
    auto* group = named(new QGroupBox(QStringLiteral("General"), this), "groupGeneral");
    auto* form = new QFormLayout(group);
    form->setVerticalSpacing(4);

    edtPlayername = named(new QLineEdit(group), "edtPlayername");
    dropChar = named(new QComboBox(group), "dropChar");
    dropChar->setEditable(true);
    dropChar->setInsertPolicy(QComboBox::NoInsert);
    dropChar->setMaxVisibleItems(20);
    rbTeamRed = named(new QRadioButton(QStringLiteral("Red"), group), "rbTeamRed");
    rbTeamBlue = named(new QRadioButton(QStringLiteral("Blue"), group), "rbTeamBlue");
    edtStatsUser = named(new QLineEdit(group), "edtStatsUser");
    edtStatsUser->setToolTip(StatsHint);
    edtStatsPass = named(new QLineEdit(group), "edtStatsPass");
    edtStatsPass->setToolTip(StatsHint);
    edtStatsPass->setEchoMode(QLineEdit::Password);
    edtStatsPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // "*"

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
    struct SliderRow {
        QLabel* GeneralSettingsPage::*label;
        ThumbSlider* GeneralSettingsPage::*slider;
        const char* labelName;
        const char* sliderName;
        const char* caption;
        int minimum, maximum, tick;
    };
    static const SliderRow rows[] = {
        {&GeneralSettingsPage::lblVOF, &GeneralSettingsPage::tbVOF, "lblVOF", "tbVOF", "Field of view:", 60, 125, 10},
        {&GeneralSettingsPage::lblMouseSens, &GeneralSettingsPage::tbMouseSens, "lblMouseSens", "tbMouseSens",
         "Mouse sensitivity", 0, 1500, 100},
        {&GeneralSettingsPage::lblBob, &GeneralSettingsPage::tbWeaponbob, "lblBob", "tbWeaponbob", "Amount weaponbob",
         100, 5000, 500},
        {&GeneralSettingsPage::lblHUDScale, &GeneralSettingsPage::tbHUDScale, "lblHUDScale", "tbHUDScale", "HUD scale",
         0, 200, 10},
    };
    for (const SliderRow& row : rows) {
        QLabel* label = named(new QLabel(QLatin1String(row.caption), group), row.labelName);
        ThumbSlider* slider = named(new ThumbSlider(group), row.sliderName);
        slider->setRange(row.minimum, row.maximum);
        slider->setTickInterval(row.tick);
        slider->setPageStep(row.tick);
        label->setBuddy(slider);
        this->*row.label = label;
        this->*row.slider = slider;
        column->addWidget(label);
        column->addWidget(slider);
        column->addSpacing(4);
    }
    column->addStretch(1);
    return group;
}

QWidget* GeneralSettingsPage::buildBoxes()
{
    struct Box {
        QCheckBox* GeneralSettingsPage::*member;
        const char* name;
        const char* caption;
    };
    struct Group {
        const char* name;
        const char* caption;
        std::initializer_list<Box> boxes;
    };
    using P = GeneralSettingsPage;
    const Group groups[] = {
        {"groupHUD",
         "HUD",
         {{&P::cbHUD, "cbHUD", "Show HUD"},
          {&P::cbShowweaponinfo, "cbShowweaponinfo", "Show Weaponinfo"},
          {&P::cbShowpersonalinfo, "cbShowpersonalinfo", "Show Personalinfo"},
          {&P::cbShowPoints, "cbShowPoints", "Show Points"},
          {&P::cbCrosshair, "cbCrosshair", "Show Crosshair"},
          {&P::cbWeaponbar, "cbWeaponbar", "Show Weaponbar"}}},
        {"groupSounds",
         "Sounds",
         {{&P::cbVoiceTaunts, "cbVoiceTaunts", "Voice taunts"},
          {&P::cbVoiceMsg, "cbVoiceMsg", "Voice messages"},
          {&P::cbAutoTaunt, "cbAutoTaunt", "Autotaunt"},
          {&P::cbMature, "cbMature", "Mature language"},
          {&P::cbAutoTaunts, "cbAutoTaunts", "Enable enemy autotaunts"},
          {&P::cbAnnouncer, "cbAnnouncer", "Announcer"},
          {&P::cbMsgBeep, "cbMsgBeep", "Beep on message"}}},
        {"groupControls",
         "Controls",
         {{&P::cbAutoswitch, "cbAutoswitch", "Autoswitch weapon on pickup"},
          {&P::cbDodge, "cbDodge", "Dodge"},
          {&P::cbWeaponBob, "cbWeaponBob", "Weapon bob"},
          {&P::cbUseJoystick, "cbUseJoystick", "Use Joystick"}}},
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
        for (const Box& b : g.boxes) {
            QCheckBox* box = named(new QCheckBox(QLatin1String(b.caption), group), b.name);
            this->*b.member = box;
            boxes->addWidget(box);
        }
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
    table().read({edtPlayername});
    table().read({cbAutoswitch, cbVoiceMsg, cbVoiceTaunts, cbAutoTaunts, cbMature, cbAutoTaunt, cbAnnouncer, cbDodge,
                  cbHUD, cbMsgBeep, cbShowweaponinfo, cbShowpersonalinfo, cbShowPoints, cbWeaponbar, cbCrosshair,
                  cbUseJoystick});
    table().read({edtStatsUser, edtStatsPass, cbWeaponBob});
    cbWeaponBobClick();
    table().read(dropChar);
    // The label names the stored value even where the slider holds it in range.
    const int fov = table().read(tbVOF).toInt();
    lblVOF->setText(vofText(fov));
    table().read(tbMouseSens);
    tbMouseSensChange();
    table().read(tbHUDScale);
    tbHUDScaleChange();
    table().read(tbWeaponbob);
    tbWeaponbobChange();
    table().read({rbTeamRed, m_weapons});
}

void GeneralSettingsPage::savePage(Writes& out) const
{
    table().collect({edtPlayername,    cbAutoswitch,       cbVoiceMsg,   cbVoiceTaunts, cbAutoTaunts, cbMature,
                     cbAutoTaunt,      cbAnnouncer,        tbVOF,        cbDodge,       cbWeaponBob,  cbHUD,
                     cbShowweaponinfo, cbShowpersonalinfo, cbShowPoints, cbCrosshair,   cbWeaponbar,  cbMsgBeep,
                     cbUseJoystick,    edtStatsUser,       edtStatsPass, dropChar,      tbMouseSens,  tbHUDScale,
                     tbWeaponbob,      rbTeamRed,          m_weapons},
                    out);
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
