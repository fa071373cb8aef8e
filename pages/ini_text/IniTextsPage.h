#pragma once

#include "pages/PageContext.h"
#include "pages/SettingsPage.h"

#include <QString>

#include <string>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The page captioned "Inifiles": the user file and UT2003.ini side by side as
// raw text, to change what no other page offers. The editors are filled from
// disk; text typed into them counts as an edit (a reload would drop it), and
// is written by the page's own Save or, with the other pages' keys on top of
// it, by a Save of every page.
class IniTextsPage : public SettingsPage {
    Q_OBJECT
public:
    explicit IniTextsPage(const PageContext& context, QWidget* parent = nullptr);

    // Fills both editors from the profile files on disk and names the user
    // file above its editor. A file that cannot be read raises "Cannot open
    // file <path>"; both editors are emptied then, and a save refuses to
    // write until a load succeeds.
    bool LoadIniTexts();
    // Asks, writes both editors over the files they were loaded from (after
    // the question about files changed on disk since) and has the other
    // pages follow the files; false when the user said No. A file that
    // cannot be written raises "Cannot create file <path>" and both files
    // stay as they were.
    bool SaveIniTexts();
    bool IniTextsChanged() const { return false; }
    // Text typed into an editor since the last load: an edit that a reload
    // would drop.
    bool textsEdited() const;

    // Handlers.
    void btnSaveInisClick() { SaveIniTexts(); }
    void btnReloadInisClick();
    void cbWordWrapChange();
    // Ctrl+F in an editor: asks for a text and selects its first occurrence.
    // True when the key was the search key (it then does not reach the editor).
    bool editorKeyDown(QPlainTextEdit* editor, const QKeyEvent& key);

    bool load() override { return LoadIniTexts(); }
    // Writes both editors, without a question: the caller asked. False, with
    // the failure shown, when they could not be written.
    bool save() override;
    bool changed() const override { return IniTextsChanged(); }
    bool hasUnsavedEdits() const override { return textsEdited(); }
    bool editsWholeFiles() const override { return true; }
    std::optional<std::map<ProfileFile, std::string>> editedFiles() const override;

    QLabel* lblUserIni;
    QPlainTextEdit* reUser;
    QLabel* lblUT2003ini;
    QPlainTextEdit* reUt2003;
    QPushButton* btnSaveInis;
    QPushButton* btnReloadInis;
    QCheckBox* cbWordWrap;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The raw text has no rows: no key of it goes into a Save of the pages.
    void loadPage() override { LoadIniTexts(); }
    void savePage(Binding::Writes&) const override {}
    // The files as the editors hold them; throws when there are none or a
    // text cannot be stored.
    std::map<ProfileFile, std::string> files() const;
    // Writes the editors over the files and loads them again; throws.
    void writeTexts();

private:
    std::string userPath() const;
    std::string gamePath() const;
    void search(QPlainTextEdit* editor);

    PageContext m_context;
    // The files the editors hold; empty while a load failed.
    std::string m_userFile;
    std::string m_gameFile;
    std::string m_loadFailure; // why the editors hold no files
    // The editors' text as loaded.
    QString m_loadedUser;
    QString m_loadedGame;
};
