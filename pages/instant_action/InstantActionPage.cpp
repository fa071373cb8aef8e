#include "pages/instant_action/InstantActionPage.h"

#include "core/RunTime.h"
#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "pages/PageContext.h"
#include "pages/instant_action/GameTypes.h"
#include "pages/instant_action/LastChoices.h"
#include "pages/instant_action/LaunchParameters.h"
#include "pages/instant_action/MapList.h"
#include "pages/instant_action/MapPicture.h"
#include "pages/instant_action/MapSources.h"
#include "platform/GameLayout.h"
#include "platform/Paths.h"
#include "platform/ShellStart.h"
#include "profile/IniFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <climits>
#include <exception>

using namespace Binding;

namespace {

const char* const MainSection = LastChoices::Section;
const char* const RulesSection = "xInterface.Tab_InstantActionBaseRules";
constexpr QSize PictureSize(236, 107);

// How a rules key is kept on disk: a whole number, a flag, or a fraction
// (0.5 for half) that its spin edit shows as a percentage.
enum class RuleForm { Whole, Flag, Fraction };

// One key of a game type's rules section, and the control of each rules
// group that holds it (none where the game type has no such rule).
struct RuleKey {
    const char* key;
    RuleForm form;
    int missing; // for flags 1 is True
    const char* caption;
    bool percent;       // range 0 to 100
    const char* suffix; // control name after the group's prefix; empty where a
                        // group has none
    std::array<bool, 5> inGroup;
};

constexpr std::array<bool, 5> Every = {true, true, true, true, true};
constexpr std::array<bool, 5> Teams = {false, true, true, true, true};
constexpr std::array<bool, 5> DoubleDomination = {false, false, false, true, false};

// In the order of the keys in the file's rules table: the order of reads and
// writes.
const RuleKey Rules[] = {
    {"MaxLives", RuleForm::Whole, 0, "Max lives:", false, "MaxLives", Every},
    {"TimeLimit", RuleForm::Whole, 0, "Timelimit:", false, "TimeLimit", Every},
    {"GoalScore", RuleForm::Whole, 15, "Scorelimit:", false, "ScoreLimit", Every},
    {"MaxTeamSize", RuleForm::Whole, 16, "Maxteamsize:", false, "MaxTeamSize", Teams},
    {"FriendlyFireScale", RuleForm::Fraction, 0, "Friendlyfire:", true, "FriendlyFire", Teams},
    {"bPlayersMustBeReady", RuleForm::Flag, 0, "Players must be ready", false, "PlayersReady", Every},
    {"bAllowTaunts", RuleForm::Flag, 1, "Allow taunts", false, "AllowTaunts", Every},
    {"bForceRespawn", RuleForm::Flag, 0, "Force respawn", false, "ForceRespawn", Every},
    {"bWeaponStay", RuleForm::Flag, 1, "Weapons stay", false, "WeaponsStay", Every},
    {"TimeToScore", RuleForm::Whole, 10, "Time to score:", false, "TimeToScore", DoubleDomination},
    {"TimeDisabled", RuleForm::Whole, 10, "Time disabled:", true, "TimeDisabled", DoubleDomination},
};

// Control names begin with the group's prefix: dmMaxLives, tdmFriendlyFire...
const char* const Prefixes[] = {"dm", "tdm", "ctf", "dd", "br"};

// The rules are read and written game type by game type in this order.
constexpr int RulesOrder[] = {4, 0, 1, 2, 3};

// The group of a game type's rules: RulesGroup + its place in GameTypes::All.
constexpr int RulesGroup = 1;

QSpinBox* wholeNumberEdit(bool percent)
{
    auto* spin = new QSpinBox;
    if (percent)
        spin->setRange(0, 100);
    else
        spin->setRange(INT_MIN, INT_MAX);
    spin->setMinimumWidth(70);
    return spin;
}

QComboBox* typedPickList(const QStringList& items)
{
    auto* pick = new QComboBox;
    pick->setEditable(true);
    pick->setInsertPolicy(QComboBox::NoInsert);
    pick->setCompleter(nullptr); // the text is what was typed, never a guess
    pick->addItems(items);
    return pick;
}

} // namespace

