#pragma once

#include "core/Questions.h"

// The window's side of the operations under it: what they ask is asked, and
// what they tell is told, through the program's message boxes.
class BoxQuestions : public Questions {
public:
    bool ask(Kind kind, const QString& text) override;
    void tell(const Notice& notice) override;
};

// The questions of every operation started from a window.
Questions& boxQuestions();

// Shows the notices of an outcome in order; returns whether it was done.
bool tellOutcome(const Outcome& outcome);
