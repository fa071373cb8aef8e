#include "dialogs/MessageBox.h"

#include "dialogs/fProgress.h"

#include <QApplication>
#include <QMessageBox>

namespace MessageBox {
namespace {

struct Script {
    bool active = false;
    std::function<void(const QString&)> onFailure;
    std::deque<Expected> expected;
    std::vector<Shown> shown;
    bool agreeToRest = false;
};

Script& script()
{
    static Script s;
    return s;
}

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Information:
        return QStringLiteral("Information");
    case Kind::Warning:
        return QStringLiteral("Warning");
    case Kind::Error:
        return QStringLiteral("Error");
    case Kind::Confirm:
        return QStringLiteral("Confirm");
    }
    return {};
}

QString buttonsName(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return QStringLiteral("OK");
    case Buttons::YesNo:
        return QStringLiteral("Yes/No");
    case Buttons::OkCancel:
        return QStringLiteral("OK/Cancel");
    }
    return {};
}

Answer negativeAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
        return Answer::Cancel;
    }
    return Answer::Ok;
}

bool answerFits(Answer answer, Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return answer == Answer::Ok;
    case Buttons::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case Buttons::OkCancel:
        return answer == Answer::Ok || answer == Answer::Cancel;
    }
    return false;
}

Answer scriptedAnswer(Kind kind, const QString& text, Buttons buttons)
{
    Script& s = script();
    s.shown.push_back({kind, text, buttons});
    const QString seen = QStringLiteral("%1 box [%2] \"%3\"").arg(kindName(kind), buttonsName(buttons), text);
    if (s.expected.empty() && s.agreeToRest) return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    if (s.expected.empty()) {
        if (s.onFailure) s.onFailure(QStringLiteral("unexpected ") + seen);
        return negativeAnswer(buttons);
    }
    const Expected next = s.expected.front();
    s.expected.pop_front();
    if (next.kind != kind || next.buttons != buttons || (!next.text.isEmpty() && next.text != text)) {
        if (s.onFailure)
            s.onFailure(QStringLiteral("expected %1 box [%2] \"%3\", got %4")
                            .arg(kindName(next.kind), buttonsName(next.buttons), next.text, seen));
        return negativeAnswer(buttons);
    }
    if (!answerFits(next.answer, buttons)) {
        if (s.onFailure) s.onFailure(QStringLiteral("scripted answer does not fit ") + seen);
        return negativeAnswer(buttons);
    }
    return next.answer;
}

} // namespace

QString kindTitle(Kind kind) { return kindName(kind); }

Answer show(Kind kind, const QString& text, Buttons buttons, QWidget* parent)
{
    const TfrmProgress::HiddenWhileDialog uncovered;
    if (script().active) return scriptedAnswer(kind, text, buttons);

    if (!parent) parent = QApplication::activeWindow();
    QMessageBox box(parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setWindowTitle(kindTitle(kind));
    // Texts hold file names and descriptions from the game's files: a "<b>"
    // in them is shown as written, never taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (kind) {
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Kind::Confirm:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return negativeAnswer(buttons); // closed with Escape or the close box
    }
}

void startScript(std::function<void(const QString&)> onFailure)
{
    Script& s = script();
    s = Script{};
    s.active = true;
    s.onFailure = std::move(onFailure);
}

void expect(const Expected& expected) { script().expected.push_back(expected); }

void agreeToEveryOtherBox() { script().agreeToRest = true; }

const std::vector<Shown>& shown() { return script().shown; }

int pendingExpectations() { return static_cast<int>(script().expected.size()); }

void stopScript() { script() = Script{}; }

} // namespace MessageBox
