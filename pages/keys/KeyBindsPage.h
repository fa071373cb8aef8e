#pragma once

#include "pages/SettingsPage.h"
#include "pages/keys/KeyTable.h"

#include <QString>

#include <memory>
#include <vector>

struct RunTime;
class FreeBindingBox;
class QLineEdit;

// The page captioned "Key binds": one field per bindable key with the command
// that section Engine.Input of the user profile binds to it, a clear button
// per group, and the "Define own key" group (FreeBindingBox).
//
// Compared fields: the 130 key fields and the two joystick slider fields, in
// key table order with the sliders last; the snapshot holds their texts as
// they stood after the last successful load or save.
class KeyBindsPage : public SettingsPage {
public:
    explicit KeyBindsPage(const RunTime& rt, QWidget* parent = nullptr);
    ~KeyBindsPage() override;

    // Fill the key fields from the profile / write them to it, then take a
    // new snapshot. A failure shows "Error occured:..." and keeps the old
    // snapshot; the result is false then.
    bool LoadKeyBinds() { return load(); }
    bool SaveKeyBinds() { return save(); }
    bool KeyBindsChanged() const { return changed(); }

    // The clear buttons: empty every field of one group. Nothing is written.
    void clearGroup(KeyGroup group);
    void SpeedButton1Click() { clearGroup(KeyGroup::Alpha); }
    void SpeedButton2Click() { clearGroup(KeyGroup::Numeric); }
    void SpeedButton3Click() { clearGroup(KeyGroup::Number); }
    void SpeedButton4Click() { clearGroup(KeyGroup::Function); }
    void SpeedButton5Click() { clearGroup(KeyGroup::Other); }
    void SpeedButton6Click() { clearGroup(KeyGroup::Joystick); }

    FreeBindingBox* freeBinding() const { return m_freeBinding; }

protected:
    void loadPage() override;
    void savePage(Binding::Writes& out) const override;

private:
    struct Field {
        KeyGroup group;
        QLineEdit* edit;
    };

    const RunTime& m_rt;
    std::vector<Field> m_fields; // the key fields in key table order, then the unbound fields
    FreeBindingBox* m_freeBinding = nullptr;
};
