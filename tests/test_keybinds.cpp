// The "Key binds" page: its key table against section Engine.Input of the
// user profile, the change test, the clear buttons, and the free binding of
// a captured key.

#include "core/RunTime.h"
#include "pages/keys/FreeBindingBox.h"
#include "pages/keys/KeyBindsPage.h"
#include "pages/keys/KeyTable.h"
#include "platform/VirtualKeys.h"
#include "profile/IniFiles.h"
#include "tests/support/PageContract.h"
#include "tests/support/TempUserProfile.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using namespace TestSupport;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

using Profile = TempUserProfile;

// The lines of section Engine.Input (each with its CR, if any; without the
// blank lines that end it), and the file's lines around it.
struct InputSectionSplit {
    QList<QByteArray> before, body, after;
};

InputSectionSplit splitAtInput(const QByteArray& file)
{
    const QList<QByteArray> all = file.split('\n');
    InputSectionSplit split;
    qsizetype header = 0;
    while (header < all.size() && all[header].trimmed() != "[Engine.Input]")
        ++header;
    qsizetype next = header + 1;
    while (next < all.size() && !all[next].trimmed().startsWith('['))
        ++next;
    split.before = all.mid(0, header + 1);
    split.body = all.mid(header + 1, next - header - 1);
    split.after = all.mid(next);
    while (!split.body.isEmpty() && split.body.last().trimmed().isEmpty())
        split.body.removeLast();
    return split;
}

QLineEdit* field(QWidget* page, const char* name) { return child<QLineEdit>(page, name); }

// A key released in a widget, as the window system delivers it: the
// modifiers tell the state while the key goes up (no separate Shift release).
void release(QWidget* target, int key, Qt::KeyboardModifiers modifiers = {})
{
    QKeyEvent event(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &event);
}

} // namespace

class TestKeyBinds : public QObject {
    Q_OBJECT

private slots:
    void tableRowsShowAsLabelledFields_data();
    void tableRowsShowAsLabelledFields();
    void loadThenSaveKeepsTheDemoProfile_data();
    void loadThenSaveKeepsTheDemoProfile();
    void saveAddsMissingKeysInTableOrder_data();
    void saveAddsMissingKeysInTableOrder();
    void commandTextsAreOpaque();
    void contract();
    void changeTest();
    void sliderFieldsAreComparedButNeverStored();
    void clearButtons_data();
    void clearButtons();
    void failedSaveKeepsThePageChanged();
    void loadWithoutUserFileReportsIt();

    void virtualKeyCodes_data();
    void virtualKeyCodes();
    void virtualKeysOnOtherLayouts_data();
    void virtualKeysOnOtherLayouts();
    void captureNamesTheReleasedKey_data();
    void captureNamesTheReleasedKey();
    void captureTakesNoTypedText();
    void lastKeyReleasedWins();
    void captureKeepsWindowShortcutsOffItsKeys();
    void freeSaveBeforeCaptureWarns();
    void freeSaveWithUnsavedEditsWarnsAndKeepsThePage();
    void freeSaveWithoutEditsReloadsThePage();
    void freeSaveAddsCapturedSpelling();
    void freeSaveRefusedWriteEscapes();

    void pageFitsTheWindow();
};

// A sample of the rows, spelled as the page must show and store them.
void TestKeyBinds::tableRowsShowAsLabelledFields_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("label");
    QTest::newRow("A") << 1 << "A"
                       << "edtA"
                       << "A:";
    QTest::newRow("Z") << 26 << "Z"
                       << "edtZ"
                       << "Z:";
    QTest::newRow("1") << 27 << "1"
                       << "edt1"
                       << "1:";
    QTest::newRow("0") << 36 << "0"
                       << "edt0"
                       << "0:";
    QTest::newRow("F12") << 48 << "F12"
                         << "edtF12"
                         << "F12:";
    QTest::newRow("NumPad1") << 49 << "NumPad1"
                             << "edtNumpad1"
                             << "Numpad1:";
    QTest::newRow("NumPad0") << 58 << "NumPad0"
                             << "edtNumpad0"
                             << "Numpad0:";
    QTest::newRow("GreyStar") << 61 << "GreyStar"
                              << "edtGreystar"
                              << "GreyStar:";
    QTest::newRow("NumLock") << 64 << "NumLock"
                             << "edtNumlock"
                             << "NumLock:";
    QTest::newRow("Left") << 65 << "Left"
                          << "edtLeft"
                          << "Left:";
    QTest::newRow("LeftMouse") << 77 << "LeftMouse"
                               << "edtLeftMouse"
                               << "LetMouse:";
    QTest::newRow("Backspace") << 81 << "Backspace"
                               << "edtBackSpace"
                               << "Backspace:";
    QTest::newRow("LShift") << 104 << "LShift"
                            << "edtLShift"
                            << "Left Shift:";
    QTest::newRow("MouseWheelDown") << 108 << "MouseWheelDown"
                                    << "edtMWheelDown"
                                    << "MWheelDwn:";
    QTest::newRow("JoyX") << 109 << "JoyX"
                          << "edtJoyx"
                          << "JoyX:";
    QTest::newRow("Joy1") << 115 << "Joy1"
                          << "edtJoy1"
                          << "Button1:";
    QTest::newRow("Joy16") << 130 << "Joy16"
                           << "edtJoy16"
                           << "Button16:";
}

