// Every page and dialog works from the keyboard: Tab reaches each control
// that takes input, in an order that finishes one group before the next, and
// each control tells a screen reader its name.

#include "app/fMain.h"
#include "backup/fIniManager.h"
#include "dialogs/dlgInit.h"
#include "dialogs/fAbout.h"
#include "dialogs/fReadme.h"
#include "dialogs/fTaunts.h"
#include "pages/ini_text/SearchInput.h"
#include "tests/support/MainWindowHarness.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

#include <memory>

using namespace TestSupport;

namespace {

// A control the user gives input to, not a part of another control (the
// editor inside a spin box, a line edit's button, which has its shortcut, a
// scroll area's bars, a table's headers) nor a tool bar button, whose command the menu holds.
bool takesInput(const QWidget* w)
{
    const bool input = qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QAbstractSlider*>(w) ||
                       qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
                       qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
                       qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w);
    if (!input || qobject_cast<const QScrollBar*>(w)) return false;
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QLineEdit*>(p) || qobject_cast<const QAbstractItemView*>(p) ||
            qobject_cast<const QToolBar*>(p) || qobject_cast<const QMenuBar*>(p) || qobject_cast<const QTabBar*>(p))
            return false;
    return true;
}

// The widgets Tab stops at, in order, as QWidget::focusNextPrevChild picks
// them: along the window's focus chain, those that take Tab focus and can be
// seen and used.
QList<QWidget*> tabStops(QWidget* window)
{
    QList<QWidget*> stops;
    for (QWidget* w = window->nextInFocusChain(); w != window; w = w->nextInFocusChain()) {
        if (w->window() != window || !w->isVisibleTo(window) || !w->isEnabled() || w->focusProxy()) continue;
        if ((w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus) stops << w;
    }
    return stops;
}

QString describe(const QWidget* w)
{
    const QString name = w->objectName().isEmpty() ? QStringLiteral("(unnamed)") : w->objectName();
    return name + ':' + QString::fromLatin1(w->metaObject()->className());
}

QList<QGroupBox*> groupsOf(QWidget* w)
{
    QList<QGroupBox*> groups;
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* group = qobject_cast<QGroupBox*>(p)) groups << group;
    return groups;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    TempGame m_game;
    std::unique_ptr<TempProgramDir> m_program;
    std::unique_ptr<TfrmMain> m_main;
    std::shared_ptr<FakeRegistry> m_registry = std::make_shared<FakeRegistry>();
    std::unique_ptr<TIniFile> m_config;
    RecordingShell m_shell;

    // The window a row names, shown; `area` is the part whose controls count.
    std::unique_ptr<QWidget> open(const QString& row, QWidget*& window, QWidget*& area)
    {
        std::unique_ptr<QWidget> owned;
        if (row.startsWith("tab")) {
            auto* tabs = m_main->findChild<QTabWidget*>("PageCtrl");
            QWidget* tab = tabs->findChild<QWidget*>(row);
            tabs->setCurrentWidget(tab);
            window = m_main.get();
            area = tab;
            return owned;
        }
        if (row == "TfrmInit") owned = std::make_unique<TfrmInit>(*m_registry, *m_config);
        if (row == "TfrmInit with installations found")
            owned = std::make_unique<TfrmInit>(*m_registry, *m_config,
                                               std::vector<platform::FoundInstallation>{{"Lutris", "/games/ut2003"}});
        if (row == "TfrmIniManager")
            owned = std::make_unique<TfrmIniManager>(
                BackupPlace{m_game.systemDir().toStdString(), "User.ini", true, QDate(2026, 12, 8), {}, {}}, [] {});
        if (row == "TfrmAbout") owned = std::make_unique<TfrmAbout>(m_shell, QStringLiteral("1.2"));
        if (row == "TfrmReadme") owned = std::make_unique<TfrmReadme>(sourceDir() + "/data/program/");
        if (row == "TfrmTaunts") owned = std::make_unique<TfrmTaunts>();
        if (row == "SearchInput") owned = std::make_unique<SearchInput>();
        owned->show();
        window = area = owned.get();
        return owned;
    }

private slots:
    void initTestCase()
    {
        m_program = std::make_unique<TempProgramDir>(configuredProgram(m_game.systemDir()));
        m_config = std::make_unique<TIniFile>((m_program->dir() + "fresh.ini").toStdString());
        writeFile(m_game.systemDir() + "User_" + QStringLiteral("2026-12-08") + ".INI", readFile(m_game.userIni()));
        MessageBox::startScript({});
        ModalRunner::startScript({});
        m_main = std::make_unique<TfrmMain>(testEnvironment(*m_program));
        m_main->show();
    }
    void cleanupTestCase() { m_main.reset(); }

    void reachesEveryControl_data()
    {
        QTest::addColumn<QString>("row");
        for (const PageInfo& page : PageRegistry::pages())
            QTest::newRow(page.tabName) << QString::fromLatin1(page.tabName);
        for (const char* dialog : {"TfrmInit", "TfrmInit with installations found", "TfrmIniManager", "TfrmAbout",
                                   "TfrmReadme", "TfrmTaunts", "SearchInput"})
            QTest::newRow(dialog) << QString::fromLatin1(dialog);
    }
    void reachesEveryControl()
    {
        QFETCH(QString, row);
        QWidget* window = nullptr;
        QWidget* area = nullptr;
        const std::unique_ptr<QWidget> owned = open(row, window, area);
        QApplication::processEvents();
        const QList<QWidget*> stops = tabStops(window);
        QStringList unreached, nameless;
        for (QWidget* w : area->findChildren<QWidget*>()) {
            if (!takesInput(w) || !w->isVisibleTo(window) || !w->isEnabled()) continue;
            if (!stops.contains(w)) unreached << describe(w);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            if (!a || a->text(QAccessible::Name).trimmed().isEmpty()) nameless << describe(w);
        }
        QVERIFY2(unreached.isEmpty(), qPrintable("not reached by Tab: " + unreached.join(", ")));
        QVERIFY2(nameless.isEmpty(), qPrintable("without an accessible name: " + nameless.join(", ")));

        // Tab finishes a group before it goes on: once it has left a group
        // box, it does not come back to it.
        QList<QGroupBox*> left;
        QList<QGroupBox*> inside;
        for (QWidget* w : stops) {
            if (!area->isAncestorOf(w)) continue;
            const QList<QGroupBox*> groups = groupsOf(w);
            for (QGroupBox* group : inside)
                if (!groups.contains(group)) left << group;
            for (QGroupBox* group : groups)
                QVERIFY2(!left.contains(group),
                         qPrintable("Tab comes back into " + describe(group) + " at " + describe(w)));
            inside = groups;
        }
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
