// The "Inifiles" page (both profile files as raw text) and the two commands
// that switch to another user file.

#include "app/fMain.h"
#include "dialogs/Guard.h"
#include "pages/ini_text/IniTextsPage.h"
#include "pages/ini_text/SearchInput.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/PageContract.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QString SaveQuestion = "Are you sure you want to save the ini files?";
const QString ReloadQuestion = "Reloading will undo all the changes you made. Are you sure you want to reload?";

// The page on its own over a copy of the demo game; counts the times it has
// the other pages follow the files, or reload.
struct PageFixture {
    OpenDemoGame demo;
    RecordingShell shell;
    int reloads = 0;
    IniTextsPage page{PageContext{demo.rt, shell, {}}};

    PageFixture()
    {
        page.LoadIniTexts();
        for (auto signal : {&SettingsPage::filesReplaced, &SettingsPage::reloadRequested})
            QObject::connect(&page, signal, [this] { ++reloads; });
    }
    QString user() const { return demo.game.userIni(); }
    QString game() const { return demo.game.gameIni(); }
};

// Answers the search box with `text` (or Cancel).
ModalRunner::Handler typeSearch(const QString& text, bool ok = true)
{
    return [=](QDialog& d) {
        auto& input = dynamic_cast<SearchInput&>(d);
        [&] {
            QCOMPARE(input.windowTitle(), QString("Search for"));
            QCOMPARE(input.edtText->maxLength(), 255);
        }();
        input.edtText->setText(text);
        return ok ? int(QDialog::Accepted) : int(QDialog::Rejected);
    };
}

// The real main window on a copy of the demo game.
struct WindowFixture {
    TempGame game;
    TempProgramDir program{configuredProgram(game.systemDir())};
    std::unique_ptr<TfrmMain> main;

    WindowFixture()
    {
        Script quiet;
        main = std::make_unique<TfrmMain>(testEnvironment(program));
    }
    IniTextsPage* raw() const { return static_cast<IniTextsPage*>(main->page(PageId::IniFiles)); }
    void enterRawPage() const { child<QTabWidget>(main.get(), "PageCtrl")->setCurrentIndex(5); }
    QString keyA() const { return child<QLineEdit>(main.get(), "edtA")->text(); }
    QString currentUserIni() const
    {
        return QString::fromStdString(
            TIniFile(program.configPath().toStdString()).ReadString("UT2k3", "CurrentUserIni", ""));
    }
    QString userStatus() const { return child<QLabel>(main.get(), "lblCurrUserIni")->text(); }
};

// Answers a file dialog with `path`, checking how it was set up.
ModalRunner::Handler choose(const QString& path, QFileDialog::AcceptMode mode, const QString& startDir)
{
    return [=](QDialog& d) {
        auto& dialog = dynamic_cast<QFileDialog&>(d);
        [&] {
            QCOMPARE(dialog.acceptMode(), mode);
            QCOMPARE(dialog.nameFilters(), QStringList("Ini files (*.ini)"));
            QCOMPARE(QDir(dialog.directory()).absolutePath() + "/", startDir);
            if (mode == QFileDialog::AcceptOpen)
                QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
            else
                QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
        }();
        dialog.selectFile(path);
        return int(QDialog::Accepted);
    };
}

} // namespace

