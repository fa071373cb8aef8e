// The Save of every page against its list of pending changes: seeded random
// edits on every page of the program, then the list is compared with what
// the Save does to both profile files, byte for byte.

#include "app/CorvaneApplication.h"
#include "pages/SettingsPage.h"
#include "profile/FaultInjection.h"
#include "profile/IniEdits.h"
#include "tests/support/AllPages.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

#include <map>
#include <random>

using namespace TestSupport;

class TestSave : public QObject {
    Q_OBJECT

private slots:
    // The pending list names every key whose bytes the Save changes, with its
    // value on disk and the value written, and nothing else: applying the
    // list to the files as they were gives the files as the Save left them.
    // The Save replaces a file at most once, and not at all when nothing in
    // it changes.
    void pendingChangesAreWhatTheSaveDoes()
    {
        std::mt19937 random(2003);
        for (int round = 0; round < 12; ++round) {
            AllPages p;
            for (const PageInfo& info : PageRegistry::pages()) {
                const SettingsPage* page = p.pages.page(info.id);
                if (!page || !page->bindings()) continue;
                for (const Binding::Row& row : page->bindings()->rows())
                    if (random() % 5 == 0) editRandomly(row, random);
            }
            const std::string files[] = {p.demo.game.userIni().toStdString(), p.demo.game.gameIni().toStdString()};
            std::map<std::string, std::string> before;
            for (const std::string& file : files)
                before[file] = readFile(QString::fromStdString(file)).toStdString();

            const std::vector<PendingWrite> pending = p.pages.pendingWrites();
            std::map<std::string, int> replaced;
            FaultInjection::setHook([&](FaultInjection::Operation op, const std::string& path) {
                if (op == FaultInjection::Operation::Write) ++replaced[path];
                return true;
            });
            const bool saved = p.pages.SaveAllPages();
            FaultInjection::setHook({});
            QVERIFY(saved);

            const QString where = QStringLiteral("round %1").arg(round);
            for (const std::string& file : files) {
                const std::string now = readFile(QString::fromStdString(file)).toStdString();
                std::string expected = before[file];
                std::vector<IniEdits::Write> listed;
                for (const PendingWrite& w : pending) {
                    if (w.file != file) continue;
                    const auto old = IniEdits::valueOf(before[file], w.section, w.key);
                    QVERIFY2(old.has_value() == w.onDisk.has_value() && (!old || *old == *w.onDisk),
                             qPrintable(where + ": value on disk of " + QString::fromStdString(w.key)));
                    QVERIFY2(IniEdits::valueOf(now, w.section, w.key) == std::string_view(w.written),
                             qPrintable(where + ": value written to " + QString::fromStdString(w.key)));
                    listed.push_back({w.section, w.key, w.written});
                }
                IniEdits::apply(expected, listed);
                QVERIFY2(now == expected, qPrintable(where + ": the Save changed what the list does not name in " +
                                                     QString::fromStdString(file)));
                QVERIFY2(replaced[file] <= 1, qPrintable(where + ": replaced more than once"));
                QVERIFY2(replaced[file] == (listed.empty() ? 0 : 1),
                         qPrintable(where + ": a file with nothing to change was replaced, or one with changes not"));
            }
            QVERIFY(!p.pages.AnyPageChanged());
            QVERIFY(p.pages.pendingWrites().empty());
        }
    }

    // A Save that cannot write a file (a full disk) leaves both files as
    // they were: all of its keys or none, and says so. No page counts as saved.
    void aFailedSaveWritesNothingOfItsFile()
    {
        AllPages p;
        child<QLineEdit>(p.pages.page(PageId::KeyBinds), "edtA")->setText("Jump");
        child<QLineEdit>(p.pages.page(PageId::General), "edtPlayername")->setText("Other");
        auto* eax = child<QAbstractButton>(p.pages.page(PageId::GameSettings), "cbEAX");
        eax->setChecked(!eax->isChecked());
        const QByteArray user = readFile(p.demo.game.userIni()), game = readFile(p.demo.game.gameIni());
        FaultInjection::setHook([](FaultInjection::Operation op, const std::string& path) {
            return op != FaultInjection::Operation::Write || path.find("User.ini") == std::string::npos;
        });
        Script script;
        script.box(MessageBox::Kind::Error,
                   "Error occured:Unable to write to " + p.demo.game.userIni() +
                       "\nNothing has been changed: the profiles are as they were",
                   MessageBox::Buttons::Ok);
        QVERIFY(!p.pages.SaveAllPages());
        FaultInjection::setHook({});
        QVERIFY(script.allShown());
        QCOMPARE(readFile(p.demo.game.userIni()), user);
        QCOMPARE(readFile(p.demo.game.gameIni()), game);
        QVERIFY(p.pages.page(PageId::KeyBinds)->changed() && p.pages.page(PageId::General)->changed());
    }
};

int main(int argc, char** argv)
{
    CorvaneApplication app(argc, argv);
    TestSave test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_save.moc"
