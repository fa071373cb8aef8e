#include "pages/engine/GameSettingsPage.h"

#include "core/RunTime.h"
#include "dialogs/Guard.h"
#include "pages/PageContext.h"
#include "pages/engine/ScreenModes.h"
#include "profile/IniFiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <exception>
#include <initializer_list>
#include <iterator>

using namespace Binding;

namespace {

const char* const EngineSection = "Engine.Engine";
const char* const Direct3dDevice = "D3DDrv.D3DRenderDevice";
const char* const OpenGLDevice = "OpenGLDrv.OpenGLRenderDevice";

// The texture words, in the order of the pick lists' items: each item writes
// its own text and is recognised by it in any letter case.
const char* const TextureWords[] = {"Low", "Normal", "High", "Higher", "UltraHigh"};

struct TextureRow {
    const char* name;
    const char* label;
    const char* key;
};
const TextureRow Textures[] = {
    {"pickInterface", "Texture detail interface", "TextureDetailInterface"},
    {"pickTerrain", "Texture detail terrain", "TextureDetailTerrain"},
    {"pickWeaponskin", "Texture detail weaponskin", "TextureDetailWeaponSkin"},
    {"pickplayerskin", "Texture detail playerskin", "TextureDetailPlayerSkin"},
    {"pickworld", "Texture detail world", "TextureDetailWorld"},
    {"pickrendermap", "Texture detail rendermap", "TextureDetailRenderMap"},
    {"picklightmap", "Texture detail lightmap", "TextureDetailLightmap"},
};

// The groups of settings on the page.
enum Group { GeneralGroup = 1, TextureGroup, Display, SoundGroup, Direct3dGroup, OpenGLGroup };

// The check boxes, group after group in the order they are read and written,
// with the value each quality preset gives them ("1" ticked, "0" not). An
// empty section is the viewport-manager section.
struct BoxRow {
    Group group;
    const char* name;
    const char* caption;
    const char* section;
    const char* key;
    bool missing;
    const char* low;
    const char* high;
    Sense sense = Sense::Direct;
};
const char* const Sound = "ALAudio.ALAudioSubsystem";
const BoxRow Boxes[] = {
    {Display, "cbScrnFlash", "Screen flashes", "", "ScreenFlashes", true, "0", "1"},
    {Display, "cbLighting", "Lighting", "", "NoLighting", true, "0", "1", Sense::Inverted},
    {Display, "cbDecals", "Decals", "", "Decals", true, "0", "1"},
    {Display, "cbCoronas", "Coronas", "", "Coronas", true, "0", "1"},
    {Display, "cbDeco", "Decolayers", "", "DecoLayers", true, "0", "1"},
    {Display, "cbProjectors", "Projectors", "", "Projectors", true, "0", "1"},
    {Display, "cbDynamicLights", "Dynamic lights", "", "NoDynamicLights", true, "0", "1", Sense::Inverted},
    {SoundGroup, "cbEAX", "Use EAX", Sound, "UseEAX", false, "0", "1"},
    {SoundGroup, "cb3dsound", "Use 3D Sound", Sound, "Use3DSound", false, "0", "1"},
    {SoundGroup, "cbDefaultDriver", "Use default driver", Sound, "UseDefaultDriver", true, "1", "1"},
    {SoundGroup, "cbPrecache", "Precache", Sound, "UsePrecache", true, "1", "1"},
    {SoundGroup, "cbRevStereo", "Reverse Stereo", Sound, "ReverseStereo", false, "0", "0"},
    {SoundGroup, "cbLowquality", "Low quality sound", Sound, "LowQualitySound", false, "1", "0"},
    {SoundGroup, "cbDisPitch", "Disable pitch", Sound, "DisablePitch", false, "0", "1"},
    {Direct3dGroup, "cbDetailText", "Detail textures", Direct3dDevice, "DetailTextures", true, "0", "1"},
    {Direct3dGroup, "cbHighDetailActors", "High detail actors", Direct3dDevice, "HighDetailActors", true, "0", "1"},
    {Direct3dGroup, "cbSuperHighDetailActors", "Super high detail actors", Direct3dDevice, "SuperHighDetailActors",
     true, "0", "1"},
    {Direct3dGroup, "cbPrecaching", "Use precaching", Direct3dDevice, "UsePrecaching", true, "1", "1"},
    {Direct3dGroup, "cbTrilinear", "Use trilinear", Direct3dDevice, "UseTrilinear", true, "0", "1"},
    {Direct3dGroup, "cbMouseLag", "Reduce mouse lag", Direct3dDevice, "ReduceMouseLag", true, "0", "0"},
    {Direct3dGroup, "cbTripleBuffering", "Use triple buffering", Direct3dDevice, "UseTripleBuffering", false, "0", "0"},
    {Direct3dGroup, "cbCubemaps", "Use cubemaps", Direct3dDevice, "UseCubemaps", true, "0", "0"},
    {Direct3dGroup, "cbCompressedLightmaps", "Use compressed lightmaps", Direct3dDevice, "UseCompressedLightmaps", true,
     "1", "0"},
    {Direct3dGroup, "cbUse16Bit", "Use 16Bit", Direct3dDevice, "Use16bit", false, "1", "1"},
    {Direct3dGroup, "cb16bittextures", "Use 16Bit Textures", Direct3dDevice, "Use16bitTextures", false, "1", "1"},
    {Direct3dGroup, "cbVSync", "Use VSync", Direct3dDevice, "UseVSync", false, "0", "0"},
    {OpenGLGroup, "cbOpenDetailTex", "Detail textures", OpenGLDevice, "DetailTextures", true, "0", "1"},
    {OpenGLGroup, "cbOpenHighDetailactors", "High detail actors", OpenGLDevice, "HighDetailActors", true, "0", "1"},
    {OpenGLGroup, "cbOpenSuperhighdetailactors", "Super high detail actors", OpenGLDevice, "SuperHighDetailActors",
     true, "0", "1"},
    {OpenGLGroup, "cbOpenPrecaching", "Use precaching", OpenGLDevice, "UsePrecaching", true, "1", "1"},
    {OpenGLGroup, "cbOpenTrilinear", "Use trilinear", OpenGLDevice, "UseTrilinear", true, "0", "1"},
    {OpenGLGroup, "cbOpenCompressedLightmaps", "Use compressed lightmaps", OpenGLDevice, "UseCompressedLightmaps", true,
     "1", "0"},
    {OpenGLGroup, "cbOpenMouseLag", "Reduce mouse lag", OpenGLDevice, "ReduceMouseLag", false, "0", "0"},
};
const QString PurgeCacheHint = QStringLiteral("This is the number of days the files keep in the cache.\n"
                                              "After that time has passed the cache directory will be cleared, \n"
                                              "and all the downloaded files that were in the cache have to be "
                                              "redownload\n"
                                              "Recommended value: 9999");
const QString CacheSizeHint = QStringLiteral("Recommended values:\n"
                                             "if your PC has 64Mb of RAM change it to 32 \n"
                                             "if 96Mb change it to 64 \n"
                                             "if 128Mb change it to 96 \n"
                                             "if 192Mb change it to 160 \n"
                                             "if 256Mb change it to 224 \n"
                                             "if 384Mb change it to 256");

// The page holds many groups side by side: narrow margins keep it within the window.
const QMargins GroupMargins(6, 4, 6, 4);

// A row's label and control on line `line` of `grid`.
void addLabelled(QGridLayout* grid, int line, const Row& row)
{
    auto* label = new QLabel(row.label, grid->parentWidget());
    label->setBuddy(row.control);
    grid->addWidget(label, line, 0);
    grid->addWidget(row.control, line, 1);
}

QString sliderText(const char* caption, const QSlider* slider, const char* defaultText)
{
    return QStringLiteral("%1: %2 (Default = %3)")
        .arg(QLatin1String(caption), pointText(slider->value() / 100.0, 2), QLatin1String(defaultText));
}

} // namespace

