#pragma once

class QWidget;

// While an InputBlocker lives, user input (mouse, keys, wheel, shortcuts, a
// window's close box) reaches none of the program's windows, except a dialog
// or message box opened in the meantime: a Save, a load or the start-up that
// lets pending events run (to paint its progress window) cannot be
// interrupted by a second command or by closing the window.
class InputBlocker {
public:
    InputBlocker();
    ~InputBlocker();
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

    static bool active();
    // Lets input reach `widget` while input is blocked: a progress window's Cancel button.
    static void exempt(QWidget* widget);
};
