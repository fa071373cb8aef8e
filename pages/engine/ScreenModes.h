#pragma once

#include <QString>

#include <optional>
#include <vector>

// The screen resolutions the "UT2k3 Settings" page offers, shown and chosen
// as texts such as "1366x768": the game's own 4:3 and 5:4 modes, today's
// widescreen and high-resolution modes, and the size of each screen of the
// desktop.
namespace ScreenModes {

struct Mode {
    int width = 0;
    int height = 0;
    friend bool operator==(const Mode&, const Mode&) = default;
};

// The fixed modes and `more`, each once, narrowest first (then lowest).
std::vector<Mode> offered(const std::vector<Mode>& more);
// The size in pixels of each screen of the desktop.
std::vector<Mode> desktopScreens();
QString text(Mode mode);
// The mode a text such as "1366x768" names; nothing for any other text.
std::optional<Mode> parse(const QString& text);

} // namespace ScreenModes