GameSettingsPage::GameSettingsPage(const PageContext& context, QWidget* parent)
    : SettingsPage(context.rt, parent)
    , m_rt(context.rt)
{
    setObjectName(QStringLiteral("GameSettingsPage"));
    setRows(settings());

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setHorizontalSpacing(4);
    layout->setVerticalSpacing(4);

    auto* left = new QVBoxLayout;
    left->setSpacing(4);
    left->addWidget(buildGeneral());
    left->addWidget(buildScreen());
    left->addStretch(1);
    layout->addLayout(left, 0, 0);

    auto* middle = new QVBoxLayout;
    middle->setSpacing(4);
    middle->addWidget(buildTextures());
    auto* effects = new QHBoxLayout;
    effects->setSpacing(4);
    effects->addWidget(buildBoxes("groupDisplay", "Display", Display));
    effects->addWidget(buildBoxes("groupSound", "Sound", SoundGroup));
    middle->addLayout(effects);
    middle->addStretch(1);
    layout->addLayout(middle, 0, 1);

    // The two device groups share one place; each keeps its size while hidden
    // so that switching devices moves nothing else on the page.
    groupDirect3d = buildBoxes("groupDirect3d", "Direct3d Display Settings", Direct3dGroup);
    groupOpenGL = buildBoxes("groupOpenGL", "OpengGL Display Settings", OpenGLGroup);
    for (QGroupBox* group : {groupDirect3d, groupOpenGL}) {
        QSizePolicy policy = group->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        group->setSizePolicy(policy);
        layout->addWidget(group, 0, 2, Qt::AlignTop);
    }
    layout->setColumnStretch(2, 1);

    Guard::connect(tbBright, &QSlider::valueChanged, this, &GameSettingsPage::tbBrightChange);
    Guard::connect(tbContrast, &QSlider::valueChanged, this, &GameSettingsPage::tbContrastChange);
    Guard::connect(tbGamma, &QSlider::valueChanged, this, &GameSettingsPage::tbGammaChange);
    // A device selected by the program (a load, a preset) shows its group as a click does.
    Guard::connect(rbDirect3d, &QRadioButton::toggled, this, &GameSettingsPage::rbDirect3dClick);
    Guard::connect(rbOpenGL, &QRadioButton::toggled, this, &GameSettingsPage::rbOpenGLClick);
}

