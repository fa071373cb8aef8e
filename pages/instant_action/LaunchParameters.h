#pragma once

#include <QString>
#include <QStringList>

// The start parameters of the game: the map and the game's options in its
// own URL form, such as
// DM-Alpha.ut2?game=XGame.xCTFGame?NumBots=4?Translocator=False?Difficulty=3.
// The game reads its numbers in ASCII digits only, whatever the user's locale
// shows in the page's fields.
struct LaunchChoice {
    QString map;       // without extension; empty when no map is chosen
    int gameType = -1; // index in GameTypes::All; another value adds no game
    int bots = 0;
    bool translocator = false;
    int difficulty = -1;  // 0 "Novice" to 7 "Godlike", -1 for a typed text that is no skill
    QStringList mutators; // names without "Mut", in list order
};

QString launchParameters(const LaunchChoice& choice);
