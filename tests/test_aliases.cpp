// The "Aliases" page: slots "Aliases[0]" to "Aliases[45]" of section
// Engine.Input, loaded, saved and compared as raw text.

#include "core/RunTime.h"
#include "pages/keys/AliasesPage.h"
#include "profile/IniFiles.h"
#include "tests/support/TempUserProfile.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace TestSupport;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QString EmptyAlias = QStringLiteral("(Command=\"\",Alias=\"None\")");

using Profile = TempUserProfile;

QTableWidget* list(QWidget* page) { return child<QTableWidget>(page, "vlEdt"); }
QString value(QWidget* page, int row) { return list(page)->item(row, 1)->text(); }
void setValue(QWidget* page, int row, const QString& text) { list(page)->item(row, 1)->setText(text); }

} // namespace

class TestAliases : public QObject {
    Q_OBJECT

private slots:
    void listIsBuiltBeforeTheFirstLoad();
    void noEntriesLoadAsDefaultsAndOnlyAnEditIsAdded();
    void slotsPastTheLastAreUntouched();
    void valuesRoundTripUnchanged_data();
    void valuesRoundTripUnchanged();
    void changeTest();
    void cellBeingEditedCounts();
    void loadClosesACellBeingEdited();
    void failedSaveEscapesAndKeepsThePageChanged();
    void loadWithoutUserFileReportsIt();
    void pageFitsTheWindow();
};

void TestAliases::listIsBuiltBeforeTheFirstLoad()
{
    Profile profile(lines({"[Engine.Input]"}));
    AliasesPage page(profile.rt);
    QTableWidget* grid = list(&page);
    QCOMPARE(grid->rowCount(), 51);
    QCOMPARE(grid->columnCount(), 2);
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), "Alias");
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), "Value");
    QCOMPARE(grid->columnWidth(0), 122);
    QCOMPARE(grid->columnWidth(1), 566);
    for (int row = 0; row < 51; ++row) {
        QCOMPARE(grid->item(row, 0)->text(), QStringLiteral("Aliases[%1]").arg(row));
        QVERIFY(!(grid->item(row, 0)->flags() & Qt::ItemIsEditable));
        QCOMPARE(value(&page, row), "");
        // Rows the page never stores take no edits.
        QCOMPARE(bool(grid->item(row, 1)->flags() & Qt::ItemIsEditable), row < 46);
    }
    const QStringList help = child<QLabel>(&page, "lblAliasHelp")->text().split('\n');
    QCOMPARE(help.size(), 3);
    QCOMPARE(help[1], "you want excuted, give those commands a name (the alias), then bind that name to a key.");
}

void TestAliases::noEntriesLoadAsDefaultsAndOnlyAnEditIsAdded()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "A=Fire", "", "[Engine.HUD]", "CrosshairScale=1.0"}));
    AliasesPage page(profile.rt);
    QVERIFY(page.load());
    for (int row = 0; row < 46; ++row)
        QCOMPARE(value(&page, row), EmptyAlias);
    for (int row = 46; row < 51; ++row)
        QCOMPARE(value(&page, row), "");
    QVERIFY(!page.changed());

    // The defaults shown are not written; the one slot edited is.
    const QByteArray before = profile.bytes();
    page.save();
    QCOMPARE(profile.bytes(), before);
    setValue(&page, 3, "(Command=\"Jump\",Alias=\"j\")");
    page.save();
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "A=Fire", "Aliases[3]=(Command=\"Jump\",Alias=\"j\")", "",
                                     "[Engine.HUD]", "CrosshairScale=1.0"}));
    QVERIFY(!page.changed());
    QVERIFY(script.allShown());
}