GameSettingsPage::~GameSettingsPage() = default;

std::vector<Row> GameSettingsPage::settings()
{
    const File Viewport = File::Viewport;
    const File Game = File::Game;
    const Compare Later = Compare::OnceLoaded;
    // A number kept as text, in a field beside its label.
    const auto field = [](QLineEdit*& edit, const char* name, File file, std::string section, const char* key,
                          const char* missing, const char* label) {
        edit = named(new QLineEdit, name);
        return text(edit, file, std::move(section), key, missing)
            .writingAsciiDigits()
            .compared(Compare::OnceLoaded)
            .labelled(label);
    };
    // A slider of the screen group, its position the value times 100.
    const auto slider = [](QSlider*& control, const char* name, int maximum, const char* key, double missing) {
        control = named(new QSlider(Qt::Horizontal), name);
        control->setRange(0, maximum);
        control->setTickPosition(QSlider::TicksBelow);
        control->setTickInterval(10);
        control->setPageStep(10);
        return number(control, File::Viewport, {}, key, missing, 100, 2).compared(Compare::OnceLoaded);
    };
    // The settings in the order the page reads and writes them.
    std::vector<Row> rows{
        field(edtPCache, "edtPCache", Game, "Core.System", "PurgeCacheDays", "30", "Purge cache in")
            .inGroup(GeneralGroup),
        field(edtCacheSize, "edtCacheSize", Game, "Engine.GameEngine", "CacheSizeMegs", "32", "Engine cache size")
            .inGroup(GeneralGroup),
        field(edtFPS, "edtFPS", Viewport, {}, "MinDesiredFrameRate", "35", "Minimal desired fps")
            .inGroup(GeneralGroup)
            .presets("0", "0"),
        field(edtNetspeed, "edtNetspeed", Game, "Engine.Player", "ConfiguredInternetSpeed", "2600", "Internetspeed")
            .inGroup(GeneralGroup),
        slider(tbBright, "tbBright", 100, "Brightness", 0.8).then([this](const QVariant&) { tbBrightChange(); }),
        slider(tbContrast, "tbContrast", 100, "Contrast", 0.7).then([this](const QVariant&) { tbContrastChange(); }),
        slider(tbGamma, "tbGamma", 250, "Gamma", 0.8).then([this](const QVariant&) { tbGammaChange(); }),
        screenResolution().presets("640x480", "1024x768"),
    };
    const std::vector<std::string> words(std::begin(TextureWords), std::end(TextureWords));
    for (const TextureRow& t : Textures) {
        auto* pick = named(new QComboBox, t.name);
        for (const char* word : TextureWords)
            pick->addItem(QLatin1String(word));
        pick->setCurrentIndex(-1);
        rows.push_back(choice(pick, Viewport, {}, t.key, words, "normal")
                           .compared(Later)
                           .inGroup(TextureGroup)
                           .labelled(t.label)
                           .presets("Low", "UltraHigh"));
    }
    rbDirect3d = named(new QRadioButton(QStringLiteral("Direct3d")), "rbDirect3d");
    rbOpenGL = named(new QRadioButton(QStringLiteral("OpenGL")), "rbOpenGL");
    rows.push_back(choice({{rbDirect3d, Direct3dDevice}, {rbOpenGL, OpenGLDevice}}, Game, EngineSection, "RenderDevice",
                          "d3ddrv.d3drenderdevice")
                       .presets("OpenGL", "Direct3d"));
    for (const Group group : {Display, SoundGroup, Direct3dGroup, OpenGLGroup}) {
        for (const BoxRow& b : Boxes)
            if (b.group == group)
                rows.push_back(flag(named(new QCheckBox(QLatin1String(b.caption)), b.name),
                                    *b.section ? Game : Viewport, b.section, b.key, b.missing, b.sense)
                                   .inGroup(group)
                                   .presets(QLatin1String(b.low), QLatin1String(b.high)));
        if (group == Direct3dGroup)
            rows.push_back(field(edtRefreshrate, "edtRefreshrate", Game, Direct3dDevice, "DesiredRefreshRate", "60",
                                 "Desired refreshrate")
                               .inGroup(Direct3dGroup)
                               .presets("0", "0"));
    }
    edtRefreshrate->setMaximumWidth(50);
    return rows;
}

