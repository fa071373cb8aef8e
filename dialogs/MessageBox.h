#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <vector>

class QWidget;

// Every message box of the program goes through here. A box has a kind (its
// title and icon) and a fixed button set, and returns the button pressed.
// Tests script the answers: each box shown is checked against the next
// expected one and recorded; an unexpected box fails the test.
namespace MessageBox {

enum class Kind { Information, Warning, Error, Confirm };
enum class Buttons { Ok, YesNo, OkCancel };
enum class Answer { Ok, Cancel, Yes, No };

Answer show(Kind kind, const QString& text, Buttons buttons, QWidget* parent = nullptr);

// Shorthands for the common boxes.
inline void information(const QString& text) { show(Kind::Information, text, Buttons::Ok); }
inline void warning(const QString& text) { show(Kind::Warning, text, Buttons::Ok); }
inline void error(const QString& text) { show(Kind::Error, text, Buttons::Ok); }
inline bool confirm(const QString& text) { return show(Kind::Confirm, text, Buttons::YesNo) == Answer::Yes; }

QString kindTitle(Kind kind);

// --- test seam -----------------------------------------------------------
struct Shown {
    Kind kind;
    QString text;
    Buttons buttons;
};
struct Expected {
    Kind kind;
    QString text; // compared exactly; empty matches any text
    Buttons buttons;
    Answer answer;
};

// Installs a script: while installed, no real box is shown. A box that does
// not match the next expectation (or comes when none is left) is recorded
// and reported through the failure handler, and answered with the button set's
// "negative" button (No or Cancel; OK for a single button).
void startScript(std::function<void(const QString& failure)> onFailure);
void expect(const Expected& expected);
// Boxes beyond the expected ones are answered Yes or OK and recorded, not
// reported (for runs whose questions depend on where a failure strikes).
void agreeToEveryOtherBox();
const std::vector<Shown>& shown();
int pendingExpectations();
void stopScript();

} // namespace MessageBox
