// The Save of every page against its list of pending changes: seeded random
// edits on every page of the program, then the list is compared with what
// the Save does to both profile files, byte for byte.

#include "app/CorvaneApplication.h"
#include "app/PageSet.h"
#include "pages/PageContext.h"
#include "pages/SettingsPage.h"
#include "pages/player/WeaponPriority.h"
#include "profile/FaultInjection.h"
#include "profile/IniEdits.h"
#include "tests/support/MainWindowHarness.h"
#include "tests/support/PageContract.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <map>
#include <random>

using namespace TestSupport;

namespace {

// The program's own pages over a copy of the demo game, built without a window.
struct Pages {
    OpenDemoGame demo;
    RecordingShell shell;
    PageContext context{demo.rt, shell, {}};
    PageSet pages{context, {}};

    Pages()
    {
        for (const PageRegistry::StartupStep& step : PageRegistry::startupOrder())
            pages.loadPage(step.id);
        demo.rt.PagesLoaded = true;
    }
};

// Moves a row's control to a random value it can hold: text in the game's
// code page, a position in the control's range, another item or option.
void edit(const Binding::Row& row, std::mt19937& random)
{
    const auto pick = [&](int n) { return n > 0 ? int(random() % unsigned(n)) : 0; };
    // A value among the first `most` of [low, high]; a range may span all of int.
    const auto within = [&](int low, int high, qint64 most) {
        const qint64 span = std::min(qint64(high) - low + 1, most);
        return int(low + qint64(random() % quint64(span)));
    };
    QWidget* control = row.control;
    if (row.form == Binding::Form::Choice && !row.options.empty() && row.options.front().button) {
        row.options[std::size_t(pick(int(row.options.size())))].button->click();
    } else if (auto* box = qobject_cast<QAbstractButton*>(control)) {
        box->setChecked(!box->isChecked());
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        slider->setValue(within(slider->minimum(), slider->maximum(), 1000000));
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(within(spin->minimum(), spin->maximum(), 1000));
    } else if (auto* field = qobject_cast<QLineEdit*>(control)) {
        field->setText(pick(4) == 0 ? QString() : QStringLiteral("v%1 x").arg(pick(100)));
    } else if (auto* list = qobject_cast<QComboBox*>(control)) {
        if (list->count() > 0) list->setCurrentIndex(pick(list->count()));
        if (list->isEditable() && pick(4) == 0) list->setEditText(QStringLiteral("typed %1").arg(pick(9)));
    } else if (auto* maps = qobject_cast<QListWidget*>(control); maps && maps->count() > 0) {
        maps->setCurrentRow(pick(maps->count()));
    } else if (auto* weapons = qobject_cast<WeaponPriority*>(control)) {
        weapons->selectRow(2 + pick(weapons->rowCount() - 3));
        weapons->sbtnUpClick();
    } else if (auto* aliases = qobject_cast<QTableWidget*>(control)) {
        aliases->item(pick(46), 1)->setText(QStringLiteral("(Command=\"say %1\",Alias=\"A%1\")").arg(pick(100)));
    }
}

} // namespace

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
            Pages p;
            for (const PageInfo& info : PageRegistry::pages()) {
                const SettingsPage* page = p.pages.page(info.id);
                if (!page || !page->bindings()) continue;
                for (const Binding::Row& row : page->bindings()->rows())
                    if (random() % 5 == 0) edit(row, random);
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
        Pages p;
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