QWidget* GameSettingsPage::buildGeneral()
{
    auto* group = named(new QGroupBox(QStringLiteral("General"), this), "groupGeneral");
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(GroupMargins);
    grid->setVerticalSpacing(4);
    int line = 0;
    for (const Row& row : table().rows()) {
        if (row.group != GeneralGroup) continue;
        row.control->setFixedWidth(70);
        addLabelled(grid, line++, row);
    }
    grid->addWidget(new QLabel(QStringLiteral("Days"), group), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("MB ram"), group), 1, 2);
    grid->setColumnStretch(2, 1);
    edtPCache->setToolTip(PurgeCacheHint);
    edtCacheSize->setToolTip(CacheSizeHint);
    return group;
}

QWidget* GameSettingsPage::buildScreen()
{
    auto* group = named(new QGroupBox(QStringLiteral("Screen"), this), "groupScreen");
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(GroupMargins);
    column->setSpacing(2);

    column->addWidget(new QLabel(QStringLiteral("Screen mode:"), group));
    auto* mode = new QHBoxLayout;
    mode->addWidget(rbDirect3d);
    mode->addWidget(rbOpenGL);
    mode->addStretch(1);
    column->addLayout(mode);

    column->addSpacing(4);
    auto* resolution = new QLabel(QStringLiteral("Screen resolution:"), group);
    resolution->setBuddy(pickScreenmode);
    column->addWidget(resolution);
    column->addWidget(pickScreenmode);

    struct SliderLabel {
        QSlider* GameSettingsPage::*slider;
        QLabel* GameSettingsPage::*label;
        const char* name;
        const char* caption;
    };
    static const SliderLabel sliders[] = {
        {&GameSettingsPage::tbBright, &GameSettingsPage::lblBright, "lblBright", "Brightness"},
        {&GameSettingsPage::tbContrast, &GameSettingsPage::lblContrast, "lblContrast", "Contrast"},
        {&GameSettingsPage::tbGamma, &GameSettingsPage::lblGamme, "lblGamme", "Gamma"},
    };
    for (const SliderLabel& s : sliders) {
        QLabel* label = named(new QLabel(QLatin1String(s.caption), group), s.name);
        label->setBuddy(this->*s.slider);
        this->*s.label = label;
        column->addSpacing(4);
        column->addWidget(label);
        column->addWidget(this->*s.slider);
    }
    return group;
}

QWidget* GameSettingsPage::buildTextures()
{
    auto* group = named(new QGroupBox(QStringLiteral("Texture details"), this), "groupTextures");
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(GroupMargins);
    grid->setVerticalSpacing(3);
    int line = 0;
    for (const Row& row : table().rows()) {
        if (row.group == TextureGroup) addLabelled(grid, line++, row);
    }
    grid->setRowStretch(line, 1);
    return group;
}

