#include "pages/instant_action/LastChoices.h"

#include "pages/instant_action/GameTypes.h"
#include "pages/instant_action/InstantActionPage.h"
#include "pages/instant_action/MapSources.h"
#include "platform/CodePage.h"
#include "profile/IniFiles.h"

#include <QComboBox>
#include <QListWidget>

#include <optional>

namespace LastChoices {

void readBotSkill(const TCustomIniFile& game, QComboBox* pickDiff)
{
    const int skill = game.ReadInteger(Section, "LastBotSkill", 1);
    if (skill >= 1 && skill <= int(GameTypes::Difficulties.size())) {
        pickDiff->setCurrentIndex(skill - 1);
    } else if (skill == 0) {
        pickDiff->setCurrentIndex(-1);
        pickDiff->setEditText(QString());
    }
}

void writeBotSkill(const QComboBox* pickDiff, std::vector<Binding::KeyWrite>& out)
{
    out.push_back(
        {Binding::File::Game, Section, "LastBotSkill", std::to_string(InstantActionPage::pickIndex(pickDiff) + 1)});
}

int storedGameType(const TCustomIniFile& game)
{
    const QString stored =
        MapSources::upperAscii(platform::fromCodePage(game.ReadString(Section, "LastGameType", "XGame.xDeathMatch")));
    for (std::size_t i = 0; i < GameTypes::All.size(); ++i)
        if (stored == MapSources::upperAscii(QLatin1String(GameTypes::All[i].className))) return int(i);
    return -1;
}

void writeGameType(const QComboBox* pickGameType, std::vector<Binding::KeyWrite>& out)
{
    const int type = InstantActionPage::pickIndex(pickGameType);
    if (type >= 0)
        out.push_back({Binding::File::Game, Section, "LastGameType", GameTypes::All[std::size_t(type)].className});
}

void readMap(const TCustomIniFile& game, QListWidget* lbMaps)
{
    if (lbMaps->count() == 0) return;
    const QString stored = platform::fromCodePage(game.ReadString(Section, "LastMap", ""));
    const QList<QListWidgetItem*> found = lbMaps->findItems(stored, Qt::MatchFixedString);
    QListWidgetItem* map = found.isEmpty() ? lbMaps->item(0) : found.first();
    lbMaps->setCurrentItem(map);
    map->setSelected(true);
    lbMaps->scrollToItem(map);
}

void writeMap(const QString& map, std::vector<Binding::KeyWrite>& out)
{
    if (map.isEmpty()) return;
    if (const std::optional<std::string> name = platform::toCodePage(map))
        out.push_back({Binding::File::Game, Section, "LastMap", *name});
}

QString mapNotice(const QString& map)
{
    if (map.isEmpty() || platform::toCodePage(map)) return {};
    return QStringLiteral("The map %1 has not been remembered as the last map: UT2003.ini cannot store the "
                          "letters of its name.\nEvery other setting has been saved.")
        .arg(map);
}

} // namespace LastChoices
