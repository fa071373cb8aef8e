#include "dialogs/fTaunts.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

#include <initializer_list>

namespace {

struct Speech {
    const char* group;
    int number;
    const char* phrase;
};

// The speech lines in the order the list shows them; a group of nullptr is an
// empty line, one with a negative number a heading.
constexpr Speech Speeches[] = {
    {"Ack", 0, "Affirmative"},
    {"Ack", 1, "Got it"},
    {"Ack", 2, "I'm on it"},
    {"Ack", 3, "Roger that"},
    {"friendlyfire", 0, "Same team!"},
    {"friendlyfire", 1, "I'm on your team, you idiot!"},
    {"friendlyfire", 2, "Hey! I'm on your side!"},
    {"friendlyfireAbbrev", 1, "I'm on your team!"},
    {"Taunt", 0, "Anyone else want some?"},
    {"Taunt", 1, "Boom!"},
    {"Taunt", 2, "Burn, baby!"},
    {"Taunt", 3, "Die, bitch!"},
    {"Taunt", 4, "Eat that!"},
    {"Taunt", 5, "You like that?"},
    {"Taunt", 6, "Next!"},
    {"Taunt", 7, "Ownage!"},
    {"Taunt", 8, "Sucker!"},
    {"Taunt", 9, "Try turning the safety off"},
    {"Taunt", 10, "Yeehaw!"},
    {"Taunt", 11, "Loser!"},
    {"Taunt", 12, "Oh yeah!"},
    {"Taunt", 13, "Booyah!"},
    {"Taunt", 14, "Hit the showers!"},
    {"Taunt", 15, "I've seen better"},
    {"Taunt", 16, "Is that all you've got?"},
    {"Taunt", 17, "Eat my dust!"},
    {"Taunt", 18, "Rest in pieces!"},
    {"Taunt", 19, "Wanna piece of me?"},
    {"Taunt", 20, "You suck!"},
    {"Taunt", 21, "Go back to the kiddie pool"},
    {"Taunt", 22, "That had to hurt!"},
    {"Taunt", 23, "My house!"},
    {"Taunt", 24, "Thanks for the frag"},
    {"Taunt", 25, "Damn, I'm good!"},
    {"Taunt", 26, "Who's your daddy?"},
    {nullptr, 0, nullptr},
    {"Order", 0, "Defend the base"},
    {"Order", 1, "Hold this position"},
    {"Order", 2, "Assault the base"},
    {"Order", 3, "Cover me"},
    {"Order", 4, "Search and destroy"},
    {"Order", 10, "Take their flag"},
    {"Order", 11, "Defend the flag"},
    {"OrderAbbrev", 0, "Defend"},
    {"OrderAbbrev", 2, "Attack"},
    {nullptr, 0, nullptr},
    {"Other", 0, "Base is uncovered!"},
    {"Other", 1, "Somebody get our flag back!"},
    {"Other", 2, "I've got the flag"},
    {"Other", 3, "I've got your back"},
    {"Other", 4, "I'm hit! I'm hit!"},
    {"Other", 5, "Man down!"},
    {"Other", 6, "I'm under heavy attack!"},
    {"Other", 7, "You got point"},
    {"Other", 8, "I've got our flag"},
    {"Other", 9, "I'm in position %l"},
    {"Other", 10, "Hang on, I'm coming"},
    {"Other", 11, "Area secure"},
    {"Other", 12, "Enemy flag carrier is %l"},
    {"Other", 13, "I need some backup!"},
    {"Other", 14, "Incoming!"},
    {"Other", 15, "Ball carrier is %l"},
    {"Other", 16, "Point Alpha secure"},
    {"Other", 17, "Point Bravo secure"},
    {"Other", 18, "Attack point Alpha"},
    {"Other", 19, "Attack point Bravo"},
    {"Other", 20, "Defending %l"},
    {"Other", 21, "Under attack %l"},
    {"Other", 22, "Enemy spotted %l"},
    {"Other", 23, "Nice!"},
    {"Other", 24, "Medic!"},
    {"Other", 25, "Go go go!"},
    {"Other", 26, "Stay together"},
    {"Other", 27, "Fall back!"},
    {"Other", 28, "Get the ball"},
    {"Other", 29, "Waiting for orders"},
    {"Other", 30, "Shoot the ball carrier"},
    {"Other", 31, "Hold the point"},
    {"Other", 32, "Need a hand here"},
    {"Other", 33, "Sorry"},
    {"OtherAbbrev", 1, "Get our flag back!"},
    {"OtherAbbrev", 2, "Got the flag"},
    {"OtherAbbrev", 3, "Got your back"},
    {"OtherAbbrev", 6, "Under attack!"},
    {"OtherAbbrev", 8, "Got our flag"},
    {"OtherAbbrev", 9, "In position"},
    {"OtherAbbrev", 12, "Get the flag carrier"},
    {"OtherAbbrev", 15, "Get the ball carrier"},
    {nullptr, 0, nullptr},
    {"JuggFemaleVoice", -1, nullptr},
    {"Taunt", 21, "Step aside, weakling"},
    {"Taunt", 22, "Too slow!"},
    {"Taunt", 23, "Crushed!"},
    {"Taunt", 24, "Lights out!"},
    {"Taunt", 25, "Out of my way"},
    {"Taunt", 26, "Who's next?"},
    {"Taunt", 27, "Pathetic"},
    {"Other", 32, "Cover me, I'm going in"},
    {"Other", 33, "Clear the way"},
    {nullptr, 0, nullptr},
    {"NightFemaleVoice", -1, nullptr},
    {"Taunt", 21, "Sweet dreams"},
    {"Taunt", 22, "Fear the night"},
    {"Taunt", 23, "You never saw me"},
    {"Taunt", 24, "Into the dark"},
    {"Taunt", 25, "Silent and deadly"},
    {"Taunt", 26, "Shadows take you"},
    {"Taunt", 27, "So easy"},
    {"Taunt", 28, "Good night"},
    {nullptr, 0, nullptr},
    {"MercFemaleVoice ", -1, nullptr},
    {"Taunt", 21, "Paid in full"},
    {"Taunt", 22, "Another one for the books"},
    {"Taunt", 23, "Nothing personal"},
    {"Taunt", 24, "Business is booming"},
    {"Taunt", 25, "Contract closed"},
    {"Taunt", 26, "Cheap shot, cheap kill"},
    {"Taunt", 27, "Check your wallet"},
    {"Taunt", 28, "That one's on the house"},
    {"Taunt", 29, "Easy money"},
    {"Taunt", 30, "Overtime!"},
    {"Abbrev", 24, "Booming"},
    {"Other", 32, "I need a hand here"},
    {nullptr, 0, nullptr},
    {"AlienFemaleVoice", -1, nullptr},
    {"Taunt", 21, "Inferior species"},
    {"Taunt", 22, "Your kind is weak"},
    {"Taunt", 23, "Specimen collected"},
    {"Taunt", 24, "Primitive"},
    {"Taunt", 25, "Your struggle amuses us"},
    {"Taunt", 26, "Another sample"},
    {"Taunt", 27, "Extinction"},
};

constexpr std::initializer_list<const char*> Instructions = {
    "Copy paste the Taunt Code into the editfield of the key you want to bind!",
    "So all the stuff BEFORE the =",
    "",
    "for example to bind \"Affirmative\" to the Q key",
    "Enter this into the corresponding field with the Q:",
    "speech Ack 0",
    "Then Ingame pressing the Q key will let the character say \"Affirmative\"",
    "",
};

constexpr std::initializer_list<const char*> AnimatedTaunts = {
    "",
    "Animated Taunts:",
    "taunt asssmack = Ass Smack ",
    "taunt gesture_beckon = Beckon ",
    "taunt gesture_cheer = Cheer ",
    "taunt gesture_halt = Halt ",
    "taunt gesture_point = Point ",
    "taunt pthrust = Pelvic Thrust ",
    "taunt throatcut = Throat Cut",
    "taunt specific_1",
};

constexpr std::initializer_list<const char*> TeamSay = {
    "Teamsay:",
    "Variables:",
    "%l - Location",
    "%w - Weapon",
    "%a - Adrenalin",
    "%h - Health",
    "%s - Shield",
    "",
    "Example:",
    "Bind the followig to a key:",
    "TeamSay I am %l with %w having %a with %h and %s shield left",
    "",
    "Gives:",
    "I am near the red rocket launcher (red mesa) with assault rifle having 45 ",
    "adrenaline with 87 health and 50 shield left",
};

void append(QStringList& lines, std::initializer_list<const char*> block)
{
    for (const char* line : block)
        lines << QString::fromLatin1(line);
}

} // namespace

