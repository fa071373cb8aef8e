#include "pages/instant_action/LaunchParameters.h"

#include "pages/instant_action/GameTypes.h"

QString launchParameters(const LaunchChoice& choice)
{
    QString text = choice.map + QStringLiteral(".ut2");
    if (choice.gameType >= 0 && choice.gameType < int(GameTypes::All.size()))
        text += QStringLiteral("?game=") + QLatin1String(GameTypes::All[std::size_t(choice.gameType)].className);
    text += QStringLiteral("?NumBots=") + QString::number(choice.bots);
    text += choice.translocator ? QStringLiteral("?Translocator=True") : QStringLiteral("?Translocator=False");
    text += QStringLiteral("?Difficulty=") + QString::number(choice.difficulty);
    for (qsizetype i = 0; i < choice.mutators.size(); ++i)
        text += (i == 0 ? QStringLiteral("?Mutator=XGame.Mut") : QStringLiteral(",XGame.Mut")) + choice.mutators[i];
    return text;
}