void TestKeyBinds::tableRowsShowAsLabelledFields()
{
    QFETCH(int, row);
    QFETCH(QString, key);
    QFETCH(QString, fieldName);
    QFETCH(QString, label);
    const KeyRow& entry = keyTable()[std::size_t(row - 1)];
    QCOMPARE(QString(entry.key), key);

    Script script;
    Profile profile(lines({"[Engine.Input]", qPrintable(key + "=bound " + key)}));
    KeyBindsPage page(profile.rt);
    QVERIFY(page.LoadKeyBinds());
    QLineEdit* edit = field(&page, qPrintable(fieldName));
    QCOMPARE(edit->text(), "bound " + key);
    QLabel* caption = nullptr;
    for (QLabel* candidate : page.findChildren<QLabel*>())
        if (candidate->buddy() == edit) caption = candidate;
    QVERIFY(caption);
    QCOMPARE(caption->text(), label);
    QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::white));
    QCOMPARE(edit->palette().color(QPalette::Base), QColor(Qt::black));
    QVERIFY(script.allShown());
}

// Load then save changes no byte: entries the file lacks stay absent.
void TestKeyBinds::loadThenSaveKeepsTheDemoProfile_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("demo User.ini") << demoGameDir() + "/System/User.ini";
    QTest::newRow("game's DefUser.ini") << corpusDir() + "/UT2k4-Mods__System_DefUser.ini";
}

void TestKeyBinds::loadThenSaveKeepsTheDemoProfile()
{
    QFETCH(QString, source);
    if (!QFile::exists(source)) QSKIP("profile not available");
    Script script;
    Profile profile({}, source);
    const QByteArray before = profile.bytes();
    KeyBindsPage page(profile.rt);
    QVERIFY(page.LoadKeyBinds());
    QVERIFY(!field(&page, "edtA")->text().isEmpty() || !field(&page, "edtW")->text().isEmpty());
    QVERIFY(page.save());
    QVERIFY(!page.KeyBindsChanged());
    QCOMPARE(profile.bytes(), before);
    QVERIFY(script.allShown());
}

void TestKeyBinds::saveAddsMissingKeysInTableOrder_data()
{
    QTest::addColumn<QByteArray>("backspaceLine");
    QTest::addColumn<QByteArray>("expectedBackspaceLine");
    QTest::newRow("absent: added as BackSpace") << QByteArray() << QByteArray("BackSpace=Duck");
    QTest::newRow("Backspace: kept") << QByteArray("Backspace=Jump") << QByteArray("Backspace=Duck");
    QTest::newRow("BACKSPACE: kept") << QByteArray("BACKSPACE=Jump") << QByteArray("BACKSPACE=Duck");
}