QGroupBox* GameSettingsPage::buildBoxes(const char* name, const char* caption, int group)
{
    auto* box = named(new QGroupBox(QLatin1String(caption), this), name);
    auto* column = new QVBoxLayout(box);
    column->setSpacing(1);
    column->setContentsMargins(GroupMargins);
    for (const Row& row : table().rows()) {
        if (row.group != group) continue;
        if (row.form == Form::Flag) {
            column->addWidget(row.control);
            continue;
        }
        // A field of the group: after its boxes, beside its label.
        auto* line = new QHBoxLayout;
        auto* label = new QLabel(row.label, box);
        label->setBuddy(row.control);
        line->addWidget(label);
        line->addWidget(row.control);
        line->addStretch(1);
        column->addLayout(line);
    }
    column->addStretch(1);
    return box;
}

Row GameSettingsPage::screenResolution()
{
    pickScreenmode = named(new QComboBox, "pickScreenmode");
    pickScreenmode->setMaxVisibleItems(20);
    fillResolutions(std::nullopt); // no resolution shown before the first load
    pickScreenmode->installEventFilter(this);
    // The stored width and height choose their item, one of its own when no
    // offered mode is that size. An item writes both sizes; no item writes nothing.
    Custom resolution{
        [this](const RunTime& rt) {
            const TCustomIniFile& ini = profile(File::Viewport, rt);
            fillResolutions(ScreenModes::Mode{ini.ReadInteger(rt.ViewportManagerClass, "FullscreenViewportX", 640),
                                              ini.ReadInteger(rt.ViewportManagerClass, "FullscreenViewportY", 480)});
        },
        [this](const RunTime& rt, std::vector<KeyWrite>& out) {
            const std::optional<ScreenModes::Mode> mode = ScreenModes::parse(pickScreenmode->currentText());
            if (!mode) return;
            out.push_back(
                {File::Viewport, rt.ViewportManagerClass, "FullscreenViewportX", std::to_string(mode->width)});
            out.push_back(
                {File::Viewport, rt.ViewportManagerClass, "FullscreenViewportY", std::to_string(mode->height)});
        },
        [this] { return pickScreenmode->currentText(); },
    };
    return custom(pickScreenmode, File::Viewport, {}, "FullscreenViewportX", std::move(resolution),
                  Compare::OnceLoaded);
}

void GameSettingsPage::fillResolutions(std::optional<ScreenModes::Mode> stored)
{
    std::vector<ScreenModes::Mode> more = ScreenModes::desktopScreens();
    if (stored) more.push_back(*stored);
    pickScreenmode->clear();
    for (const ScreenModes::Mode& mode : ScreenModes::offered(more))
        pickScreenmode->addItem(ScreenModes::text(mode));
    pickScreenmode->setCurrentIndex(stored ? pickScreenmode->findText(ScreenModes::text(*stored)) : -1);
}

void GameSettingsPage::tbBrightChange() { lblBright->setText(sliderText("Brightness", tbBright, "0.80")); }

void GameSettingsPage::tbContrastChange() { lblContrast->setText(sliderText("Contrast", tbContrast, "0.70")); }

void GameSettingsPage::tbGammaChange() { lblGamme->setText(sliderText("Gamma", tbGamma, "0.80")); }

void GameSettingsPage::rbDirect3dClick()
{
    groupDirect3d->setVisible(rbDirect3d->isChecked());
    groupOpenGL->setVisible(!rbDirect3d->isChecked());
}

void GameSettingsPage::rbOpenGLClick()
{
    groupOpenGL->setVisible(rbOpenGL->isChecked());
    groupDirect3d->setVisible(!rbOpenGL->isChecked());
}

bool GameSettingsPage::pickScreenmodeKeyPress(QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    // A character is dropped; keys that move the focus or the choice are not characters.
    const QString typed = static_cast<QKeyEvent*>(event)->text();
    return !typed.isEmpty() && typed.at(0).isPrint();
}

bool GameSettingsPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pickScreenmode && pickScreenmodeKeyPress(event)) return true;
    return SettingsPage::eventFilter(watched, event);
}
