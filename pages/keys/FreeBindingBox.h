#pragma once

#include <QGroupBox>

#include <functional>

struct RunTime;
class QLineEdit;
class QPushButton;

// The "Define own key" group of the key binds page: press a key in the
// capture field, see the command the user profile binds to it, type a new one
// and store it at once. The field names carry "NoCheck" so that the key
// page's change test leaves them out.
class FreeBindingBox : public QGroupBox {
public:
    struct KeyPage {
        std::function<bool()> keyBindsChanged;
        std::function<void()> loadKeyBinds;
    };

    FreeBindingBox(const RunTime& rt, KeyPage keyPage, QWidget* parent = nullptr);

    // A key with this Windows virtual-key code was released in the capture
    // field: name it (when it has a name) and look up its command.
    void edtCharNoCheckKeyUp(int virtualKey);
    // Writes the command for the captured key. A refused write escapes to the
    // program's general error display.
    void btnSaveClick();

private:
    const RunTime& m_rt;
    KeyPage m_keyPage;
    QLineEdit* m_capture;
    QLineEdit* m_command;
    QPushButton* m_save;
};