QString TfrmTaunts::TauntText()
{
    QStringList lines;
    append(lines, Instructions);
    lines << QString(35, QLatin1Char('=')) << QStringLiteral("Taunt Code = \"Taunt saying\"") << QString();
    const int count = static_cast<int>(std::size(Speeches));
    for (int i = 0; i < count; ++i) {
        const Speech& s = Speeches[i];
        if (!s.group) {
            lines << QString();
        } else if (s.number < 0) {
            lines << QString::fromLatin1(s.group);
        } else {
            // Every speech line but the last of its block ends in a blank.
            const bool last = i + 1 == count || !Speeches[i + 1].group;
            lines << QStringLiteral("speech %1 %2 = \"%3\"%4")
                         .arg(QLatin1String(s.group))
                         .arg(s.number)
                         .arg(QLatin1String(s.phrase), last ? QString() : QStringLiteral(" "));
        }
    }
    append(lines, AnimatedTaunts);
    lines << QString() << QString(40, QLatin1Char('=')) << QString();
    append(lines, TeamSay);
    return lines.join(QLatin1Char('\n'));
}

TfrmTaunts::TfrmTaunts(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window)
    , dxMemo1(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("TfrmTaunts"));
    setWindowTitle(QStringLiteral("TauntList"));
    dxMemo1->setAccessibleName(windowTitle()); // the window's only text
    dxMemo1->setObjectName(QStringLiteral("dxMemo1"));
    dxMemo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: black; color: white; }"));
    dxMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    dxMemo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    dxMemo1->setPlainText(TauntText());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dxMemo1);
    setFixedSize(520, 560);
    if (mainWindow) {
        QRect r(QPoint(), size());
        r.moveCenter(mainWindow->frameGeometry().center());
        move(r.topLeft());
    }
}

TfrmTaunts* TfrmTaunts::showNew(QWidget* mainWindow)
{
    auto* taunts = new TfrmTaunts(mainWindow);
    taunts->setAttribute(Qt::WA_DeleteOnClose);
    taunts->show();
    return taunts;
}