void TestKeyBinds::saveAddsMissingKeysInTableOrder()
{
    QFETCH(QByteArray, backspaceLine);
    QFETCH(QByteArray, expectedBackspaceLine);
    Script script;
    QByteArray file = lines({"[Engine.Input]", "Z=Fire"});
    if (!backspaceLine.isEmpty()) file += backspaceLine + "\r\n";
    file += lines({"", "[Engine.PlayerInput]", "MouseSensitivity=3.0"});
    Profile profile(file);
    KeyBindsPage page(profile.rt);
    QVERIFY(page.LoadKeyBinds());
    QCOMPARE(field(&page, "edtZ")->text(), "Fire");
    QCOMPARE(field(&page, "edtA")->text(), "");
    QCOMPARE(field(&page, "edtBackSpace")->text(), backspaceLine.isEmpty() ? "" : "Jump");
    // Every key bound anew, so that each is written.
    for (const KeyRow& row : keyTable())
        field(&page, row.field)->setText("Duck");
    QVERIFY(page.save());

    QList<QByteArray> expected{"Z=Duck"};
    if (!backspaceLine.isEmpty()) expected << expectedBackspaceLine;
    for (const KeyRow& row : keyTable()) {
        if (QByteArray(row.key) == "Z" || (QByteArray(row.key) == "Backspace" && !backspaceLine.isEmpty())) continue;
        expected << QByteArray(row.savedKey()) + "=Duck";
    }
    QList<QByteArray> body;
    for (const QByteArray& line : splitAtInput(profile.bytes()).body)
        body << line.chopped(1); // the CR
    QCOMPARE(body, expected);
    QVERIFY(body.contains(expectedBackspaceLine));
    QVERIFY(profile.bytes().endsWith(lines({"", "[Engine.PlayerInput]", "MouseSensitivity=3.0"})));
    QCOMPARE(body.size(), qsizetype(KeyRowCount));
    QVERIFY(script.allShown());
}

// Commands are shown and written exactly as the profile gives them; only the
// profile's read limit cuts what is shown, and a binding the user leaves
// alone keeps its whole text in the file.
void TestKeyBinds::commandTextsAreOpaque()
{
    Script script;
    const QByteArray longCommand(3000, 'x');
    Profile profile("[Engine.Input]\r\nA=say \"Hi  there\" | Fire\r\nB=" + longCommand + "\r\nC=\xe9t\xe9\r\n");
    KeyBindsPage page(profile.rt);
    QVERIFY(page.LoadKeyBinds());
    QCOMPARE(field(&page, "edtA")->text(), "say \"Hi  there\" | Fire");
    QCOMPARE(field(&page, "edtB")->text(), QString(2047, 'x'));
    QCOMPARE(field(&page, "edtC")->text(), QString::fromLatin1("\xe9t\xe9"));

    field(&page, "edtD")->setText(QString(5000, 'y')); // no length limit of the field's own
    QCOMPARE(field(&page, "edtD")->text().size(), 5000);
    QVERIFY(page.save());
    const QByteArray saved = profile.bytes();
    QVERIFY(saved.contains("\r\nA=say \"Hi  there\" | Fire\r\n"));
    QVERIFY(saved.contains("\r\nB=" + longCommand + "\r\n")); // not cut to what the field shows
    QVERIFY(saved.contains("\r\nC=\xe9t\xe9\r\n"));
    QVERIFY(saved.contains("\r\nD=" + QByteArray(5000, 'y') + "\r\n"));
    QVERIFY(script.allShown());
}

void TestKeyBinds::contract()
{
    OpenDemoGame demo;
    KeyBindsPage page(demo.rt);
    checkPageContract(page, demo.rt);
}

void TestKeyBinds::changeTest()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "A=Fire", "F1=Help"}));
    KeyBindsPage page(profile.rt);
    QVERIFY(!page.KeyBindsChanged()); // empty fields against the empty snapshot
    QVERIFY(page.LoadKeyBinds());
    QVERIFY(!page.KeyBindsChanged());

    QLineEdit* a = field(&page, "edtA");
    a->setText("fire"); // letter case counts
    QVERIFY(page.KeyBindsChanged());
    a->setText("Fire");
    QVERIFY(!page.KeyBindsChanged());

    // Clearing a group only changes the page when a field held text.
    page.clearGroup(KeyGroup::Numeric);
    QVERIFY(!page.KeyBindsChanged());
    page.clearGroup(KeyGroup::Function);
    QVERIFY(page.KeyBindsChanged());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "A=Fire", "F1=Help"})); // nothing written

    // The free binding's fields never count.
    QVERIFY(page.LoadKeyBinds());
    field(&page, "edtCommandNoCheck")->setText("typed");
    field(&page, "edtCharNoCheck")->setText("pasted");
    QVERIFY(!page.KeyBindsChanged());
    QVERIFY(script.allShown());
}

