#include "pages/engine/GameSettingsPage.h"

#include "dialogs/Guard.h"
#include "pages/PageContext.h"
#include "pages/RunTime.h"
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

struct Resolution {
    int fromWidth, toWidth; // the stored widths that choose this item
    const char* item;
    int width, height; // what a save writes
};
const Resolution Resolutions[] = {
    {0, 720, "640x480", 640, 480},         {721, 912, "800x600", 800, 600},       {913, 1152, "1024x768", 1024, 768},
    {1153, 1440, "1280x1024", 1280, 1024}, {1441, 1800, "1600x1200", 1600, 1200},
};

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

// The check boxes, group after group in the order they are read and written.
// An empty section is the viewport-manager section.
struct BoxRow {
    const char* name;
    const char* caption;
    const char* section;
    const char* key;
    bool missing;
    Sense sense = Sense::Direct;
};
const char* const Sound = "ALAudio.ALAudioSubsystem";
const BoxRow Boxes[] = {
    // Display
    {"cbScrnFlash", "Screen flashes", "", "ScreenFlashes", true},
    {"cbLighting", "Lighting", "", "NoLighting", true, Sense::Inverted},
    {"cbDecals", "Decals", "", "Decals", true},
    {"cbCoronas", "Coronas", "", "Coronas", true},
    {"cbDeco", "Decolayers", "", "DecoLayers", true},
    {"cbProjectors", "Projectors", "", "Projectors", true},
    {"cbDynamicLights", "Dynamic lights", "", "NoDynamicLights", true, Sense::Inverted},
    // Sound
    {"cbEAX", "Use EAX", Sound, "UseEAX", false},
    {"cb3dsound", "Use 3D Sound", Sound, "Use3DSound", false},
    {"cbDefaultDriver", "Use default driver", Sound, "UseDefaultDriver", true},
    {"cbPrecache", "Precache", Sound, "UsePrecache", true},
    {"cbRevStereo", "Reverse Stereo", Sound, "ReverseStereo", false},
    {"cbLowquality", "Low quality sound", Sound, "LowQualitySound", false},
    {"cbDisPitch", "Disable pitch", Sound, "DisablePitch", false},
    // Direct3D
    {"cbDetailText", "Detail textures", Direct3dDevice, "DetailTextures", true},
    {"cbHighDetailActors", "High detail actors", Direct3dDevice, "HighDetailActors", true},
    {"cbSuperHighDetailActors", "Super high detail actors", Direct3dDevice, "SuperHighDetailActors", true},
    {"cbPrecaching", "Use precaching", Direct3dDevice, "UsePrecaching", true},
    {"cbTrilinear", "Use trilinear", Direct3dDevice, "UseTrilinear", true},
    {"cbMouseLag", "Reduce mouse lag", Direct3dDevice, "ReduceMouseLag", true},
    {"cbTripleBuffering", "Use triple buffering", Direct3dDevice, "UseTripleBuffering", false},
    {"cbCubemaps", "Use cubemaps", Direct3dDevice, "UseCubemaps", true},
    {"cbCompressedLightmaps", "Use compressed lightmaps", Direct3dDevice, "UseCompressedLightmaps", true},
    {"cbUse16Bit", "Use 16Bit", Direct3dDevice, "Use16bit", false},
    {"cb16bittextures", "Use 16Bit Textures", Direct3dDevice, "Use16bitTextures", false},
    {"cbVSync", "Use VSync", Direct3dDevice, "UseVSync", false},
    // OpenGL
    {"cbOpenDetailTex", "Detail textures", OpenGLDevice, "DetailTextures", true},
    {"cbOpenHighDetailactors", "High detail actors", OpenGLDevice, "HighDetailActors", true},
    {"cbOpenSuperhighdetailactors", "Super high detail actors", OpenGLDevice, "SuperHighDetailActors", true},
    {"cbOpenPrecaching", "Use precaching", OpenGLDevice, "UsePrecaching", true},
    {"cbOpenTrilinear", "Use trilinear", OpenGLDevice, "UseTrilinear", true},
    {"cbOpenCompressedLightmaps", "Use compressed lightmaps", OpenGLDevice, "UseCompressedLightmaps", true},
    {"cbOpenMouseLag", "Reduce mouse lag", OpenGLDevice, "ReduceMouseLag", false},
};
// Where each group starts in Boxes and how many boxes it has.
constexpr int DisplayFirst = 0, SoundFirst = 7, Direct3dFirst = 14, OpenGLFirst = 26, GroupSize = 7, Direct3dSize = 12;

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

template <class T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QString sliderText(const char* caption, const QSlider* slider, const char* defaultText)
{
    return QStringLiteral("%1: %2 (Default = %3)")
        .arg(QLatin1String(caption), pointText(slider->value() / 100.0, 2), QLatin1String(defaultText));
}

} // namespace

