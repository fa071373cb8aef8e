#pragma once

#include "pages/SettingsPage.h"
#include "pages/keys/KeyTable.h"

struct RunTime;
class FreeBindingBox;

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

    // Fill the key fields from the profile, then take a new snapshot; a
    // failure shows "Error occured:..." and keeps the old snapshot.
    bool LoadKeyBinds() { return load(); }
    bool KeyBindsChanged() const { return changed(); }

    // The clear buttons: empty every field of one group. Nothing is written.
    void clearGroup(KeyGroup group);

    FreeBindingBox* freeBinding() const { return m_freeBinding; }

protected:
    // Without a user file open both fail: "No user file is open".
    void loadPage() override;
    void savePage(Binding::Writes& out) const override;

private:
    const RunTime& m_rt;
    FreeBindingBox* m_freeBinding = nullptr;
};