void TestKeyBinds::sliderFieldsAreComparedButNeverStored()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "JoyX=Axis aBaseX"}));
    KeyBindsPage page(profile.rt);
    QVERIFY(page.LoadKeyBinds());
    QLineEdit* slider = field(&page, "edtJoySlider1");
    slider->setText("Axis aSlider");
    QVERIFY(page.KeyBindsChanged());
    QVERIFY(page.save());
    QVERIFY(!page.KeyBindsChanged());
    QVERIFY(!profile.bytes().contains("aSlider"));
    QVERIFY(page.LoadKeyBinds());
    QCOMPARE(slider->text(), "Axis aSlider");
    QVERIFY(!page.KeyBindsChanged());
    QVERIFY(script.allShown());
}

void TestKeyBinds::clearButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QStringList>("emptied");
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("Alpha") << "SpeedButton1"
                           << "Clear all the Alpha keys" << QStringList{"edtA", "edtZ"} << QStringList{"edt1", "edtF1"};
    QTest::newRow("Number") << "SpeedButton3"
                            << "Clear all the Number keys" << QStringList{"edt1", "edt0"}
                            << QStringList{"edtA", "edtNumpad1"};
    QTest::newRow("Function") << "SpeedButton4"
                              << "Clear all the Function keys" << QStringList{"edtF1", "edtF12"}
                              << QStringList{"edt1", "edtNumpad1"};
    QTest::newRow("Numeric") << "SpeedButton2"
                             << "Clear all the Numeric keys" << QStringList{"edtNumpad1", "edtNumlock"}
                             << QStringList{"edtF1", "edtLeft"};
    QTest::newRow("Other") << "SpeedButton5"
                           << "Clear all the Other keys" << QStringList{"edtLeft", "edtMWheelDown"}
                           << QStringList{"edtNumlock", "edtJoyx"};
    QTest::newRow("Joystick") << "SpeedButton6"
                              << "Clear all the Joystick keys"
                              << QStringList{"edtJoyx", "edtJoy16", "edtJoySlider1", "edtJoySlider2"}
                              << QStringList{"edtMWheelDown", "edtA"};
}

void TestKeyBinds::clearButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, hint);
    QFETCH(QStringList, emptied);
    QFETCH(QStringList, kept);
    Script script;
    Profile profile(lines({"[Engine.Input]"}));
    KeyBindsPage page(profile.rt);
    for (QLineEdit* edit : page.findChildren<QLineEdit*>())
        edit->setText("x");
    QToolButton* clear = child<QToolButton>(&page, button);
    QCOMPARE(clear->toolTip(), hint);
    clear->click();
    for (const QString& name : emptied)
        QCOMPARE(field(&page, qPrintable(name))->text(), "");
    for (const QString& name : kept)
        QCOMPARE(field(&page, qPrintable(name))->text(), "x");
    QCOMPARE(field(&page, "edtCharNoCheck")->text(), "x");
    QCOMPARE(field(&page, "edtCommandNoCheck")->text(), "x");
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]"}));
    QVERIFY(script.allShown());
}

void TestKeyBinds::failedSaveKeepsThePageChanged()
{
    Profile profile(lines({"[Engine.Input]", "A=Fire"}));
    KeyBindsPage page(profile.rt);
    {
        Script script;
        QVERIFY(page.LoadKeyBinds());
        QVERIFY(script.allShown());
    }
    field(&page, "edtA")->setText("Jump");
    profile.makeReadOnly();
    Script script;
    script.box(Kind::Error, "Error occured:Unable to write to " + profile.path, Buttons::Ok);
    QVERIFY(!page.save());
    QVERIFY(script.allShown());
    QVERIFY(page.KeyBindsChanged());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "A=Fire"}));
}

// The restore button can run the load while no user file was found.
void TestKeyBinds::loadWithoutUserFileReportsIt()
{
    Profile profile(lines({"[Engine.Input]", "A=Fire"}));
    KeyBindsPage page(profile.rt);
    {
        Script script;
        QVERIFY(page.LoadKeyBinds());
    }
    field(&page, "edtA")->setText("Jump");
    profile.rt.UserProfile.reset();
    Script script;
    script.box(Kind::Error, "Error occured:No user file is open", Buttons::Ok);
    script.box(Kind::Error, "Error occured:No user file is open", Buttons::Ok);
    QVERIFY(!page.LoadKeyBinds());
    QVERIFY(!page.save());
    QVERIFY(script.allShown());
    QCOMPARE(field(&page, "edtA")->text(), "Jump");
    QVERIFY(page.KeyBindsChanged());
}

