#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

// What the update check shows the user: its messages and its progress
// window. The main window's side implements it over the program's message
// boxes and progress window (UpdateDialogs); the update itself needs no
// window.
class UpdatePrompts {
public:
    virtual ~UpdatePrompts() = default;

    // A box with an OK button.
    virtual void information(const QString& text) = 0;
    virtual void error(const QString& text) = 0;

    // Opens the progress window over the main window, in place of one that
    // is open; its Cancel button calls `onCancel`.
    virtual void openProgress(const QString& caption, std::function<void()> onCancel) = 0;
    // Shows a position of `maximum` under `caption` in the progress window,
    // while it is open and not hidden behind a box.
    virtual void showProgress(const QString& caption, qint64 position, qint64 maximum) = 0;
    // From here on there is nothing to cancel.
    virtual void withdrawCancel() = 0;
    virtual void closeProgress() = 0;

    // While the returned object lives, user input reaches none of the
    // program's windows but a box shown meanwhile and the progress window's
    // Cancel button: the check lets the event loop run.
    class InputBlock {
    public:
        virtual ~InputBlock() = default;
    };
    virtual std::unique_ptr<InputBlock> blockInput() = 0;
};
