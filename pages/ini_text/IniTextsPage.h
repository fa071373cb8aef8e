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
// raw text, to change what no other page offers. The editors are filled only
// from disk and written only by SaveIniTexts; the page has no changed test.
class IniTextsPage : public SettingsPage {
    Q_OBJECT
public:
    explicit IniTextsPage(const PageContext& context, QWidget* parent = nullptr);

    // Fills both editors from the profile files on disk and names the user
    // file above its editor. A file that cannot be read raises "Cannot open
    // file <path>"; both editors are emptied then, and a save refuses to
    // write until a load succeeds.
    bool LoadIniTexts();
    // Asks, writes both editors over the files they were loaded from and
    // reloads every page; false when the user said No. A file changed on disk
    // since it was loaded is written over only after the main window's
    // question (`askOverOutside` false: the caller asked it already). A file
    // that cannot be written raises "Cannot create file <path>" and both
    // files stay as they were.
    bool SaveIniTexts(bool askOverOutside = true);
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
    // The main window's Save on this page, which has asked about files
    // changed outside already.
    bool save() override { return SaveIniTexts(false); }
    bool changed() const override { return IniTextsChanged(); }

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