InstantActionPage::InstantActionPage(const PageContext& context, QWidget* parent)
    : SettingsPage(context.rt, parent)
    , m_rt(context.rt)
    , m_shell(context.shell)
{
    setObjectName(QStringLiteral("InstantActionPage"));
    setRows(settings());

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(buildRules());
    left->addStretch(1);
    layout->addLayout(left, 0, 0, 2, 1);

    layout->addWidget(buildMaps(), 0, 1);
    imgMap = named(new QLabel(this), QStringLiteral("imgMap"));
    imgMap->setFixedSize(PictureSize);
    imgMap->setAlignment(Qt::AlignCenter);
    layout->addWidget(imgMap, 1, 1, Qt::AlignTop | Qt::AlignLeft);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(buildMutators(), 1);
    right->addWidget(buildGeneral());
    layout->addLayout(right, 0, 2, 2, 1);
    layout->addWidget(buildStart(), 2, 0, 1, 3);
    layout->setRowStretch(0, 1);
    layout->setColumnStretch(2, 1);

    m_gameTypeText = pickGameType->currentText();
    m_difficultyText = pickDiff->currentText();
    Guard::connect(pickGameType, &QComboBox::currentTextChanged, this,
                   [this] { onPickText(pickGameType, m_gameTypeText); });
    Guard::connect(pickDiff, &QComboBox::currentTextChanged, this, [this] { onPickText(pickDiff, m_difficultyText); });
    Guard::connect(lbMaps, &QListWidget::itemSelectionChanged, this, &InstantActionPage::lbMutatorsClick);
    Guard::connect(lbMutators, &QListWidget::itemSelectionChanged, this, &InstantActionPage::lbMutatorsClick);
    Guard::connect(cbTrans, &QCheckBox::toggled, this, &InstantActionPage::lbMutatorsClick);
    Guard::connect(spinBotCount, &QSpinBox::valueChanged, this, &InstantActionPage::spinBotCountChange);
    Guard::connect(SpeedButton7, &QToolButton::clicked, this, &InstantActionPage::SpeedButton7Click);
    Guard::connect(SpeedButton8, &QToolButton::clicked, this, &InstantActionPage::SpeedButton8Click);
    Guard::connect(Button1, &QPushButton::clicked, this, &InstantActionPage::Button1Click);
}

InstantActionPage::~InstantActionPage() = default;

std::vector<Row> InstantActionPage::settings()
{
    std::vector<Row> rows;
    for (const int type : RulesOrder) {
        const std::string section = GameTypes::All[std::size_t(type)].className;
        for (const RuleKey& rule : Rules) {
            if (!rule.inGroup[std::size_t(type)]) continue;
            const QString name = QLatin1String(Prefixes[type]) + QLatin1String(rule.suffix);
            Row row;
            if (rule.form == RuleForm::Flag)
                row = flag(named(new QCheckBox(QLatin1String(rule.caption)), name), File::Game, section, rule.key,
                           rule.missing);
            else if (rule.form == RuleForm::Fraction) // written as the game does: "0.500000"
                row = number(named(wholeNumberEdit(rule.percent), name), File::Game, section, rule.key, rule.missing,
                             100, 6);
            else
                row = integer(named(wholeNumberEdit(rule.percent), name), File::Game, section, rule.key, rule.missing);
            rows.push_back(row.inGroup(RulesGroup + type).labelled(QLatin1String(rule.caption)));
        }
    }
    spinBotCount = named(wholeNumberEdit(false), QStringLiteral("spinBotCount"));
    QStringList skills;
    for (const char* skill : GameTypes::Difficulties)
        skills << QLatin1String(skill);
    pickDiff = named(typedPickList(skills), QStringLiteral("pickDiff"));
    cbTrans = named(new QCheckBox(QStringLiteral("Use translocator")), QStringLiteral("cbTrans"));
    QStringList types;
    for (const GameTypes::GameType& type : GameTypes::All)
        types << QLatin1String(type.item);
    pickGameType = named(typedPickList(types), QStringLiteral("pickGameType"));
    lbMaps = named(new MapList, QStringLiteral("lbMaps"));
    rows.push_back(integer(spinBotCount, File::Game, MainSection, "LastBotCount", 0));
    rows.push_back(difficultyRow());
    rows.push_back(flag(cbTrans, File::Game, RulesSection, "LastTranslocator", true));
    rows.push_back(gameTypeRow().then([this](const QVariant&) { FillMutatorList(); }));
    // The preview, and the picture with it: the picture follows the chosen map.
    rows.push_back(mapRow().then([this](const QVariant&) { lbMutatorsClick(); }));
    return rows;
}

