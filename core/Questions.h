#pragma once

#include <QString>

#include <vector>

// What an operation under the window has to tell the user: a message of a
// kind (its title and icon), shown with OK.
struct Notice {
    enum class Kind { Information, Warning, Error };
    Kind kind = Kind::Information;
    QString text;
};

// How an operation ended: whether it did what it was asked, and what the user
// is to be told of it, in order. The window shows the notices; the operation
// shows nothing itself.
struct Outcome {
    bool done = false;
    std::vector<Notice> notices;

    static Outcome success(QString text = {})
    {
        Outcome o{true, {}};
        if (!text.isEmpty()) o.notices.push_back({Notice::Kind::Information, std::move(text)});
        return o;
    }
    static Outcome failure(Notice::Kind kind, QString text)
    {
        return {false, {{kind, std::move(text)}}};
    }
    // Not done, nothing to say (the user said No).
    static Outcome cancelled() { return {}; }
};

// Where an operation must ask the user before it goes on (whether to write a
// backup, whether to go on without one) or tell something in its midst: the
// window answers through its message boxes, a test through its script.
class Questions {
public:
    enum class Kind { Confirm, Warning }; // the box's kind; the buttons are Yes and No

    virtual ~Questions() = default;
    virtual bool ask(Kind kind, const QString& text) = 0;
    virtual void tell(const Notice& notice) = 0;

    bool confirm(const QString& text) { return ask(Kind::Confirm, text); }
};
