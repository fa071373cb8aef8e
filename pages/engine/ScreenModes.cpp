#include "pages/engine/ScreenModes.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <tuple>

namespace ScreenModes {

namespace {

// The game's own modes, then the widescreen and high-resolution ones that
// today's screens have.
const Mode Fixed[] = {
    {640, 480},   {800, 600},   {1024, 768},  {1280, 1024}, {1600, 1200}, {1280, 720},
    {1280, 800},  {1366, 768},  {1440, 900},  {1600, 900},  {1680, 1050}, {1920, 1080},
    {1920, 1200}, {2560, 1080}, {2560, 1440}, {3440, 1440}, {3840, 2160},
};

} // namespace

std::vector<Mode> offered(const std::vector<Mode>& more)
{
    std::vector<Mode> modes(std::begin(Fixed), std::end(Fixed));
    modes.insert(modes.end(), more.begin(), more.end());
    const auto order = [](const Mode& a, const Mode& b) {
        return std::tie(a.width, a.height) < std::tie(b.width, b.height);
    };
    std::sort(modes.begin(), modes.end(), order);
    modes.erase(std::unique(modes.begin(), modes.end()), modes.end());
    return modes;
}

std::vector<Mode> desktopScreens()
{
    std::vector<Mode> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        // The screen's own pixels, not the scaled ones a desktop lays windows out in.
        const QSize pixels = screen->size() * screen->devicePixelRatio();
        if (!pixels.isEmpty()) screens.push_back({pixels.width(), pixels.height()});
    }
    return screens;
}

QString text(Mode mode) { return QStringLiteral("%1x%2").arg(mode.width).arg(mode.height); }

std::optional<Mode> parse(const QString& text)
{
    const QStringList sides = text.split(QLatin1Char('x'));
    if (sides.size() != 2) return std::nullopt;
    bool wide = false, high = false;
    const Mode mode{sides[0].toInt(&wide), sides[1].toInt(&high)};
    if (!wide || !high) return std::nullopt;
    return mode;
}

} // namespace ScreenModes
