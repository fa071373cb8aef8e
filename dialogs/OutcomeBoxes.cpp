#include "dialogs/OutcomeBoxes.h"

#include "dialogs/MessageBox.h"

namespace {

MessageBox::Kind boxKind(Notice::Kind kind)
{
    switch (kind) {
    case Notice::Kind::Warning:
        return MessageBox::Kind::Warning;
    case Notice::Kind::Error:
        return MessageBox::Kind::Error;
    case Notice::Kind::Information:
        break;
    }
    return MessageBox::Kind::Information;
}

} // namespace

bool BoxQuestions::ask(Kind kind, const QString& text)
{
    const MessageBox::Kind box = kind == Kind::Warning ? MessageBox::Kind::Warning : MessageBox::Kind::Confirm;
    return MessageBox::show(box, text, MessageBox::Buttons::YesNo) == MessageBox::Answer::Yes;
}

void BoxQuestions::tell(const Notice& notice) { MessageBox::show(boxKind(notice.kind), notice.text, MessageBox::Buttons::Ok); }

Questions& boxQuestions()
{
    static BoxQuestions questions;
    return questions;
}

bool tellOutcome(const Outcome& outcome)
{
    for (const Notice& notice : outcome.notices)
        boxQuestions().tell(notice);
    return outcome.done;
}
