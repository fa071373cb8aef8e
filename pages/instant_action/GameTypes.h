#pragma once

#include <array>

// The five game types of the game's instant-action menu, in the order of the
// page's game-type list, and the eight bot skills of its difficulty list.
namespace GameTypes {

struct GameType {
    const char* item;      // the list's text
    const char* className; // the section of its rules in UT2003.ini, and the game started
    const char* group;     // objectName of its rules group
    const char* caption;   // the rules group's caption
    const char* mapFilter; // maps whose file name holds this are listed
};

inline constexpr std::array<GameType, 5> All = {{
    {"Deathmatch", "XGame.xDeathMatch", "dmGroup", "Deathmatch", "DM"},
    {"Team Deathmatch", "XGame.xTeamGame", "tdmGroup", "Team Deathmatch", "DM"},
    {"Capture the flag", "XGame.xCTFGame", "ctfGroup", "Capture the flag", "CTF"},
    {"Double Domination", "XGame.xDoubleDom", "ddGroup", "Double Domination", "DOM"},
    {"Bombingrun", "XGame.xBombingRun", "brGroup", "Bombing run", "BR"},
}};

inline constexpr std::array<const char*, 8> Difficulties = {
    "Novice", "Average", "Experienced", "Skilled", "Adept", "Masterfull", "Inhuman", "Godlike",
};

} // namespace GameTypes
