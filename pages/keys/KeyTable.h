#pragma once

#include <array>
#include <cstddef>
#include <span>

// The keys of the "Key binds" page: which entry of section Engine.Input each
// field shows, in the order the profile is read and written, and where the
// field stands on the page.

inline constexpr const char* InputSection = "Engine.Input";

enum class KeyGroup { Alpha, Number, Function, Numeric, Other, Joystick };

struct KeyGroupInfo {
    KeyGroup group;
    const char* caption;
    const char* clearButton; // the small clear button at the group's top right
    const char* clearHint;
};

// One bindable key. `writeKey` is set where the entry is written under
// another spelling than it is read (the game matches keys without case, so
// both name the same entry; the spelling only shows when a save adds it).
struct KeyRow {
    KeyGroup group;
    const char* key;
    const char* field;
    const char* label;
    int column; // position of the field in its group: column, then line
    int line;
    const char* writeKey = nullptr;

    const char* savedKey() const { return writeKey ? writeKey : key; }
};

// Fields of a group that no profile entry backs (the joystick sliders): shown,
// compared and cleared, never read or written.
struct UnboundField {
    KeyGroup group;
    const char* field;
    const char* label;
    int column;
    int line;
};

inline constexpr std::size_t KeyRowCount = 130;

std::span<const KeyRow, KeyRowCount> keyTable();
std::span<const UnboundField> unboundFields();
std::span<const KeyGroupInfo> keyGroups();
const KeyGroupInfo& keyGroupInfo(KeyGroup group);