GameSettingsPage::GameSettingsPage(const PageContext& context, QWidget* parent)
    : SettingsPage(parent)
    , m_rt(context.rt)
{
    setObjectName(QStringLiteral("GameSettingsPage"));
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
    effects->addWidget(buildBoxes("groupDisplay", "Display", DisplayFirst, GroupSize));
    effects->addWidget(buildBoxes("groupSound", "Sound", SoundFirst, GroupSize));
    middle->addLayout(effects);
    middle->addStretch(1);
    layout->addLayout(middle, 0, 1);

    // The two device groups share one place; each keeps its size while hidden
    // so that switching devices moves nothing else on the page.
    groupDirect3d = buildBoxes("groupDirect3d", "Direct3d Display Settings", Direct3dFirst, Direct3dSize);
    edtRefreshrate = named(new QLineEdit(groupDirect3d), "edtRefreshrate");
    edtRefreshrate->setMaximumWidth(50);
    auto* refresh = new QHBoxLayout;
    auto* refreshLabel = new QLabel(QStringLiteral("Desired refreshrate"), groupDirect3d);
    refreshLabel->setBuddy(edtRefreshrate);
    refresh->addWidget(refreshLabel);
    refresh->addWidget(edtRefreshrate);
    refresh->addStretch(1);
    static_cast<QVBoxLayout*>(groupDirect3d->layout())->insertLayout(Direct3dSize, refresh);
    groupOpenGL = buildBoxes("groupOpenGL", "OpengGL Display Settings", OpenGLFirst, GroupSize);
    for (QGroupBox* group : {groupDirect3d, groupOpenGL}) {
        QSizePolicy policy = group->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        group->setSizePolicy(policy);
        layout->addWidget(group, 0, 2, Qt::AlignTop);
    }
    layout->setColumnStretch(2, 1);

    const File Viewport = File::Viewport;
    const File Game = File::Game;
    const Compare Later = Compare::OnceLoaded;
    std::vector<Row> rows{
        text(edtPCache, Game, "Core.System", "PurgeCacheDays", "30").writingAsciiDigits().compared(Later),
        text(edtCacheSize, Game, "Engine.GameEngine", "CacheSizeMegs", "32").writingAsciiDigits().compared(Later),
        text(edtFPS, Viewport, {}, "MinDesiredFrameRate", "35").writingAsciiDigits().compared(Later),
        text(edtNetspeed, Game, "Engine.Player", "ConfiguredInternetSpeed", "2600")
            .writingAsciiDigits()
            .compared(Later),
        number(tbBright, Viewport, {}, "Brightness", 0.8, 100, 2).compared(Later),
        number(tbContrast, Viewport, {}, "Contrast", 0.7, 100, 2).compared(Later),
        number(tbGamma, Viewport, {}, "Gamma", 0.8, 100, 2).compared(Later),
        // The resolution and the device map their items to keys of their own
        // (readScreenResolution, readRenderDevice); the rows keep them in the
        // snapshot. Only the OpenGL choice counts as a change.
        text(pickScreenmode, Viewport, {}, {}).compared(Later),
        flag(rbOpenGL, Game, EngineSection, {}, false),
        flag(rbDirect3d, Game, EngineSection, {}, true).compared(Compare::Never),
    };
    for (std::size_t i = 0; i < std::size(Textures); ++i)
        rows.push_back(text(m_textures[i], Viewport, {}, Textures[i].key, "normal").compared(Later));
    for (std::size_t i = 0; i < std::size(Boxes); ++i) {
        const BoxRow& b = Boxes[i];
        auto* box = findChild<QCheckBox*>(QLatin1String(b.name));
        const bool viewport = *b.section == '\0';
        rows.push_back(flag(box, viewport ? Viewport : Game, b.section, b.key, b.missing, b.sense));
        m_options.push_back(box);
        if (static_cast<int>(i) == Direct3dFirst + Direct3dSize - 1) {
            rows.push_back(text(edtRefreshrate, Game, Direct3dDevice, "DesiredRefreshRate", "60")
                               .writingAsciiDigits()
                               .compared(Later));
            m_options.push_back(edtRefreshrate);
        }
    }
    m_table = std::make_unique<Table>(m_rt, std::move(rows));

    Guard::connect(tbBright, &QSlider::valueChanged, this, &GameSettingsPage::tbBrightChange);
    Guard::connect(tbContrast, &QSlider::valueChanged, this, &GameSettingsPage::tbContrastChange);
    Guard::connect(tbGamma, &QSlider::valueChanged, this, &GameSettingsPage::tbGammaChange);
    // A device selected by the program (a load, a preset) shows its group as a click does.
    Guard::connect(rbDirect3d, &QRadioButton::toggled, this, &GameSettingsPage::rbDirect3dClick);
    Guard::connect(rbOpenGL, &QRadioButton::toggled, this, &GameSettingsPage::rbOpenGLClick);
    pickScreenmode->installEventFilter(this);
}