Row InstantActionPage::difficultyRow()
{
    return custom(pickDiff, File::Game, MainSection, "LastBotSkill",
                  {[this](const RunTime& rt) { LastChoices::readBotSkill(profile(File::Game, rt), pickDiff); },
                   [this](const RunTime&, std::vector<KeyWrite>& out) { LastChoices::writeBotSkill(pickDiff, out); },
                   [this] { return pickDiff->currentText(); }});
}

Row InstantActionPage::gameTypeRow()
{
    // A game type the file does not name leaves the game type and its maps as they were.
    return custom(
        pickGameType, File::Game, MainSection, "LastGameType",
        {[this](const RunTime& rt) {
             if (const int type = LastChoices::storedGameType(profile(File::Game, rt)); type >= 0) SelectGameType(type);
         },
         [this](const RunTime&, std::vector<KeyWrite>& out) { LastChoices::writeGameType(pickGameType, out); },
         [this] { return pickGameType->currentText(); }});
}

Row InstantActionPage::mapRow()
{
    return custom(lbMaps, File::Game, MainSection, "LastMap",
                  {[this](const RunTime& rt) { LastChoices::readMap(profile(File::Game, rt), lbMaps); },
                   [this](const RunTime&, std::vector<KeyWrite>& out) { LastChoices::writeMap(selectedMap(), out); },
                   [this] { return selectedMap(); }});
}

QString InstantActionPage::saveNotice() const { return LastChoices::mapNotice(selectedMap()); }

QWidget* InstantActionPage::buildRules()
{
    auto* holder = new QWidget(this);
    auto* column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);

    auto* gameType = named(new QGroupBox(QStringLiteral("Gametype"), holder), QStringLiteral("groupGametype"));
    auto* form = new QFormLayout(gameType);
    form->addRow(QStringLiteral("Gametype:"), pickGameType);
    column->addWidget(gameType);

    // All five groups keep their place and size; only the chosen one is shown.
    m_rulesStack = named(new QStackedWidget(holder), QStringLiteral("rulesStack"));
    for (std::size_t type = 0; type < GameTypes::All.size(); ++type) {
        auto* group = named(new QGroupBox(QLatin1String(GameTypes::All[type].caption), m_rulesStack),
                            QLatin1String(GameTypes::All[type].group));
        auto* column = new QVBoxLayout(group);
        column->setSpacing(4);
        auto* numbers = new QFormLayout;
        numbers->setVerticalSpacing(3);
        auto* boxes = new QGridLayout;
        boxes->setVerticalSpacing(2);
        column->addLayout(numbers);
        column->addLayout(boxes);
        column->addStretch(1);
        int box = 0;
        for (const Row& row : table().rows()) {
            if (row.group != RulesGroup + int(type)) continue;
            if (row.form == Form::Flag) {
                boxes->addWidget(row.control, box / 2, box % 2);
                ++box;
            } else {
                numbers->addRow(row.label, row.control);
            }
        }
        m_groups[type] = group;
        m_rulesStack->addWidget(group);
    }
    column->addWidget(m_rulesStack);
    return holder;
}

