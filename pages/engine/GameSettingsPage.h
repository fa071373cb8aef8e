#pragma once

#include "pages/Binding.h"
#include "pages/SettingsPage.h"
#include "pages/engine/ScreenModes.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;
struct PageContext;
struct RunTime;

// The page captioned "UT2k3 Settings": engine, display and sound settings of
// UT2003.ini (cache and network values, render device and its options, screen
// resolution, brightness, contrast and gamma, texture details, display effects
// and sound options).
class GameSettingsPage : public SettingsPage {
    Q_OBJECT
public:
    explicit GameSettingsPage(const PageContext& context, QWidget* parent = nullptr);
    ~GameSettingsPage() override;

    // Fill every control from UT2003.ini, then take the snapshot. On a
    // failure: "Error occured:..." shown, false, the old snapshot kept.
    bool LoadGameSettings() { return load(); }
    // Write the keys of the controls changed since the last load or save,
    // then take the snapshot.
    bool SaveGameSettings() { return save(); }
    // The check boxes and the render device always count; sliders, fields and
    // pick lists once every page has been loaded.
    bool GameSettingsChanged() const { return changed(); }

    void tbBrightChange();
    void tbContrastChange();
    void tbGammaChange();
    // Show the option group of the selected device and hide the other.
    void rbDirect3dClick();
    void rbOpenGLClick();
    // Typed characters never reach the resolution list: it is chosen from.
    bool pickScreenmodeKeyPress(QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void loadPage() override;
    void savePage(Binding::Writes& out) const override;

private:
    QWidget* buildGeneral();
    QWidget* buildScreen();
    QWidget* buildTextures();
    QGroupBox* buildBoxes(const char* name, const char* caption, int group);
    // The resolution list: an item chosen by the stored width and height,
    // written as width and height.
    Binding::Row screenResolution();
    // Lists the offered modes and `stored` (when it is none of them), and
    // shows `stored` (nothing: no item).
    void fillResolutions(std::optional<ScreenModes::Mode> stored);

    const RunTime& m_rt;

    QLineEdit* edtPCache = nullptr;
    QLineEdit* edtCacheSize = nullptr;
    QLineEdit* edtFPS = nullptr;
    QLineEdit* edtNetspeed = nullptr;
    QRadioButton* rbDirect3d = nullptr;
    QRadioButton* rbOpenGL = nullptr;
    QComboBox* pickScreenmode = nullptr;
    QSlider* tbBright = nullptr;
    QSlider* tbContrast = nullptr;
    QSlider* tbGamma = nullptr;
    QLabel* lblBright = nullptr;
    QLabel* lblContrast = nullptr;
    QLabel* lblGamme = nullptr;
    QGroupBox* groupDirect3d = nullptr;
    QGroupBox* groupOpenGL = nullptr;
    QLineEdit* edtRefreshrate = nullptr;

    std::vector<QComboBox*> m_textures; // in the order they are read and written
    std::vector<QWidget*> m_options;    // Display, Sound, Direct3D (with the refresh rate), OpenGL
};
