// Bad input on the files the program reads besides the profiles: garbage,
// empty, huge or unreadable (a directory in the file's place). The program
// starts, loads every page and shows what it could read.

#include "app/CorvaneApplication.h"
#include "app/fMain.h"
#include "dialogs/DirectoryEdit.h"
#include "dialogs/dlgInit.h"
#include "tests/support/MainWindowHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTest>

using namespace TestSupport;

namespace {

enum class Damage { Garbage, Empty, Huge, Unreadable };

QByteArray garbage(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(2003);
    for (char& b : bytes)
        b = char(random.generate() & 0xFF);
    return bytes;
}

void damage(const QString& path, Damage how)
{
    QFile::remove(path);
    switch (how) {
    case Damage::Garbage:
        writeFile(path, garbage(4096) + "\r\n[\r\n=\r\n]]]" + garbage(4096));
        break;
    case Damage::Empty:
        writeFile(path, {});
        break;
    case Damage::Huge:
        writeFile(path, QByteArray("[XGame.MutHuge]\r\n") + QByteArray(17 << 20, 'M'));
        break;
    case Damage::Unreadable:
        QDir().mkpath(path);
        break;
    }
}

} // namespace

class TestBadInput : public QObject {
    Q_OBJECT

private slots:
    void pagesLoadWhateverTheOtherFilesHold_data()
    {
        QTest::addColumn<QString>("file"); // in the game's root, or "program/" for the program's directory
        QTest::addColumn<int>("how");
        const char* files[] = {"System/xplayersL1.upl", "System/XGame.int",    "System/XMaps.int",
                               "Maps/CTF-Chrome.ut2",   "program/Citadel.jpg", "program/Corvane2003.ini"};
        const std::pair<const char*, Damage> kinds[] = {{"garbage", Damage::Garbage},
                                                        {"empty", Damage::Empty},
                                                        {"huge", Damage::Huge},
                                                        {"unreadable", Damage::Unreadable}};
        for (const char* file : files)
            for (const auto& [name, how] : kinds)
                QTest::addRow("%s, %s", file, name) << QString(file) << int(how);
        QTest::newRow("Maps, a file") << "Maps" << int(Damage::Garbage);
    }

    void pagesLoadWhateverTheOtherFilesHold()
    {
        QFETCH(QString, file);
        QFETCH(int, how);
        TempGame game;
        TempProgramDir program(configuredProgram(game.systemDir()));
        const bool config = file == "program/Corvane2003.ini";
        const QString path = file.startsWith("program/") ? program.dir() + file.mid(8) : game.root() + file;
        if (file == "Maps") QDir(path).removeRecursively();
        damage(path, Damage(how));

        Script script;
        MessageBox::agreeToEveryOtherBox();
        if (config)
            script.dialog([&](QDialog& d) { // a configuration without the game's place: the setup asks for it
                auto& init = dynamic_cast<TfrmInit&>(d);
                init.dirEdit->setText(game.root());
                init.cbAutoBackup->setChecked(false);
                init.cbUpdates->setChecked(false);
                init.cbShowReadme->setChecked(false);
                return int(QDialog::Accepted);
            });
        TfrmMain main(testEnvironment(program));
        QVERIFY(script.allShown());
        if (config && Damage(how) == Damage::Unreadable) return; // nowhere to keep the answers: pages stay disabled
        QVERIFY(main.runTime().PagesLoaded);
        QCOMPARE(child<QLineEdit>(&main, "edtPlayername")->text(), QStringLiteral("DemoPlayer"));
        QVERIFY(!child<QComboBox>(&main, "pickGameType")->currentText().isEmpty());
        QVERIFY(!child<QLineEdit>(&main, "edtA")->text().isEmpty() ||
                !child<QLineEdit>(&main, "edtW")->text().isEmpty());
    }
};

int main(int argc, char** argv)
{
    CorvaneApplication app(argc, argv);
    TestBadInput test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_badinput.moc"