// Codes the capture does not name, straight from the platform layer.
void TestKeyBinds::virtualKeyCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("code");
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << 0x09;
    QTest::newRow("left Windows") << int(Qt::Key_Super_L) << 0 << 0x5B;
    QTest::newRow("right Windows") << int(Qt::Key_Super_R) << 0 << 0x5C;
    QTest::newRow("application") << int(Qt::Key_Menu) << 0 << 0x5D;
    QTest::newRow("F13") << int(Qt::Key_F13) << 0 << 0x7C;
    QTest::newRow("F24") << int(Qt::Key_F24) << 0 << 0x87;
    QTest::newRow("pad separator") << int(Qt::Key_Comma) << int(Qt::KeypadModifier) << 0x6C;
    QTest::newRow("pad 5, Num Lock off") << int(Qt::Key_Clear) << int(Qt::KeypadModifier) << 0x0C;
    QTest::newRow("unknown") << int(Qt::Key_Eacute) << 0 << 0;
}

void TestKeyBinds::virtualKeyCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, code);
    QCOMPARE(platform::virtualKeyFromQt(key, Qt::KeyboardModifiers(modifiers)), code);
}

// Keys of French, German and Russian keyboards, as the windowing system
// reports them: the character typed and the key's place.
void TestKeyBinds::virtualKeysOnOtherLayouts_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<quint32>("scanCode");
    QTest::addColumn<int>("code");
    QTest::newRow("French 1 key types &") << int(Qt::Key_Ampersand) << 0 << 10u << 0x31;
    QTest::newRow("French 7 key types e grave") << int(Qt::Key_Egrave) << 0 << 16u << 0x37;
    QTest::newRow("French A at the US Q") << int(Qt::Key_A) << 0 << 24u << 0x41;
    QTest::newRow("German Shift+7 types /") << int(Qt::Key_Slash) << int(Qt::ShiftModifier) << 16u << 0x37;
    QTest::newRow("German Z at the US Y") << int(Qt::Key_Z) << 0 << 29u << 0x5A;
    QTest::newRow("German sharp s key") << int(Qt::Key_ssharp) << 0 << 20u << 0xBD;
    QTest::newRow("German key beside left Shift") << int(Qt::Key_Less) << 0 << 94u << 0xE2;
    QTest::newRow("Russian letter at the US A") << 0x444 << 0 << 38u << 0x41;
    QTest::newRow("pad 1 keeps its pad code") << int(Qt::Key_1) << int(Qt::KeypadModifier) << 87u << 0x61;
    QTest::newRow("no scan code: the US table") << int(Qt::Key_Exclam) << int(Qt::ShiftModifier) << 0u << 0x31;
}

void TestKeyBinds::virtualKeysOnOtherLayouts()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(quint32, scanCode);
    QFETCH(int, code);
    const QKeyEvent event(QEvent::KeyRelease, key, Qt::KeyboardModifiers(modifiers), scanCode, 0, 0);
    QCOMPARE(platform::virtualKeyOf(event), code);
}