void TestAliases::slotsPastTheLastAreUntouched()
{
    Script script;
    const QByteArray file = lines({"[Engine.Input]", "Aliases[45]=(Command=\"Say gg\",Alias=\"gg\")",
                                   "Aliases[46]=(Command=\"Say hi\",Alias=\"hi\")", "Aliases[50]=kept"});
    Profile profile(file);
    AliasesPage page(profile.rt);
    QVERIFY(page.load());
    QCOMPARE(value(&page, 45), "(Command=\"Say gg\",Alias=\"gg\")");
    for (int row = 46; row < 51; ++row)
        QCOMPARE(value(&page, row), "");
    setValue(&page, 0, "(Command=\"Jump\",Alias=\"j\")");
    page.save();
    QVERIFY(profile.bytes().startsWith(file)); // the edited slot 0 is added after them
    QCOMPARE(profile.bytes().count("Aliases["), 4);
    QVERIFY(script.allShown());
}

// What the profile holds comes back as it was: the structured form, plain
// text, and an emptied value (an entry present with no value, not the default).
void TestAliases::valuesRoundTripUnchanged_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shownAfter");
    QTest::newRow("structured") << "(Command=\"Button bFire | Fire\",Alias=\"Fire\")" << QString() << QString();
    QTest::newRow("unquoted alias") << "(Command=\"Button bFire | Fire\",Alias=Fire)" << QString() << QString();
    QTest::newRow("plain text") << "just some text" << QString() << QString();
    QTest::newRow("latin-1") << QString::fromLatin1("(Command=\"Say \xe9t\xe9\",Alias=\"e\")") << QString()
                             << QString();
    QTest::newRow("emptied") << "(Command=\"Jump\",Alias=\"j\")"
                             << ""
                             << "";
    QTest::newRow("replaced") << "(Command=\"Jump\",Alias=\"j\")"
                              << "Duck"
                              << "Duck";
}

void TestAliases::valuesRoundTripUnchanged()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, shownAfter);
    Script script;
    QByteArray file = "[Engine.Input]\r\n";
    for (int slot = 0; slot < 46; ++slot)
        file += QStringLiteral("Aliases[%1]=%2\r\n").arg(slot).arg(stored).toLatin1();
    Profile profile(file);
    AliasesPage page(profile.rt);
    QVERIFY(page.load());
    QCOMPARE(value(&page, 7), stored);
    if (!typed.isNull()) setValue(&page, 7, typed);
    page.save();
    const QByteArray saved = profile.bytes();
    if (typed.isNull()) {
        QCOMPARE(saved, file);
    } else {
        QVERIFY(saved.contains("\r\nAliases[7]=" + typed.toLatin1() + "\r\n"));
        QVERIFY(page.load());
        QCOMPARE(value(&page, 7), shownAfter);
    }
    QVERIFY(script.allShown());
}

void TestAliases::changeTest()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "Aliases[0]=(Command=\"Fire\",Alias=\"f\")"}));
    AliasesPage page(profile.rt);
    QVERIFY(!page.changed());
    QVERIFY(page.load());
    QVERIFY(!page.changed());
    setValue(&page, 0, "(Command=\"fire\",Alias=\"f\")");
    QVERIFY(page.changed());
    setValue(&page, 0, "(Command=\"Fire\",Alias=\"f\")");
    QVERIFY(!page.changed());
    setValue(&page, 45, "");
    QVERIFY(page.changed());
    page.save();
    QVERIFY(!page.changed());
    QVERIFY(script.allShown());
}

// Ctrl+S can come while a cell is still being edited: what was typed counts.
void TestAliases::cellBeingEditedCounts()
{
    Script script;
    Profile profile(lines({"[Engine.Input]"}));
    AliasesPage page(profile.rt);
    page.resize(790, 480);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.load());
    QTableWidget* grid = list(&page);
    grid->setCurrentCell(3, 1);
    grid->editItem(grid->item(3, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "(Command=\"Say gl\",Alias=\"gl\")");
    QVERIFY(page.changed());
    page.save();
    QVERIFY(profile.bytes().contains("\r\nAliases[3]=(Command=\"Say gl\",Alias=\"gl\")\r\n"));
    QVERIFY(!page.changed());
    QVERIFY(script.allShown());
}