QWidget* InstantActionPage::buildGeneral()
{
    auto* group = named(new QGroupBox(QStringLiteral("General"), this), QStringLiteral("groupGeneral"));
    auto* form = new QFormLayout(group);
    form->setVerticalSpacing(3);
    form->addRow(QStringLiteral("Number of bots:"), spinBotCount);
    form->addRow(QStringLiteral("Difficulty:"), pickDiff);
    form->addRow(cbTrans);
    return group;
}

// A list group: its label and small button above the list.
QGroupBox* InstantActionPage::buildList(const ListGroup& g, QListWidget* list, QToolButton*& button)
{
    auto* group = named(new QGroupBox(QLatin1String(g.caption), this), QLatin1String(g.groupName));
    auto* column = new QVBoxLayout(group);
    column->setSpacing(3);
    auto* top = new QHBoxLayout;
    auto* label = new QLabel(QLatin1String(g.label), group);
    top->addWidget(label, 1);
    column->addLayout(top);
    column->addWidget(list); // before its button in the Tab order
    label->setBuddy(list);
    list->setAccessibleName(label->text()); // an item view does not ask its buddy
    list->setSelectionMode(g.selection);
    button = named(new QToolButton(group), QLatin1String(g.buttonName));
    button->setIcon(style()->standardIcon(g.icon));
    button->setToolTip(QLatin1String(g.buttonHint));
    button->setAccessibleName(button->toolTip()); // a picture only
    button->setAutoRaise(true);
    top->addWidget(button);
    return group;
}

QWidget* InstantActionPage::buildMaps()
{
    QGroupBox* group = buildList({"Map", "groupMap", "Pick a map:", QAbstractItemView::SingleSelection, "SpeedButton8",
                                  "Information about the map", QStyle::SP_MessageBoxInformation},
                                 lbMaps, SpeedButton8);
    group->setFixedWidth(PictureSize.width());
    return group;
}

QWidget* InstantActionPage::buildMutators()
{
    lbMutators = named(new QListWidget, QStringLiteral("lbMutators"));
    QGroupBox* group = buildList({"Mutator", "groupMutator", "Pick mutator(s):", QAbstractItemView::ExtendedSelection,
                                  "SpeedButton7", "Clear the selected mutators", QStyle::SP_DialogResetButton},
                                 lbMutators, SpeedButton7);
    lbMutators->setToolTip(QStringLiteral("Keep control pressed to select more then 1 mutator"));
    return group;
}