void TestKeyBinds::captureNamesTheReleasedKey_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("name"); // empty: the field keeps "A", the key captured before
    QTest::addColumn<QString>("command");
    const int none = 0, shift = int(Qt::ShiftModifier), pad = int(Qt::KeypadModifier);
    QTest::newRow("A") << int(Qt::Key_A) << none << "A"
                       << "Fire";
    QTest::newRow("Shift+A") << int(Qt::Key_A) << shift << "A"
                             << "Fire";
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << int(Qt::ControlModifier) << "A"
                            << "Fire";
    QTest::newRow("Q") << int(Qt::Key_Q) << none << "Q"
                       << "";
    QTest::newRow("7") << int(Qt::Key_7) << none << "7"
                       << "SwitchWeapon 7";
    QTest::newRow("Shift+7 types &") << int(Qt::Key_Ampersand) << shift << "7"
                                     << "SwitchWeapon 7";
    QTest::newRow("Shift+0 types )") << int(Qt::Key_ParenRight) << shift << "0"
                                     << "";
    QTest::newRow("pad 1") << int(Qt::Key_1) << pad << "Numpad1"
                           << "Duck";
    QTest::newRow("pad 0") << int(Qt::Key_0) << pad << "Numpad0"
                           << "";
    QTest::newRow("pad point") << int(Qt::Key_Period) << pad << "NumpadPeriod"
                               << "";
    QTest::newRow("pad star") << int(Qt::Key_Asterisk) << pad << "GreyStar"
                              << "";
    QTest::newRow("pad slash") << int(Qt::Key_Slash) << pad << "GreySlash"
                               << "";
    QTest::newRow("pad minus") << int(Qt::Key_Minus) << pad << "GreyMinus"
                               << "";
    QTest::newRow("pad plus") << int(Qt::Key_Plus) << pad << "GreyPlus"
                              << "";
    QTest::newRow("pad Enter") << int(Qt::Key_Enter) << pad << "Enter"
                               << "";
    QTest::newRow("pad 7, Num Lock off") << int(Qt::Key_Home) << pad << "Home"
                                         << "";
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << "Enter"
                           << "";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "Backspace"
                               << "Jump";
    QTest::newRow("Caps Lock") << int(Qt::Key_CapsLock) << none << "Capslock"
                               << "LookToggle";
    QTest::newRow("Esc") << int(Qt::Key_Escape) << none << "Escape"
                         << "";
    QTest::newRow("Print") << int(Qt::Key_Print) << none << "PrintScrn"
                           << "";
    QTest::newRow("Num Lock") << int(Qt::Key_NumLock) << none << "NumLock"
                              << "";
    QTest::newRow("F12") << int(Qt::Key_F12) << none << "F12"
                         << "";
    QTest::newRow("right Alt") << int(Qt::Key_AltGr) << none << "Alt"
                               << "";
    QTest::newRow("Ctrl") << int(Qt::Key_Control) << none << "Ctrl"
                          << "";
    QTest::newRow("semicolon") << int(Qt::Key_Semicolon) << none << "Semicolon"
                               << "";
    QTest::newRow("colon") << int(Qt::Key_Colon) << shift << "Semicolon"
                           << "";
    QTest::newRow("plus") << int(Qt::Key_Plus) << shift << "Equals"
                          << "";
    QTest::newRow("minus") << int(Qt::Key_Minus) << none << "Minus"
                           << "";
    QTest::newRow("full stop") << int(Qt::Key_Period) << none << "Period"
                               << "";
    QTest::newRow("question mark") << int(Qt::Key_Question) << shift << "Slash"
                                   << "";
    QTest::newRow("grave") << int(Qt::Key_QuoteLeft) << none << "Tilde"
                           << "";
    QTest::newRow("brace") << int(Qt::Key_BraceLeft) << shift << "LeftBracket"
                           << "";
    QTest::newRow("bar") << int(Qt::Key_Bar) << shift << "Backslash"
                         << "";
    QTest::newRow("apostrophe") << int(Qt::Key_Apostrophe) << none << "SingleQuote"
                                << "";
    QTest::newRow("Windows key") << int(Qt::Key_Meta) << none << ""
                                 << "Fire";
    QTest::newRow("F13") << int(Qt::Key_F13) << none << ""
                         << "Fire";
    QTest::newRow("Tab") << int(Qt::Key_Tab) << none << ""
                         << "Fire";
    QTest::newRow("pad separator") << int(Qt::Key_Comma) << pad << ""
                                   << "Fire";
}

void TestKeyBinds::captureNamesTheReleasedKey()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, name);
    QFETCH(QString, command);
    Script script;
    Profile profile(lines({"[Engine.Input]", "A=Fire", "7=SwitchWeapon 7", "NumPad1=Duck", "BackSpace=Jump",
                           "CapsLock=LookToggle", "..=never"}));
    KeyBindsPage page(profile.rt);
    QLineEdit* capture = field(&page, "edtCharNoCheck");
    QLineEdit* commandField = field(&page, "edtCommandNoCheck");
    QCOMPARE(capture->text(), "..");
    release(capture, Qt::Key_A);
    QCOMPARE(capture->text(), "A");
    commandField->setText("typed over");

    release(capture, key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(capture->text(), name.isEmpty() ? QStringLiteral("A") : name);
    QCOMPARE(commandField->text(), command); // re-read in every case
    QVERIFY(script.allShown());
}

