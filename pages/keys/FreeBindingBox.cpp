#include "pages/keys/FreeBindingBox.h"

#include "dialogs/Guard.h"
#include "dialogs/MessageBox.h"
#include "pages/keys/InputProfile.h"
#include "pages/keys/KeyNames.h"
#include "pages/keys/KeyTable.h"
#include "platform/VirtualKeys.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

#include <limits>

namespace {

constexpr const char* NothingCaptured = "..";

// The capture field: keys typed into it never become text; releasing one
// reports its virtual-key code.
class KeyCaptureEdit : public QLineEdit {
public:
    std::function<void(int virtualKey)> onKeyUp;

protected:
    bool event(QEvent* e) override
    {
        // A key the capture can name is taken here rather than by a shortcut
        // of the window (F1 to F3 open help windows), unless Ctrl, Alt or the
        // Windows key make it a shortcut.
        if (e->type() == QEvent::ShortcutOverride) {
            const auto* key = static_cast<QKeyEvent*>(e);
            const bool modified = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            if (!modified && !keyNameOfVirtualKey(platform::virtualKeyOf(*key)).empty()) {
                e->accept();
                return true;
            }
        }
        return QLineEdit::event(e);
    }

    // edtCharNoCheckKeyPress: typed characters are discarded.
    void keyPressEvent(QKeyEvent* e) override { e->accept(); }
    void inputMethodEvent(QInputMethodEvent* e) override { e->accept(); }

    void keyReleaseEvent(QKeyEvent* e) override
    {
        e->accept();
        if (e->isAutoRepeat() || !onKeyUp) return; // a held key is released once
        onKeyUp(platform::virtualKeyOf(*e));
    }
};

} // namespace

FreeBindingBox::FreeBindingBox(const RunTime& rt, KeyPage keyPage, QWidget* parent)
    : QGroupBox(QStringLiteral("Define own key"), parent)
    , m_rt(rt)
    , m_keyPage(std::move(keyPage))
{
    setObjectName(QStringLiteral("grpDefineOwnKey"));

    auto* capture = new KeyCaptureEdit;
    capture->onKeyUp = [this](int code) { edtCharNoCheckKeyUp(code); };
    m_capture = capture;
    m_capture->setObjectName(QStringLiteral("edtCharNoCheck"));
    m_capture->setText(QString::fromLatin1(NothingCaptured));
    m_capture->setAlignment(Qt::AlignCenter);
    m_capture->setMaxLength(std::numeric_limits<int>::max());

    m_command = new QLineEdit;
    m_command->setObjectName(QStringLiteral("edtCommandNoCheck"));
    m_command->setMaxLength(std::numeric_limits<int>::max());

    m_save = new QPushButton(QStringLiteral("Save"));
    m_save->setObjectName(QStringLiteral("btnSave"));
    Guard::connect(m_save, &QPushButton::clicked, this, [this] { btnSaveClick(); });

    auto* layout = new QVBoxLayout(this);
    // Each field above its label, the label naming it.
    const std::pair<const char*, QLineEdit*> fields[] = {{"Press a letter", m_capture},
                                                         {"Current command assigned", m_command}};
    for (const auto& [caption, field] : fields) {
        auto* label = new QLabel(QString::fromLatin1(caption));
        label->setBuddy(field);
        layout->addWidget(label);
        layout->addWidget(field);
    }
    layout->addWidget(m_save, 0, Qt::AlignHCenter);
    layout->addStretch();
}

void FreeBindingBox::edtCharNoCheckKeyUp(int virtualKey)
{
    const std::string name = keyNameOfVirtualKey(virtualKey);
    if (!name.empty()) m_capture->setText(QString::fromLatin1(name));
    // Whatever was released, the command shown is the one of the name in the
    // field: a key without a name re-reads the key captured before it.
    if (!m_rt.UserProfile) return;
    const std::string key = InputProfile::toBytes(m_capture->text());
    m_command->setText(InputProfile::toText(m_rt.UserProfile->ReadString(InputSection, key, "")));
    m_command->setCursorPosition(0);
}

void FreeBindingBox::btnSaveClick()
{
    if (m_capture->text() == QLatin1String(NothingCaptured)) {
        MessageBox::warning(QStringLiteral("You have to select a letter first"));
        return;
    }
    const std::string command = InputProfile::toBytes(m_command->text());
    InputProfile::of(m_rt).WriteString(InputSection, InputProfile::toBytes(m_capture->text()), command);
    m_capture->setFocus();
    if (m_keyPage.keyBindsChanged()) {
        MessageBox::warning(QStringLiteral("There have been some changes in the other keybinds.\n"
                                           "Please Save, or Load first!"));
        return;
    }
    m_keyPage.loadKeyBinds();
}
