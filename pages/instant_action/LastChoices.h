#pragma once

#include "pages/Binding.h"

#include <QString>

#include <vector>

class QComboBox;
class QListWidget;
class TCustomIniFile;

// What the game's own instant-action menu remembers in UT2003.ini beside the
// bot count and the translocator: the bot skill, the game type and the map.
// Each has a read into its control and the keys a save writes from it.
namespace LastChoices {

inline constexpr const char* Section = "xInterface.Tab_InstantActionMain";

// LastBotSkill 1 to 8 picks the skill one lower; 0 clears the list's text;
// any other value leaves the list as it was.
void readBotSkill(const TCustomIniFile& game, QComboBox* pickDiff);
// The skill's position + 1: 1 to 8, 0 for a typed text that is no skill.
void writeBotSkill(const QComboBox* pickDiff, std::vector<Binding::KeyWrite>& out);

// The game type LastGameType names (in any letter case), -1 for none.
int storedGameType(const TCustomIniFile& game);
// The class name of the chosen game type; nothing for a typed text that is none.
void writeGameType(const QComboBox* pickGameType, std::vector<Binding::KeyWrite>& out);

// Makes the map LastMap names (in any letter case), or else the first one,
// the current and selected map of the list, scrolled into view.
void readMap(const TCustomIniFile& game, QListWidget* lbMaps);
// Writes the chosen map. With no map chosen LastMap keeps what it holds; so
// does it for a name the file cannot store.
void writeMap(const QString& map, std::vector<Binding::KeyWrite>& out);
// What a save leaves undone for `map`, for the user after the Save: a name
// the file cannot store (empty otherwise).
QString mapNotice(const QString& map);

} // namespace LastChoices