QWidget* InstantActionPage::buildStart()
{
    auto* group = named(new QGroupBox(QStringLiteral("Starting UT2003"), this), QStringLiteral("groupStart"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(3);
    auto* label = new QLabel(QStringLiteral("Command line parameters:"), group);
    grid->addWidget(label, 0, 0, 1, 2);
    edtCmdLn = named(new QLineEdit(group), QStringLiteral("edtCmdLn"));
    label->setBuddy(edtCmdLn);
    grid->addWidget(edtCmdLn, 1, 0);
    Button1 = named(new QPushButton(QStringLiteral("Start an UT2003 game with these settings"), group),
                    QStringLiteral("Button1"));
    grid->addWidget(Button1, 1, 1);
    grid->setColumnStretch(0, 1);
    return group;
}

int InstantActionPage::pickIndex(const QComboBox* pick)
{
    const QString text = pick->currentText();
    return text.isEmpty() ? -1 : pick->findText(text, Qt::MatchFixedString);
}

QString InstantActionPage::selectedMap() const
{
    const QList<QListWidgetItem*> selected = lbMaps->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

bool InstantActionPage::changed() const { return m_loaded && SettingsPage::changed(); }

void InstantActionPage::takeSnapshot()
{
    SettingsPage::takeSnapshot();
    m_loaded = true;
}

void InstantActionPage::onPickText(const QComboBox* pick, QString& last)
{
    if (pick->currentText() == last) return;
    last = pick->currentText();
    pickGameTypeChange();
}

void InstantActionPage::pickGameTypeChange()
{
    const int index = pickIndex(pickGameType);
    if (index < 0) {
        lbMutatorsClick();
        return;
    }
    SelectGameType(index);
    m_rulesStack->setCurrentWidget(m_groups[std::size_t(index)]);
    lbMutatorsClick();
}

void InstantActionPage::SelectGameType(int index)
{
    if (index < 0 || index >= int(GameTypes::All.size())) return;
    pickGameType->setCurrentIndex(index);
    FillMapList(QLatin1String(GameTypes::All[std::size_t(index)].mapFilter));
}

void InstantActionPage::FillMapList(const QString& filter)
{
    lbMaps->clear();
    lbMaps->addItems(MapSources::mapNames(m_rt.GameRoot(), filter));
    if (lbMaps->count() > 0) {
        lbMaps->setCurrentRow(0);
        lbMaps->item(0)->setSelected(true);
    }
}

void InstantActionPage::FillMutatorList()
{
    lbMutators->clear();
    lbMutators->addItems(MapSources::mutatorNames(m_rt.SystemDir));
}

QString InstantActionPage::BuildLaunchParameters() const
{
    LaunchChoice choice;
    choice.map = selectedMap();
    choice.gameType = pickIndex(pickGameType);
    choice.bots = spinBotCount->value(); // the field shows the digits of the user's locale
    choice.translocator = cbTrans->isChecked();
    choice.difficulty = pickIndex(pickDiff);
    for (int i = 0; i < lbMutators->count(); ++i)
        if (lbMutators->item(i)->isSelected()) choice.mutators << lbMutators->item(i)->text();
    return launchParameters(choice);
}

void InstantActionPage::lbMutatorsClick()
{
    edtCmdLn->setText(BuildLaunchParameters());
    edtCmdLn->setCursorPosition(0);
    showPicture();
}

void InstantActionPage::showPicture()
{
    const QString path = MapPicture::fileFor(m_rt.ProgramDir, selectedMap());
    if (path.isEmpty()) {
        m_picturePath.clear();
        m_picture = QImage();
        m_pictureFailure.clear();
    } else {
        const QFileInfo file(path);
        if (path != m_picturePath || file.lastModified() != m_pictureTime || file.size() != m_pictureSize) {
            const MapPicture::Decoded decoded = MapPicture::load(path, PictureSize);
            m_picturePath = path;
            m_pictureTime = file.lastModified();
            m_pictureSize = file.size();
            m_picture = decoded.image;
            m_pictureFailure = decoded.image.isNull() ? file.fileName() + ": " + decoded.failure : QString();
        }
    }
    if (m_picture.isNull())
        imgMap->clear();
    else
        imgMap->setPixmap(
            QPixmap::fromImage(m_picture.scaled(PictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    imgMap->setToolTip(m_pictureFailure);
}

void InstantActionPage::spinBotCountChange()
{
    if (m_rt.StartupComplete) lbMutatorsClick();
}

void InstantActionPage::SpeedButton7Click()
{
    lbMutators->clearSelection();
    lbMutatorsClick();
}

void InstantActionPage::SpeedButton8Click()
{
    MessageBox::information(MapSources::mapInformation(m_rt.SystemDir, selectedMap()));
}

void InstantActionPage::Button1Click()
{
    const QString parameters = BuildLaunchParameters();
    if (selectedMap().isEmpty() || m_rt.SystemDir.empty()) return; // no game without a map
    // One argument, whatever the map's name holds; the outcome is not examined.
    const platform::GameLayout game = platform::layoutOf(m_rt.SystemDir);
    m_shell.Start(game.program, platform::quoteArgument(parameters.toStdString()), game.workDir);
}