GameSettingsPage::~GameSettingsPage() = default;

QWidget* GameSettingsPage::buildGeneral()
{
    auto* group = named(new QGroupBox(QStringLiteral("General"), this), "groupGeneral");
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(GroupMargins);
    grid->setVerticalSpacing(4);
    struct Field {
        QLineEdit* GameSettingsPage::*member;
        const char* name;
        const char* caption;
        const char* unit;
    };
    static const Field fields[] = {
        {&GameSettingsPage::edtPCache, "edtPCache", "Purge cache in", "Days"},
        {&GameSettingsPage::edtCacheSize, "edtCacheSize", "Engine cache size", "MB ram"},
        {&GameSettingsPage::edtFPS, "edtFPS", "Minimal desired fps", ""},
        {&GameSettingsPage::edtNetspeed, "edtNetspeed", "Internetspeed", ""},
    };
    int line = 0;
    for (const Field& f : fields) {
        QLineEdit* edit = named(new QLineEdit(group), f.name);
        edit->setFixedWidth(70);
        this->*f.member = edit;
        auto* label = new QLabel(QLatin1String(f.caption), group);
        label->setBuddy(edit);
        grid->addWidget(label, line, 0);
        grid->addWidget(edit, line, 1);
        if (*f.unit) grid->addWidget(new QLabel(QLatin1String(f.unit), group), line, 2);
        ++line;
    }
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

    rbDirect3d = named(new QRadioButton(QStringLiteral("Direct3d"), group), "rbDirect3d");
    rbOpenGL = named(new QRadioButton(QStringLiteral("OpenGL"), group), "rbOpenGL");
    column->addWidget(new QLabel(QStringLiteral("Screen mode:"), group));
    auto* mode = new QHBoxLayout;
    mode->addWidget(rbDirect3d);
    mode->addWidget(rbOpenGL);
    mode->addStretch(1);
    column->addLayout(mode);

    pickScreenmode = named(new QComboBox(group), "pickScreenmode");
    for (const Resolution& r : Resolutions)
        pickScreenmode->addItem(QLatin1String(r.item));
    pickScreenmode->setCurrentIndex(-1); // no resolution shown before the first load
    column->addSpacing(4);
    auto* resolution = new QLabel(QStringLiteral("Screen resolution:"), group);
    resolution->setBuddy(pickScreenmode);
    column->addWidget(resolution);
    column->addWidget(pickScreenmode);

    struct SliderRow {
        QSlider* GameSettingsPage::*slider;
        QLabel* GameSettingsPage::*label;
        const char* sliderName;
        const char* labelName;
        const char* caption;
        int maximum;
    };
    static const SliderRow sliders[] = {
        {&GameSettingsPage::tbBright, &GameSettingsPage::lblBright, "tbBright", "lblBright", "Brightness", 100},
        {&GameSettingsPage::tbContrast, &GameSettingsPage::lblContrast, "tbContrast", "lblContrast", "Contrast", 100},
        {&GameSettingsPage::tbGamma, &GameSettingsPage::lblGamme, "tbGamma", "lblGamme", "Gamma", 250},
    };
    for (const SliderRow& s : sliders) {
        QLabel* label = named(new QLabel(QLatin1String(s.caption), group), s.labelName);
        auto* slider = named(new QSlider(Qt::Horizontal, group), s.sliderName);
        slider->setRange(0, s.maximum);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(10);
        slider->setPageStep(10);
        label->setBuddy(slider);
        this->*s.label = label;
        this->*s.slider = slider;
        column->addSpacing(4);
        column->addWidget(label);
        column->addWidget(slider);
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
    for (const TextureRow& t : Textures) {
        auto* pick = named(new QComboBox(group), t.name);
        for (const char* word : TextureWords)
            pick->addItem(QLatin1String(word));
        pick->setCurrentIndex(-1);
        m_textures.push_back(pick);
        auto* label = new QLabel(QLatin1String(t.label), group);
        label->setBuddy(pick);
        grid->addWidget(label, line, 0);
        grid->addWidget(pick, line, 1);
        ++line;
    }
    grid->setRowStretch(line, 1);
    return group;
}

QGroupBox* GameSettingsPage::buildBoxes(const char* name, const char* caption, int first, int count)
{
    auto* group = named(new QGroupBox(QLatin1String(caption), this), name);
    auto* column = new QVBoxLayout(group);
    column->setSpacing(1);
    column->setContentsMargins(GroupMargins);
    for (int i = first; i < first + count; ++i)
        column->addWidget(named(new QCheckBox(QLatin1String(Boxes[i].caption), group), Boxes[i].name));
    column->addStretch(1);
    return group;
}

bool GameSettingsPage::LoadGameSettings()
{
    try {
        m_table->read({edtPCache, edtCacheSize, edtFPS, edtNetspeed});
        m_table->read(tbBright);
        tbBrightChange();
        m_table->read(tbContrast);
        tbContrastChange();
        m_table->read(tbGamma);
        tbGammaChange();
        readScreenResolution();
        for (QComboBox* pick : m_textures)
            ReadTextureDetail(pick, m_table->row(pick).key);
        readRenderDevice();
        for (const QWidget* option : m_options)
            m_table->read(option);
    } catch (const std::exception& failure) {
        Guard::showFailure(failure);
        return false;
    }
    m_table->takeSnapshot();
    return true;
}

bool GameSettingsPage::SaveGameSettings()
{
    try {
        // Every text is checked before the first key is written, so a value
        // the game's file cannot hold leaves it untouched.
        for (const Row& row : m_table->rows())
            if (!row.key.empty()) stored(row);
        m_table->write({edtPCache, edtCacheSize, edtFPS, edtNetspeed, tbBright, tbContrast, tbGamma});
        writeScreenResolution();
        for (const QComboBox* pick : m_textures)
            WriteTextureDetail(pick, m_table->row(pick).key);
        writeRenderDevice();
        for (const QWidget* option : m_options)
            m_table->write(option);
    } catch (const std::exception& failure) {
        Guard::showFailure(failure);
        return false;
    }
    m_table->takeSnapshot();
    return true;
}

bool GameSettingsPage::GameSettingsChanged() const { return m_table->changed(); }

void GameSettingsPage::ReadTextureDetail(QComboBox* pick, const std::string& key)
{
    const std::string sec = m_rt.ViewportManagerClass;
    const QString word = fromProfile(profile(File::Viewport, m_rt).ReadString(sec, key, "normal")).toLower();
    for (int i = 0; i < static_cast<int>(std::size(TextureWords)); ++i)
        if (word == QString::fromLatin1(TextureWords[i]).toLower()) {
            pick->setCurrentIndex(i);
            return;
        }
}

void GameSettingsPage::WriteTextureDetail(const QComboBox* pick, const std::string& key)
{
    const int index = pick->findText(pick->currentText(), Qt::MatchFixedString);
    if (index < 0 || index >= static_cast<int>(std::size(TextureWords))) return;
    profile(File::Viewport, m_rt).WriteString(m_rt.ViewportManagerClass, key, TextureWords[index]);
}

void GameSettingsPage::readScreenResolution()
{
    // The width alone chooses the item; a width outside every range leaves
    // the list as it was.
    const int width = profile(File::Viewport, m_rt).ReadInteger(m_rt.ViewportManagerClass, "FullscreenViewportX", 640);
    for (int i = 0; i < static_cast<int>(std::size(Resolutions)); ++i)
        if (width >= Resolutions[i].fromWidth && width <= Resolutions[i].toWidth) {
            pickScreenmode->setCurrentIndex(i);
            return;
        }
}

void GameSettingsPage::writeScreenResolution()
{
    const int index = pickScreenmode->findText(pickScreenmode->currentText(), Qt::MatchFixedString);
    if (index < 0) return; // the list shows no resolution: the file keeps its own
    TCustomIniFile& ini = profile(File::Viewport, m_rt);
    ini.WriteInteger(m_rt.ViewportManagerClass, "FullscreenViewportX", Resolutions[index].width);
    ini.WriteInteger(m_rt.ViewportManagerClass, "FullscreenViewportY", Resolutions[index].height);
}

void GameSettingsPage::readRenderDevice()
{
    const QString device =
        fromProfile(profile(File::Game, m_rt).ReadString(EngineSection, "RenderDevice", "d3ddrv.d3drenderdevice"))
            .toLower();
    // Another device (the null device, a renderer of a mod) leaves the choice as it was.
    if (device == QString::fromLatin1(Direct3dDevice).toLower())
        rbDirect3d->setChecked(true);
    else if (device == QString::fromLatin1(OpenGLDevice).toLower())
        rbOpenGL->setChecked(true);
}

void GameSettingsPage::writeRenderDevice()
{
    TCustomIniFile& ini = profile(File::Game, m_rt);
    if (rbDirect3d->isChecked())
        ini.WriteString(EngineSection, "RenderDevice", Direct3dDevice);
    else if (rbOpenGL->isChecked())
        ini.WriteString(EngineSection, "RenderDevice", OpenGLDevice);
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