void TestKeyBinds::captureTakesNoTypedText()
{
    Script script;
    Profile profile(lines({"[Engine.Input]"}));
    KeyBindsPage page(profile.rt);
    QLineEdit* capture = field(&page, "edtCharNoCheck");
    QTest::keyClicks(capture, "xy1");
    QTest::keyClick(capture, Qt::Key_Backspace);
    QTest::keyClick(capture, Qt::Key_Delete);
    QCOMPARE(capture->text(), "Delete"); // the last key released, never typed text
    QLineEdit* command = field(&page, "edtCommandNoCheck");
    QTest::keyClicks(command, "say hi");
    QCOMPARE(command->text(), "say hi");
    QVERIFY(script.allShown());
}

void TestKeyBinds::lastKeyReleasedWins()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "Shift=Walking", "A=Fire"}));
    KeyBindsPage page(profile.rt);
    QLineEdit* capture = field(&page, "edtCharNoCheck");
    // Shift held over A: A goes up first, Shift last.
    QTest::keyPress(capture, Qt::Key_A, Qt::ShiftModifier);
    QTest::keyRelease(capture, Qt::Key_A, Qt::ShiftModifier);
    QCOMPARE(capture->text(), "Shift");
    QCOMPARE(field(&page, "edtCommandNoCheck")->text(), "Walking");
    // A held over Shift: A goes up last.
    QTest::keyPress(capture, Qt::Key_Shift);
    QTest::keyPress(capture, Qt::Key_A, Qt::ShiftModifier);
    release(capture, Qt::Key_Shift, Qt::ShiftModifier);
    release(capture, Qt::Key_A);
    QCOMPARE(capture->text(), "A");
    // A key held down repeats; only its real release counts.
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Shift, {}, QString(), true);
    QApplication::sendEvent(capture, &repeated);
    QCOMPARE(capture->text(), "A");
    QVERIFY(script.allShown());
}

// F1 to F3 open help windows from the main window; in the capture field they
// are keys to capture.
void TestKeyBinds::captureKeepsWindowShortcutsOffItsKeys()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "F1=ShowMenu"}));
    QWidget window;
    auto* help = new QAction(&window);
    help->setShortcut(Qt::Key_F1);
    window.addAction(help);
    auto* save = new QAction(&window);
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    window.addAction(save);
    QSignalSpy helpSpy(help, &QAction::triggered), saveSpy(save, &QAction::triggered);
    auto* page = new KeyBindsPage(profile.rt, &window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QLineEdit* capture = field(page, "edtCharNoCheck");
    capture->setFocus();
    QTRY_VERIFY(capture->hasFocus());
    QTest::keyClick(capture, Qt::Key_F1);
    QCOMPARE(helpSpy.count(), 0);
    QCOMPARE(capture->text(), "F1");
    QTest::keyClick(capture, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(saveSpy.count(), 1);
    QVERIFY(script.allShown());
}

void TestKeyBinds::freeSaveBeforeCaptureWarns()
{
    Profile profile(lines({"[Engine.Input]", "A=Fire"}));
    KeyBindsPage page(profile.rt);
    field(&page, "edtCommandNoCheck")->setText("Jump");
    Script script;
    script.box(Kind::Warning, "You have to select a letter first", Buttons::Ok);
    child<QPushButton>(&page, "btnSave")->click();
    QVERIFY(script.allShown());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "A=Fire"}));
}

void TestKeyBinds::freeSaveWithUnsavedEditsWarnsAndKeepsThePage()
{
    Profile profile(lines({"[Engine.Input]", "A=Fire", "B=Jump"}));
    KeyBindsPage page(profile.rt);
    Script script;
    QVERIFY(page.LoadKeyBinds());
    field(&page, "edtB")->setText("Duck");
    QLineEdit* capture = field(&page, "edtCharNoCheck");
    release(capture, Qt::Key_A);
    field(&page, "edtCommandNoCheck")->setText("AltFire");
    script.box(Kind::Warning, "There have been some changes in the other keybinds.\nPlease Save, or Load first!",
               Buttons::Ok);
    page.freeBinding()->btnSaveClick();
    QVERIFY(script.allShown());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "A=AltFire", "B=Jump"}));
    QCOMPARE(field(&page, "edtA")->text(), "Fire");
    QCOMPARE(field(&page, "edtB")->text(), "Duck");
    QVERIFY(page.KeyBindsChanged());
}