class TestIniTexts : public QObject {
    Q_OBJECT

private slots:
    void wordWrap()
    {
        PageFixture f;
        // Wrapping starts off, as the box shows, and follows the box.
        for (const bool wrap : {false, true, false}) {
            f.page.cbWordWrap->setChecked(wrap);
            for (QPlainTextEdit* e : {f.page.reUser, f.page.reUt2003})
                QCOMPARE(e->lineWrapMode(), wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        }
    }

    // Saved, a file holds every byte it held except its line breaks, each
    // line followed by CR LF.
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("saved");
        QByteArray bytes;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n') bytes += char(b);
            if (b % 32 == 31) bytes += "\r\n";
        }
        QTest::newRow("every byte") << bytes << bytes;
        QTest::newRow("lone LF") << QByteArray("[A]\nB=1\n") << QByteArray("[A]\r\nB=1\r\n");
        QTest::newRow("lone CR") << QByteArray("[A]\rB=1\r\n") << QByteArray("[A]\r\nB=1\r\n");
        QTest::newRow("no last break") << QByteArray("[A]\r\nB=1") << QByteArray("[A]\r\nB=1\r\n");
        QTest::newRow("blank last line") << QByteArray("[A]\r\n\r\n") << QByteArray("[A]\r\n\r\n");
        QTest::newRow("only a break") << QByteArray("\r\n") << QByteArray("\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void roundTrip()
    {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, saved);
        PageFixture f;
        writeFile(f.game(), file);
        f.page.LoadIniTexts();
        Script s;
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes);
        QVERIFY(f.page.SaveIniTexts());
        QCOMPARE(readFile(f.game()), saved);
        QCOMPARE(f.reloads, 1);
    }

    // The game's real files keep every byte but their line breaks, which
    // all become CR LF.
    void realFilesRoundTrip()
    {
        const QStringList files = QDir(corpusDir()).entryList({"*.ini"}, QDir::Files);
        if (files.isEmpty()) QSKIP("no corpus of real game files");
        const auto withoutBreaks = [](QByteArray bytes) { return bytes.replace('\r', "").replace('\n', ""); };
        for (const QString& name : files) {
            PageFixture f;
            const QByteArray original = readFile(corpusDir() + "/" + name);
            writeFile(f.game(), original);
            f.page.LoadIniTexts();
            Script s;
            s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes);
            f.page.SaveIniTexts();
            const QByteArray saved = readFile(f.game());
            QCOMPARE(withoutBreaks(saved), withoutBreaks(original));
            QCOMPARE(saved.count("\r\n"), saved.count('\n'));
            QCOMPARE(saved.count("\r\n"), original.count('\n') + (original.endsWith('\n') ? 0 : 1));
        }
    }

    // Typed text: a line break typed as a line separator, a non-breaking
    // space.
    void typedText()
    {
        PageFixture f;
        f.page.reUser->setPlainText(QString::fromUtf8("A=\xc2\xa0x\xe2\x80\xa8"
                                                      "B=\xc3\xa9"));
        Script s;
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes);
        f.page.SaveIniTexts();
        QCOMPARE(readFile(f.user()), QByteArray("A=\xa0x\r\nB=\xe9\r\n"));
    }

    void questions()
    {
        PageFixture f;
        const QByteArray user = readFile(f.user());
        f.page.reUser->setPlainText("edited");
        Script s;
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::No);
        f.page.btnSaveInis->click();
        QCOMPARE(readFile(f.user()), user);
        s.box(Kind::Confirm, ReloadQuestion, Buttons::YesNo, Answer::No);
        f.page.btnReloadInis->click();
        QCOMPARE(f.page.reUser->toPlainText(), QString("edited"));
        QCOMPARE(f.reloads, 0);
        s.box(Kind::Confirm, ReloadQuestion, Buttons::YesNo, Answer::Yes);
        s.box(Kind::Information, "The ini files have been reloaded", Buttons::Ok);
        f.page.btnReloadInis->click();
        QVERIFY(f.page.reUser->toPlainText().startsWith("; Demo profile"));
        QCOMPARE(f.reloads, 1);
        QVERIFY(s.allShown());
    }

    // A file that cannot be read empties both editors, and a save then
    // writes nothing.
    void failingRead()
    {
        PageFixture f;
        const QByteArray user = readFile(f.user());
        QFile::remove(f.game());
        const QString error = "Cannot open file " + f.game();
        Script s;
        s.box(Kind::Error, error, Buttons::Ok);
        Guard::run([&] { f.page.LoadIniTexts(); });
        QVERIFY(f.page.reUser->toPlainText().isEmpty());
        QVERIFY(f.page.reUt2003->toPlainText().isEmpty());
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes);
        s.box(Kind::Error, error, Buttons::Ok);
        f.page.btnSaveInis->click();
        QCOMPARE(readFile(f.user()), user);
        QVERIFY(!QFile::exists(f.game()));
        QVERIFY(s.allShown());
    }

    // A file that cannot be written leaves both files as they were.
    void failingWrite_data()
    {
        QTest::addColumn<bool>("userReadOnly");
        QTest::newRow("UT2003.ini") << false;
        QTest::newRow("User.ini") << true;
    }
    void failingWrite()
    {
        QFETCH(bool, userReadOnly);
        PageFixture f;
        const QByteArray user = readFile(f.user()), game = readFile(f.game());
        const QString locked = userReadOnly ? f.user() : f.game();
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        f.page.reUser->appendPlainText("X=1");
        f.page.reUt2003->appendPlainText("Y=2");
        Script s;
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes);
        s.box(Kind::Error, "Cannot create file " + locked + "\nNothing has been changed: the profiles are as they were",
              Buttons::Ok);
        f.page.btnSaveInis->click();
        QCOMPARE(readFile(f.user()), user);
        QCOMPARE(readFile(f.game()), game);
        QCOMPARE(f.reloads, 0);
        QVERIFY(s.allShown());
    }

    void search()
    {
        PageFixture f;
        f.page.show();
        QPlainTextEdit* editor = f.page.reUser;
        const QString text = editor->toPlainText();
        Script s;
        // Each search starts at the top and selects the first "Aliases"
        // (line 11 of the demo file), however the word is spelt.
        for (const QString& typed : {QString("aliases"), QString("ALIASES")}) {
            s.dialog(typeSearch(typed));
            QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
            QCOMPARE(editor->textCursor().selectedText(), QString("Aliases"));
            QCOMPARE(editor->textCursor().block().blockNumber(), 10);
        }
        s.dialog(typeSearch("Nowhere"));
        s.box(Kind::Information, "Nowhere not found", Buttons::Ok);
        QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
        s.dialog(typeSearch("Aliases", false));
        QTest::keyClick(f.page.reUt2003, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(editor->toPlainText(), text);
        // No other modifier starts a search; those keys reach the editor.
        QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(editor, Qt::Key_F, Qt::AltModifier);
        editor->moveCursor(QTextCursor::Start);
        QTest::keyClick(editor, Qt::Key_F);
        QVERIFY(editor->toPlainText().startsWith("f"));
        // Only the first 99999 characters are searched.
        for (const int before : {99993, 99994}) {
            editor->setPlainText(QString(before, 'x') + "needle");
            s.dialog(typeSearch("needle"));
            if (before > 99993) s.box(Kind::Information, "needle not found", Buttons::Ok);
            QTest::keyClick(editor, Qt::Key_F, Qt::ControlModifier);
            QCOMPARE(editor->textCursor().selectionStart(), before > 99993 ? 0 : before);
        }
        QVERIFY(s.allShown());
    }

    // Saving on the page (Ctrl+S asks too) after editing a binding line: the
    // key page shows it and counts as unchanged.
    void saveReloadsEveryPage()
    {
        WindowFixture f;
        f.enterRawPage();
        IniTextsPage* raw = f.raw();
        raw->reUser->setPlainText(raw->reUser->toPlainText().replace("\nA=StrafeLeft\n", "\nA=Jump\n"));
        Script s;
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes);
        s.box(Kind::Information, "The changes has been succesfully saved!", Buttons::Ok);
        child<QAction>(f.main.get(), "Save1")->trigger();
        QCOMPARE(f.keyA(), QString("Jump"));
        QVERIFY(!f.main->AnyPageChanged());
        QVERIFY(s.allShown());
    }

    // Reload drops the edits of every page without a further question.
    void reloadDropsPageEdits()
    {
        WindowFixture f;
        Script s;
        child<QLineEdit>(f.main.get(), "edtA")->setText("Jump");
        s.box(Kind::Confirm, "Do you want to save the changes u made?", Buttons::YesNo, Answer::No);
        s.box(Kind::Confirm, "Do you want to undo changes?", Buttons::YesNo, Answer::No);
        f.enterRawPage();
        s.box(Kind::Confirm, ReloadQuestion, Buttons::YesNo, Answer::Yes);
        s.box(Kind::Information, "The ini files have been reloaded", Buttons::Ok);
        f.raw()->btnReloadInis->click();
        QCOMPARE(f.keyA(), QString("StrafeLeft"));
        QVERIFY(!f.main->AnyPageChanged());
        QVERIFY(s.allShown());
    }

    // The editors show the files as they are on disk when the page is
    // entered and after a Save elsewhere.
    void refreshFromDisk()
    {
        WindowFixture f;
        QFile file(f.game.userIni());
        QVERIFY(file.open(QIODevice::Append));
        file.write("[Disk]\r\nWritten=Behind\r\n");
        file.close();
        f.enterRawPage();
        QVERIFY(f.raw()->reUser->toPlainText().contains("Written=Behind"));

        child<QTabWidget>(f.main.get(), "PageCtrl")->setCurrentIndex(0);
        child<QLineEdit>(f.main.get(), "edtA")->setText("Jump");
        Script s;
        // The file was written behind the editor's back: the Save asks first.
        s.box(Kind::Confirm, {}, Buttons::YesNo, MessageBox::Answer::Yes);
        s.box(Kind::Information, "The changes has been succesfully saved!", Buttons::Ok);
        child<QAction>(f.main.get(), "Save1")->trigger();
        QVERIFY(f.raw()->reUser->toPlainText().contains("\nA=Jump\n"));
        QVERIFY(s.allShown());
    }

    // Ctrl+S on the raw text page saves the other pages' edits and shows
    // the files as saved: text the user did not type is never written over
    // them, and no question is asked for it.
    void saveOnTheRawPageKeepsThePagesEdits()
    {
        WindowFixture f;
        child<QLineEdit>(f.main.get(), "edtA")->setText("Jump");
        Script s;
        s.box(Kind::Confirm, "Do you want to save the changes u made?", Buttons::YesNo, Answer::No)
            .box(Kind::Confirm, "Do you want to undo changes?", Buttons::YesNo, Answer::No);
        f.enterRawPage();
        s.box(Kind::Information, "The changes has been succesfully saved!", Buttons::Ok);
        child<QAction>(f.main.get(), "Save1")->trigger();
        QVERIFY(s.allShown());
        QVERIFY(readFile(f.game.userIni()).contains("\nA=Jump\r\n"));
        QVERIFY(f.raw()->reUser->toPlainText().contains("\nA=Jump\n"));
        QVERIFY(!f.main->AnyPageChanged());
    }

    // Typed raw text is an edit like any page's: leaving the page and coming
    // back keeps it, and closing the window asks before it is lost.
    void typedRawTextIsNeverDroppedUnasked()
    {
        WindowFixture f;
        f.enterRawPage();
        f.raw()->reUser->appendPlainText("Typed=Text");
        Script s;
        s.box(Kind::Confirm, "Do you want to save the changes u made?", Buttons::YesNo, Answer::No)
            .box(Kind::Confirm, "Do you want to undo changes?", Buttons::YesNo, Answer::No);
        child<QTabWidget>(f.main.get(), "PageCtrl")->setCurrentIndex(0);
        f.enterRawPage();
        QVERIFY(f.raw()->reUser->toPlainText().endsWith("Typed=Text"));
        s.box(Kind::Confirm, "You have made some changes\nDo you want to save your changes first?", Buttons::YesNo,
              Answer::Yes);
        f.main->close();
        QVERIFY(s.allShown());
        QVERIFY(readFile(f.game.userIni()).endsWith("Typed=Text\r\n"));
    }

    // Opening a user file: one in the System directory is used (typed with
    // or without its extension); one elsewhere whose name the System
    // directory lacks leaves User.ini open, and the message still names it.
    void openCustomUserIni_data()
    {
        QTest::addColumn<bool>("inSystemDir");
        QTest::addColumn<QString>("typed");
        QTest::newRow("System dir") << true << "Second.ini";
        QTest::newRow("no extension") << true << "Second";
        QTest::newRow("elsewhere") << false << "Second.ini";
    }
    void openCustomUserIni()
    {
        QFETCH(bool, inSystemDir);
        QFETCH(QString, typed);
        WindowFixture f;
        QTemporaryDir other;
        const QString dir = inSystemDir ? f.game.systemDir() : other.path() + "/";
        const QString chosen = dir + "Second.ini";
        writeFile(chosen, readFile(f.game.userIni()).replace("A=StrafeLeft", "A=Jump"));
        const QString opened = inSystemDir ? chosen : f.game.userIni();
        Script s;
        s.box(Kind::Information, "Select the User.ini, or a User.ini with a different filename", Buttons::Ok);
        s.dialog(choose(dir + typed, QFileDialog::AcceptOpen, f.game.systemDir()));
        s.box(Kind::Information, "Your current ini has now changed into: " + chosen, Buttons::Ok);
        child<QAction>(f.main.get(), "Openfiles1")->trigger();
        QVERIFY(s.allShown());
        QCOMPARE(f.userStatus(), "Current User.Ini: " + opened);
        QCOMPARE(f.currentUserIni(), QFileInfo(opened).fileName());
        QCOMPARE(f.keyA(), QString(inSystemDir ? "Jump" : "StrafeLeft"));
        QCOMPARE(f.raw()->lblUserIni->text(), QFileInfo(opened).fileName());
    }

    // Save as copies the user file over an existing one without asking and
    // switches to it; a failed copy is said and switches nothing.
    void saveCustomUserIniAs()
    {
        WindowFixture f;
        const QString other = f.game.systemDir() + "Other.ini";
        writeFile(other, "[Old]\r\n");
        Script s;
        s.dialog(choose(f.game.systemDir() + "Other", QFileDialog::AcceptSave, f.game.systemDir()));
        child<QAction>(f.main.get(), "SaveINIfilesAS1")->trigger();
        QCOMPARE(readFile(other), readFile(f.game.userIni()));
        QCOMPARE(f.currentUserIni(), QString("Other.ini"));
        QCOMPARE(f.userStatus(), "Current User.Ini: " + other);

        const QString nowhere = f.game.systemDir() + "Third.ini";
        writeFile(nowhere, "[ReadOnly]\r\n");
        QFile::setPermissions(nowhere, QFile::ReadOwner);
        s.dialog(choose(nowhere, QFileDialog::AcceptSave, f.game.systemDir()));
        s.box(Kind::Warning, "Could not copy the user file to:\n" + nowhere + "\nYour current ini has not changed",
              Buttons::Ok);
        child<QAction>(f.main.get(), "SaveINIfilesAS1")->trigger();
        QCOMPARE(f.currentUserIni(), QString("Other.ini"));
        QCOMPARE(f.userStatus(), "Current User.Ini: " + other);

        // Another spelling of the open file is that file, not a second one.
        s.dialog(choose(f.game.systemDir() + "other.INI", QFileDialog::AcceptSave, f.game.systemDir()));
        child<QAction>(f.main.get(), "SaveINIfilesAS1")->trigger();
        QVERIFY(!QFile::exists(f.game.systemDir() + "other.INI"));
        QCOMPARE(f.currentUserIni(), QString("Other.ini"));
        QVERIFY(s.allShown());
    }

    // The game's own files never become the user file: Save As and Open
    // refuse them (in any letter case, wherever the dialog was), copy nothing
    // and stay on the current user file.
    void gameOwnFilesAreRefused_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("named");
        QTest::addColumn<QString>("linkTo"); // `typed` made a link to this file first
        QTest::newRow("save as UT2003.ini") << "SaveINIfilesAS1"
                                            << "ut2003.INI"
                                            << "UT2003.ini" << "";
        QTest::newRow("save as DefUser, no extension") << "SaveINIfilesAS1"
                                                       << "DefUser"
                                                       << "DefUser.ini" << "";
        QTest::newRow("open Default.ini") << "Openfiles1"
                                          << "Default.ini"
                                          << "Default.ini" << "";
        QTest::newRow("save as a link to UT2003.ini") << "SaveINIfilesAS1"
                                                      << "Mine.ini"
                                                      << "UT2003.ini" << "UT2003.ini";
    }
    void gameOwnFilesAreRefused()
    {
        QFETCH(QString, command);
        QFETCH(QString, typed);
        QFETCH(QString, named);
        QFETCH(QString, linkTo);
        WindowFixture f;
        writeFile(f.game.systemDir() + "DefUser.ini", "[Default]\r\n");
        if (!linkTo.isEmpty()) QVERIFY(QFile::link(f.game.systemDir() + linkTo, f.game.systemDir() + typed));
        const QMap<QString, QByteArray> before = filesBelow(f.game.systemDir());
        Script s;
        if (command == "Openfiles1")
            s.box(Kind::Information, "Select the User.ini, or a User.ini with a different filename", Buttons::Ok);
        s.dialog([&](QDialog& d) {
            dynamic_cast<QFileDialog&>(d).selectFile(f.game.systemDir() + typed);
            return int(QDialog::Accepted);
        });
        s.box(Kind::Warning, '"' + named + "\" is one of the game's own files. Please choose another name",
              Buttons::Ok);
        child<QAction>(f.main.get(), command)->trigger();
        QVERIFY(s.allShown());
        QCOMPARE(filesBelow(f.game.systemDir()), before);
        QCOMPARE(f.currentUserIni(), QString("User.ini"));
        QCOMPARE(f.userStatus(), "Current User.Ini: " + f.game.userIni());
    }

    // After a restore the raw text page shows the restored files: a Save on
    // it never writes the text from before the restore back.
    void restoreReloadsTheRawText()
    {
        WindowFixture f;
        f.enterRawPage();
        writeFile(f.game.systemDir() + "User_1-1-2026.INI", "[Restored]\r\nUser=1\r\n");
        writeFile(f.game.systemDir() + "UT2003_1-1-2026.INI", "[Restored]\r\nGame=1\r\n");
        Script s;
        s.dialog(restoreFirstBackup)
            .box(Kind::Confirm, {}, Buttons::YesNo, Answer::Yes)
            .box(Kind::Information, {}, Buttons::Ok);
        child<QAction>(f.main.get(), "Backuppedinismanager1")->trigger();
        QVERIFY(s.allShown());
        QCOMPARE(f.raw()->reUser->toPlainText(), QString("[Restored]\nUser=1\n"));
        QCOMPARE(f.raw()->reUt2003->toPlainText(), QString("[Restored]\nGame=1\n"));
    }

    // A profile changed on disk after the raw text was loaded: the raw Save
    // asks before writing over it (No writes nothing), and typed raw text is
    // an edit that the outside-change check asks about before a reload.
    void rawTextAndOutsideChanges()
    {
        WindowFixture f;
        f.enterRawPage();
        f.raw()->reUser->appendPlainText("[Typed]");
        QFile file(f.game.gameIni());
        QVERIFY(file.open(QIODevice::Append));
        file.write("[Outside]\r\n");
        file.close();
        const QByteArray outside = readFile(f.game.gameIni()), user = readFile(f.game.userIni());
        Script s;
        s.box(Kind::Confirm,
              "UT2003.ini has been changed outside Corvane 2003.\nDo you want to reload it and lose your changes?",
              Buttons::YesNo, Answer::No);
        f.main->checkOutsideChanges();
        QVERIFY(f.raw()->reUser->toPlainText().endsWith("[Typed]"));
        const QString saveOver =
            "UT2003.ini has been changed outside Corvane 2003 since it was loaded.\nDo you want to save over it?";
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes)
            .box(Kind::Confirm, saveOver, Buttons::YesNo, Answer::No);
        f.raw()->btnSaveInis->click();
        QCOMPARE(readFile(f.game.gameIni()), outside);
        QCOMPARE(readFile(f.game.userIni()), user);
        s.box(Kind::Confirm, SaveQuestion, Buttons::YesNo, Answer::Yes)
            .box(Kind::Confirm, saveOver, Buttons::YesNo, Answer::Yes);
        f.raw()->btnSaveInis->click();
        QVERIFY(s.allShown());
        QVERIFY(readFile(f.game.userIni()).endsWith("[Typed]\r\n"));
    }

    // Without open profiles (no user file found) the two commands do nothing.
    void commandsWaitForThePages()
    {
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        QVERIFY(QFile::remove(game.userIni()));
        Script s;
        s.box(Kind::Error, "User.ini not found in: " + game.systemDir(), Buttons::Ok);
        TfrmMain main(testEnvironment(program));
        for (const char* command : {"Openfiles1", "SaveINIfilesAS1"}) {
            QAction* a = child<QAction>(&main, command);
            QVERIFY(a->isEnabled());
            a->trigger();
        }
        QVERIFY(s.allShown()); // no other box, no dialog
    }
};

QTEST_MAIN(TestIniTexts)
#include "test_initexts.moc"
