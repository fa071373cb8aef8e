#pragma once

#include "pages/Binding.h"
#include "pages/SettingsPage.h"
#include "pages/engine/ScreenModes.h"

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
// and sound options). Its change test counts the check boxes and the render
// device always; sliders, fields and pick lists once every page has been
// loaded.
class GameSettingsPage : public SettingsPage {
    Q_OBJECT
public:
    explicit GameSettingsPage(const PageContext& context, QWidget* parent = nullptr);
    ~GameSettingsPage() override;

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

private:
    // The page's settings, their controls made, in the order the page reads
    // and writes them.
    std::vector<Binding::Row> settings();
    QWidget* buildGeneral();
    QWidget* buildScreen();
    QWidget* buildTextures();
    QGroupBox* buildBoxes(const char* name, const char* caption, int group);
    // The resolution list (made here): an item chosen by the stored width and
    // height, written as width and height.
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
};