void TestKeyBinds::freeSaveWithoutEditsReloadsThePage()
{
    Profile profile(lines({"[Engine.Input]", "A=Fire", "B=Jump"}));
    KeyBindsPage page(profile.rt);
    Script script;
    QVERIFY(page.LoadKeyBinds());
    release(field(&page, "edtCharNoCheck"), Qt::Key_B);
    QCOMPARE(field(&page, "edtCommandNoCheck")->text(), "Jump");
    field(&page, "edtCommandNoCheck")->setText("");
    child<QPushButton>(&page, "btnSave")->click();
    QVERIFY(script.allShown());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "A=Fire", "B="}));
    QCOMPARE(field(&page, "edtB")->text(), "");
    QVERIFY(!page.KeyBindsChanged());
}

// A captured name differing from the table's spelling in case updates the
// table's entry in place, or is added as captured.
void TestKeyBinds::freeSaveAddsCapturedSpelling()
{
    Profile profile(lines({"[Engine.Input]", "CapsLock=LookToggle"}));
    KeyBindsPage page(profile.rt);
    Script script;
    QVERIFY(page.LoadKeyBinds());
    QLineEdit* capture = field(&page, "edtCharNoCheck");
    QLineEdit* command = field(&page, "edtCommandNoCheck");
    release(capture, Qt::Key_CapsLock);
    QCOMPARE(command->text(), "LookToggle");
    command->setText("Crouch");
    page.freeBinding()->btnSaveClick();
    release(capture, Qt::Key_5, Qt::KeypadModifier);
    command->setText("Taunt");
    page.freeBinding()->btnSaveClick();
    QVERIFY(script.allShown());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "CapsLock=Crouch", "Numpad5=Taunt"}));
    QCOMPARE(field(&page, "edtCapsLock")->text(), "Crouch");
    QCOMPARE(field(&page, "edtNumpad5")->text(), "Taunt");
}

void TestKeyBinds::freeSaveRefusedWriteEscapes()
{
    Profile profile(lines({"[Engine.Input]", "A=Fire"}));
    KeyBindsPage page(profile.rt);
    Script script;
    release(field(&page, "edtCharNoCheck"), Qt::Key_A);
    field(&page, "edtCommandNoCheck")->setText("Jump");
    profile.makeReadOnly();
    QVERIFY_THROWS_EXCEPTION(EIniFileException, page.freeBinding()->btnSaveClick());
    // A name the file cannot hold (pasted text) is refused by the profile too.
    QFile::setPermissions(profile.path, QFile::ReadOwner | QFile::WriteOwner);
    field(&page, "edtCharNoCheck")->setText("Jump=Fire");
    QVERIFY_THROWS_EXCEPTION(ECorvaneError, page.freeBinding()->btnSaveClick());
    QVERIFY(script.allShown());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "A=Fire"}));
}

// In the room the main window gives a page, every field is wide enough to
// read and no label is cut; the picture goes to docs/screenshots.
void TestKeyBinds::pageFitsTheWindow()
{
    Script script;
    const QString sample = demoGameDir() + "/System/User.ini";
    Profile profile(lines({"[Engine.Input]", "A=StrafeLeft", "W=MoveForward", "F1=ShowScores"}),
                    QFile::exists(sample) ? sample : QString());
    QWidget frame;
    frame.resize(790, 480);
    auto* page = new KeyBindsPage(profile.rt, &frame);
    page->setGeometry(0, 0, 790, 480);
    QVERIFY(page->LoadKeyBinds());
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    auto* scroll = child<QScrollArea>(page, "ScrollBox1");
    QWidget* content = scroll->widget();
    QVERIFY(content->width() <= scroll->viewport()->width()); // scrolls up and down only
    int fields = 0;
    for (QLineEdit* edit : content->findChildren<QLineEdit*>()) {
        if (edit->objectName().contains("NoCheck")) continue;
        ++fields;
        QVERIFY2(edit->width() >= 60, qPrintable(edit->objectName()));
        QVERIFY2(edit->height() >= edit->minimumSizeHint().height(), qPrintable(edit->objectName()));
    }
    QCOMPARE(fields, 132);
    for (QLabel* label : content->findChildren<QLabel*>())
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));

    const QString dir = qEnvironmentVariable("CORVANE_SCREENSHOT_DIR", qEnvironmentVariable("CORVANE_TEST_BINARY_DIR"));
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        QVERIFY(content->grab().save(dir + "/keybinds.png"));
    }
    QVERIFY(script.allShown());
}

QTEST_MAIN(TestKeyBinds)
#include "test_keybinds.moc"