void TestAliases::loadClosesACellBeingEdited()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "Aliases[3]=on disk"}));
    AliasesPage page(profile.rt);
    page.resize(790, 480);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QVERIFY(page.load());
    QTableWidget* grid = list(&page);
    grid->setCurrentCell(3, 1);
    grid->editItem(grid->item(3, 1));
    auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
    QVERIFY(editor);
    QTest::keyClicks(editor, " edited");
    QVERIFY(page.load()); // the user chose to undo the page's edits
    QCOMPARE(value(&page, 3), "on disk");
    grid->setCurrentCell(5, 1); // leaving the cell commits nothing stale
    QCOMPARE(value(&page, 3), "on disk");
    QVERIFY(!page.changed());
    QVERIFY(script.allShown());
}

// The save passes a refused write to its caller, which reports it.
void TestAliases::failedSaveEscapesAndKeepsThePageChanged()
{
    Script script;
    Profile profile(lines({"[Engine.Input]", "Aliases[0]=a"}));
    AliasesPage page(profile.rt);
    QVERIFY(page.load());
    setValue(&page, 0, "b");
    QFile::setPermissions(profile.path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QVERIFY_THROWS_EXCEPTION(EIniFileException, page.save());
    QVERIFY(page.changed());
    QCOMPARE(profile.bytes(), lines({"[Engine.Input]", "Aliases[0]=a"}));
    QVERIFY(script.allShown());
}

void TestAliases::loadWithoutUserFileReportsIt()
{
    Profile profile(lines({"[Engine.Input]", "Aliases[0]=a"}));
    AliasesPage page(profile.rt);
    {
        Script script;
        QVERIFY(page.load());
    }
    setValue(&page, 0, "b");
    profile.rt.UserProfile.reset();
    Script script;
    script.box(Kind::Error, "Error occured:No user file is open", Buttons::Ok);
    QVERIFY(!page.load());
    QVERIFY(script.allShown());
    QCOMPARE(value(&page, 0), "b");
    QVERIFY(page.changed());
}

void TestAliases::pageFitsTheWindow()
{
    Script script;
    QByteArray file = "[Engine.Input]\r\n";
    const char* samples[] = {"(Command=\"Button bFire | Fire\",Alias=\"Fire\")",
                             "(Command=\"Button bAltFire | AltFire\",Alias=\"AltFire\")",
                             "(Command=\"Axis aBaseY Speed=+300.0\",Alias=\"MoveForward\")",
                             "(Command=\"Axis aBaseY Speed=-300.0\",Alias=\"MoveBackward\")",
                             "(Command=\"Button bDuck | Axis aUp Speed=-300.0\",Alias=\"Duck\")"};
    for (int slot = 0; slot < 5; ++slot)
        file += QByteArray("Aliases[") + QByteArray::number(slot) + "]=" + samples[slot] + "\r\n";
    Profile profile(file);
    QWidget frame;
    frame.resize(790, 480);
    auto* page = new AliasesPage(profile.rt, &frame);
    page->setGeometry(0, 0, 790, 480);
    QVERIFY(page->load());
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QLabel* help = child<QLabel>(page, "lblAliasHelp");
    QVERIFY(help->width() >= help->sizeHint().width());
    QTableWidget* grid = list(page);
    QVERIFY(grid->viewport()->width() >= 122 + 566);

    const QString dir = qEnvironmentVariable("CORVANE_SCREENSHOT_DIR", qEnvironmentVariable("CORVANE_TEST_BINARY_DIR"));
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        QVERIFY(frame.grab().save(dir + "/aliases.png"));
    }
    QVERIFY(script.allShown());
}

QTEST_MAIN(TestAliases)
#include "test_aliases.moc"
