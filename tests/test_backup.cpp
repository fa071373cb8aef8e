// Dated backups of the profile files and the backup manager, on a copy of the
// demo game.
#include "backup/fIniManager.h"
#include "core/BackupProfiles.h"
#include "core/ProfileRestore.h"
#include "dialogs/OutcomeBoxes.h"
#include "platform/DateText.h"
#include "profile/FaultInjection.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {

const QDate Day(2026, 12, 8);
const QString ResetQuestion =
    "The current settings will be backupped\nAre you sure you want to restore the default settings?";
const QString Heading = "The following INI files have been backupped: (showing new files)\n";
const QString RestoreQuestion =
    "The current settings will be backupped\nAre you sure you want to restore the 12-8-2026 settings?";
const QString CopyFailed = "Could not copy the files\nSettings have not been restored";

struct Daily {
    bool oldUser = false, oldGame = false, readOnly = false; // today's backups already there
    bool replace = false;                                    // the answer, and the outcome
};
struct Asking {
    bool askBackup = false, alwaysAsk = false, showResult = false, yes = false, copiesFail = false;
};
struct Restore {
    bool bakBlocked = false, goOn = false, datedUserUnreadable = false, datedGameMissing = false;
    bool restored = false;
};

Answer yesNo(bool yes) { return yes ? Answer::Yes : Answer::No; }

struct Fixture {
    TempGame game;
    QString sys = game.systemDir();
    QString datedUser = sys + "User_" + platform::todayText(Day) + ".INI";
    QString datedGame = sys + "UT2003_" + platform::todayText(Day) + ".INI";
    QByteArray user = readFile(game.userIni());
    QByteArray ut2003 = readFile(game.gameIni());
    int reloads = 0;

    BackupPlace place(bool ask = false, const char* userFile = "User.ini") const
    {
        return {sys.toStdString(), userFile, ask, Day, {}, {}};
    }
    void backup(const BackupPlace& at, bool showResult, bool alwaysAsk = false)
    {
        tellOutcome(BackupProfiles(at, showResult, boxQuestions(), alwaysAsk));
    }
    // A reset of the pair whose user file is `userFile`, its reloads counted.
    void reset(const char* userFile)
    {
        const RestoreOutcome outcome = restoreProfiles(place(false, userFile), defaultsRestore(sys.toStdString()),
                                                       boxQuestions());
        if (outcome.done) ++reloads;
        tellOutcome(outcome);
    }
    // A manager whose page reloads are counted, over the dated pair of 12-8-2026.
    std::unique_ptr<TfrmIniManager> manager(bool withDatedGame = true, const char* userFile = "User.ini")
    {
        writeFile(sys + "User_12-8-2026.INI", "restored user");
        if (withDatedGame) writeFile(sys + "UT2003_12-8-2026.INI", "restored game");
        return std::make_unique<TfrmIniManager>(place(false, userFile), [this] { ++reloads; });
    }
};

// The names the System directory lost at some moment: deleted or renamed away.
class RemovalWatch {
public:
    explicit RemovalWatch(const QString& dir)
        : m_fd(inotify_init1(IN_NONBLOCK))
    {
        inotify_add_watch(m_fd, QFile::encodeName(dir).constData(), IN_DELETE | IN_MOVED_FROM);
    }
    ~RemovalWatch() { ::close(m_fd); }
    bool removedAny(const QStringList& names) const
    {
        alignas(inotify_event) char buffer[8192];
        bool removed = false;
        for (ssize_t n; (n = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (const char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                removed = removed || names.contains(QFile::decodeName(event->name));
                p += sizeof(inotify_event) + event->len;
            }
        }
        return removed;
    }

private:
    int m_fd;
};

} // namespace

Q_DECLARE_METATYPE(Daily)
Q_DECLARE_METATYPE(Asking)
Q_DECLARE_METATYPE(Restore)

class TestBackup : public QObject {
    Q_OBJECT

private slots:
    void dailyPair_data()
    {
        QTest::addColumn<Daily>("c");
        QTest::newRow("none of today") << Daily{.replace = true};
        QTest::newRow("both of today, Yes") << Daily{.oldUser = true, .oldGame = true, .replace = true};
        QTest::newRow("both of today, No") << Daily{.oldUser = true, .oldGame = true};
        QTest::newRow("only UT2003_ of today") << Daily{.oldGame = true, .replace = true};
        QTest::newRow("read-only User_ of today, Yes") << Daily{.oldUser = true, .readOnly = true, .replace = true};
    }
    void dailyPair()
    {
        QFETCH(Daily, c);
        const auto [oldUser, oldGame, readOnly, replace] = c;
        Fixture f;
        if (oldUser) writeFile(f.datedUser, "old user");
        if (oldGame) writeFile(f.datedGame, "old game");
        if (readOnly) QFile::setPermissions(f.datedUser, QFile::ReadOwner);
        Script script;
        if (oldUser)
            script.box(Kind::Confirm, "Found a backup from today, do you want to override this one?", Buttons::YesNo,
                       yesNo(replace));
        if (replace) script.box(Kind::Information, Heading + f.datedUser + "\n" + f.datedGame, Buttons::Ok);
        f.backup(f.place(), true);
        QVERIFY(script.allShown());
        QCOMPARE(readFile(f.datedUser), replace ? f.user : QByteArray("old user"));
        QCOMPARE(readFile(f.datedGame), replace ? f.ut2003 : QByteArray("old game"));
    }

    void userFileSaved_data()
    {
        QTest::addColumn<bool>("writeCustom");
        QTest::addColumn<bool>("removeProfiles");
        QTest::newRow("custom user file, other letter case") << true << false;
        QTest::newRow("custom file missing: User.ini") << false << false;
        QTest::newRow("neither profile") << false << true;
    }
    void userFileSaved()
    {
        QFETCH(bool, writeCustom);
        QFETCH(bool, removeProfiles);
        Fixture f;
        if (writeCustom) writeFile(f.sys + "Custom.ini", "custom");
        if (removeProfiles) QVERIFY(QFile::remove(f.game.userIni()) && QFile::remove(f.game.gameIni()));
        Script script;
        script.box(Kind::Information, removeProfiles ? Heading : QString(), Buttons::Ok);
        f.backup(f.place(false, "CUSTOM.ini"), true);
        QVERIFY(script.allShown());
        QCOMPARE(readFile(f.datedUser), removeProfiles ? QByteArray() : writeCustom ? QByteArray("custom") : f.user);
    }

    // The current user file named as one of today's backups (opened as a
    // custom user file) is never deleted or written over: as today's user
    // backup it already is one, as today's UT2003 backup it is not replaced
    // by UT2003.INI.
    void userFileIsTodaysBackup_data()
    {
        QTest::addColumn<bool>("asUserBackup");
        QTest::newRow("User_<today>.INI, Yes to everything") << true;
        QTest::newRow("UT2003_<today>.INI") << false;
    }
    void userFileIsTodaysBackup()
    {
        QFETCH(bool, asUserBackup);
        Fixture f;
        const QString current = asUserBackup ? f.datedUser : f.datedGame;
        writeFile(current, "the current user file");
        const QString name = QFileInfo(current).fileName().toLower(); // as typed into the open dialog
        Script script;
        if (asUserBackup)
            script.box(Kind::Information, Heading + f.datedUser + "\n" + f.datedGame, Buttons::Ok);
        else
            script.box(Kind::Warning,
                       "Could not backup the following file(s): \n" + f.sys + "UT2003.ini" +
                           "\n\nPlease backup the file(s) manually",
                       Buttons::Ok);
        MessageBox::agreeToEveryOtherBox();
        f.backup(f.place(false, name.toUtf8().constData()), true);
        QVERIFY(script.allShown());
        QCOMPARE(readFile(current), QByteArray("the current user file"));
        if (asUserBackup) QCOMPARE(readFile(f.datedGame), f.ut2003);
        if (!asUserBackup) QCOMPARE(readFile(f.datedUser), QByteArray("the current user file"));
    }

    void askFirst_data()
    {
        QTest::addColumn<Asking>("c");
        QTest::newRow("AskBackup on, No") << Asking{.askBackup = true, .showResult = true};
        QTest::newRow("AskBackup on, Yes") << Asking{.askBackup = true, .showResult = true, .yes = true};
        QTest::newRow("preset with AskBackup off, No") << Asking{.alwaysAsk = true, .showResult = true};
        QTest::newRow("start-up with AskBackup off") << Asking{.yes = true};
        QTest::newRow("start-up, copies fail") << Asking{.yes = true, .copiesFail = true};
    }
    void askFirst()
    {
        QFETCH(Asking, c);
        const auto [askBackup, alwaysAsk, showResult, yes, copiesFail] = c;
        Fixture f;
        if (copiesFail) QVERIFY(QDir().mkdir(f.datedUser) && QDir().mkdir(f.datedGame)); // no copy can take its place
        Script script;
        if (askBackup || alwaysAsk)
            script.box(Kind::Confirm, "Do you want to make a backup now?", Buttons::YesNo, yesNo(yes));
        if (copiesFail)
            script.box(Kind::Warning,
                       "Could not backup the following file(s): \n" + f.game.userIni() + "\n" + f.game.gameIni() +
                           "\n\nPlease backup the file(s) manually",
                       Buttons::Ok);
        else if (yes && showResult)
            script.box(Kind::Information, {}, Buttons::Ok);
        f.backup(f.place(askBackup), showResult, alwaysAsk);
        QVERIFY(script.allShown());
        QCOMPARE(QFile::exists(f.datedUser) && QFile::exists(f.datedGame), yes);
    }

    void listing()
    {
        Fixture f;
        for (const char* name : {"user_1-1-2026.ini", "USER_.INI", "UT2003_5-5-2026.INI"})
            writeFile(f.sys + name, "x");
        QVERIFY(QDir().mkdir(f.sys + "User_folder.INI"));
        auto manager = f.manager();
        QStringList inDirectoryOrder, rows;
        for (const QString& name : QDir(f.sys).entryList({"USER_*.INI"}, QDir::Files, QDir::Unsorted))
            inDirectoryOrder << name.mid(5, name.size() - 9);
        for (int i = 0; i < manager->treelist->topLevelItemCount(); ++i)
            rows << manager->treelist->topLevelItem(i)->text(0);
        QCOMPARE(rows, inDirectoryOrder);
        rows.sort();
        QCOMPARE(rows, QStringList({"", "1-1-2026", "12-8-2026"}));
    }

    // A restore replaces the open pair (here a custom user file and
    // UT2003.ini) or neither, and a dated pair that cannot be read whole
    // changes nothing, not even the .BAK copies.
    void restore_data()
    {
        QTest::addColumn<Restore>("c");
        QTest::newRow("restored") << Restore{.restored = true};
        QTest::newRow("UT2003_ missing") << Restore{.datedGameMissing = true};
        QTest::newRow("User_ unreadable") << Restore{.datedUserUnreadable = true};
        QTest::newRow("no .BAK, No") << Restore{.bakBlocked = true};
        QTest::newRow("no .BAK, go on") << Restore{.bakBlocked = true, .goOn = true, .restored = true};
        QTest::newRow("no .BAK, UT2003_ missing") << Restore{.bakBlocked = true, .datedGameMissing = true};
    }
    void restore()
    {
        QFETCH(Restore, c);
        const auto [bakBlocked, goOn, datedUserUnreadable, datedGameMissing, restored] = c;
        const bool sourcesThere = !datedUserUnreadable && !datedGameMissing;
        Fixture f;
        writeFile(f.sys + "Custom.ini", "custom");
        const QDate edited(2025, 3, 4);
        QFile userIni(f.sys + "Custom.ini");
        QVERIFY(userIni.open(QIODevice::ReadWrite));
        QVERIFY(userIni.setFileTime(QDateTime(edited, QTime(12, 0)), QFileDevice::FileModificationTime));
        userIni.close();
        if (bakBlocked) QVERIFY(QDir().mkdir(f.sys + "Custom.BAK"));
        auto manager = f.manager(!datedGameMissing, "Custom.ini");
        QVERIFY(!manager->btnBAK->isEnabled());
        if (datedUserUnreadable) // listed, then gone unreadable
            QVERIFY(QFile::remove(f.sys + "User_12-8-2026.INI") && QDir().mkdir(f.sys + "User_12-8-2026.INI"));
        manager->treelist->topLevelItem(0)->setSelected(true);
        Script script;
        script.box(Kind::Confirm, RestoreQuestion, Buttons::YesNo, Answer::Yes);
        if (sourcesThere && bakBlocked)
            script.box(Kind::Warning, "Could not backup the current INI files\nWant to continue anyway?",
                       Buttons::YesNo, yesNo(goOn));
        if (restored)
            script.box(Kind::Information,
                       "The settings are restored\nYour previous settings are now in the Custom.BAK and UT2003.BAK "
                       "files",
                       Buttons::Ok);
        else if (!bakBlocked || !sourcesThere)
            script.box(Kind::Warning, CopyFailed, Buttons::Ok);
        const RemovalWatch watch(f.sys);
        manager->btnRestoreClick();
        QVERIFY(script.allShown());
        // At no moment was the game without its profile files.
        QVERIFY(!watch.removedAny({"Custom.ini", "UT2003.ini"}));
        QCOMPARE(readFile(f.sys + "Custom.ini") + readFile(f.game.gameIni()),
                 restored ? QByteArray("restored userrestored game") : "custom" + f.ut2003);
        QCOMPARE(readFile(f.game.userIni()), f.user); // a user file that is not open is never written
        QCOMPARE(f.reloads, restored ? 1 : 0);
        if (!bakBlocked) {
            QCOMPARE(QFile::exists(f.sys + "Custom.BAK"), sourcesThere);
            QVERIFY(!QFile::exists(f.sys + "User.BAK"));
            if (sourcesThere) {
                QCOMPARE(readFile(f.sys + "Custom.BAK") + readFile(f.sys + "UT2003.BAK"), "custom" + f.ut2003);
                QCOMPARE(manager->btnBAK->text(), "Restore the .BAK files (" + platform::todayText(edited) + ")");
            }
        }
    }

    void bakFilesPutBack()
    {
        Fixture f;
        writeFile(f.sys + "User.BAK", "bak user");
        writeFile(f.sys + "UT2003.BAK", "bak game");
        auto manager = f.manager();
        QVERIFY(manager->btnBAK->isEnabled());
        const QString question = "Your current settings will be replaced by those in the .BAK files\n"
                                 "Are you sure you want to restore the .BAK files?";
        Script script;
        script.box(Kind::Confirm, question, Buttons::YesNo, Answer::No);
        manager->btnBAK->click();
        QCOMPARE(readFile(f.game.userIni()) + readFile(f.game.gameIni()), f.user + f.ut2003);
        script.box(Kind::Confirm, question, Buttons::YesNo, Answer::Yes)
            .box(Kind::Information, "The settings are restored from the User.BAK and UT2003.BAK files", Buttons::Ok);
        manager->btnBAK->click();
        QCOMPARE(readFile(f.game.userIni()) + readFile(f.game.gameIni()), QByteArray("bak userbak game"));
        QVERIFY(QFile::exists(f.sys + "User.BAK") && QFile::exists(f.sys + "UT2003.BAK"));
        // Half a pair restores nothing.
        QVERIFY(QFile::remove(f.sys + "UT2003.BAK"));
        writeFile(f.sys + "User.BAK", "newer bak user");
        script.box(Kind::Confirm, question, Buttons::YesNo, Answer::Yes).box(Kind::Warning, CopyFailed, Buttons::Ok);
        manager->btnBAKClick();
        QVERIFY(script.allShown());
        QCOMPARE(readFile(f.game.userIni()) + readFile(f.game.gameIni()), QByteArray("bak userbak game"));
        QCOMPARE(f.reloads, 1);
    }

    void rowsDeletedAndAdded()
    {
        Fixture f;
        auto manager = f.manager();
        manager->show();
        QTreeWidget* list = manager->treelist;
        Script script;
        manager->btnDel->click(); // nothing selected: nothing asked, nothing done
        manager->btnRestore->click();
        const QPoint row = list->visualItemRect(list->topLevelItem(0)).center();
        QTest::mouseClick(list->viewport(), Qt::RightButton, {}, row);
        QVERIFY(list->topLevelItem(0)->isSelected());
        const QString deleteQuestion = "Are you sure you want to delete the backup from 12-8-2026";
        script.box(Kind::Confirm, RestoreQuestion, Buttons::YesNo, Answer::No)
            .box(Kind::Confirm, deleteQuestion, Buttons::YesNo, Answer::No)
            .box(Kind::Confirm, deleteQuestion, Buttons::YesNo, Answer::Yes);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
        manager->btnDelClick();
        QCOMPARE(list->topLevelItemCount(), 1);
        manager->btnDelClick();
        QVERIFY(script.allShown());
        QCOMPARE(list->topLevelItemCount(), 0);
        QVERIFY(!QFile::exists(f.sys + "User_12-8-2026.INI") && !QFile::exists(f.sys + "UT2003_12-8-2026.INI"));
        QCOMPARE(readFile(f.game.userIni()), f.user);
        script.box(Kind::Information, {}, Buttons::Ok); // a new backup is listed at once
        manager->btnBackupClick();
        QVERIFY(script.allShown());
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), platform::todayText(Day));
    }

    // Reset to the game's defaults: a custom user file is the one replaced
    // and backed up under its own .BAK name, a second reset overwrites the
    // .BAK copies, and without
    // Default.ini nothing changes and no profile file is ever missing.
    void resetReplacesTheCurrentUserFile()
    {
        Fixture f;
        writeFile(f.sys + "Custom.ini", "custom");
        writeFile(f.sys + "DefUser.ini", "default user");
        const QByteArray defaultGame = readFile(f.sys + "Default.ini");
        const QString done = "The settings are back to default now\nYour old settings are now in the Custom.BAK and "
                             "UT2003.BAK files";
        Script script;
        for (int run = 0; run < 2; ++run)
            script.box(Kind::Confirm, ResetQuestion, Buttons::YesNo, Answer::Yes)
                .box(Kind::Information, done, Buttons::Ok);
        f.reset("Custom.ini");
        QCOMPARE(readFile(f.sys + "Custom.ini"), QByteArray("default user"));
        QCOMPARE(readFile(f.game.userIni()), f.user);
        QCOMPARE(readFile(f.sys + "Custom.BAK"), QByteArray("custom"));
        QVERIFY(!QFile::exists(f.sys + "User.BAK"));
        writeFile(f.sys + "Custom.ini", "edited after the reset");
        f.reset("Custom.ini");
        QVERIFY(script.allShown());
        QCOMPARE(readFile(f.sys + "Custom.BAK"), QByteArray("edited after the reset"));
        QCOMPARE(readFile(f.sys + "UT2003.BAK"), defaultGame);
        QCOMPARE(f.reloads, 2);
    }

    // Without Default.ini nothing is copied: not the .BAK pair, and never
    // the .BAK files an earlier reset left over the profiles.
    void resetWithoutDefaultsKeepsTheProfiles()
    {
        Fixture f;
        QVERIFY(QFile::remove(f.sys + "Default.ini"));
        writeFile(f.sys + "User.BAK", "stale user");
        writeFile(f.sys + "UT2003.BAK", "stale game");
        Script script;
        script.box(Kind::Confirm, ResetQuestion, Buttons::YesNo, Answer::Yes)
            .box(Kind::Warning,
                 "Could not copy the DefUser.ini and/or Default.ini\nSettings have not been restored "
                 "to default",
                 Buttons::Ok);
        const RemovalWatch watch(f.sys);
        f.reset("User.ini");
        QVERIFY(script.allShown());
        QVERIFY(!watch.removedAny({"User.ini", "UT2003.ini"}));
        QCOMPARE(readFile(f.game.userIni()), f.user);
        QCOMPARE(readFile(f.game.gameIni()), f.ut2003);
        QCOMPARE(readFile(f.sys + "User.BAK") + readFile(f.sys + "UT2003.BAK"), QByteArray("stale userstale game"));
        QCOMPARE(f.reloads, 0);

        script.box(Kind::Confirm, ResetQuestion, Buttons::YesNo, Answer::No);
        f.reset("User.ini");
        QVERIFY(script.allShown());
    }

    // A backup step that fails (a full disk at its last copy) or is refused
    // leaves every earlier backup as it was: the .BAK pair of a restore, the
    // dated pair of the day.
    void failedBackupsKeepTheEarlierOnes_data()
    {
        QTest::addColumn<bool>("bak");
        QTest::newRow(".BAK pair, restore answered No") << true;
        QTest::newRow("dated pair of today") << false;
    }
    void failedBackupsKeepTheEarlierOnes()
    {
        QFETCH(bool, bak);
        Fixture f;
        const QStringList names = bak ? QStringList{"User.BAK", "UT2003.BAK"} : QStringList{f.datedUser, f.datedGame};
        QStringList paths;
        for (const QString& name : names)
            paths << (name.startsWith('/') ? name : f.sys + name);
        for (const QString& path : paths)
            writeFile(path, "earlier " + path.toUtf8());
        const QString full = paths.last();
        FaultInjection::setHook([&](FaultInjection::Operation op, const std::string& path) {
            return op != FaultInjection::Operation::Write || QString::fromStdString(path) != full;
        });
        Script script;
        if (bak) {
            auto manager = f.manager();
            manager->treelist->topLevelItem(0)->setSelected(true);
            script.box(Kind::Confirm, RestoreQuestion, Buttons::YesNo, Answer::Yes)
                .box(Kind::Warning, "Could not backup the current INI files\nWant to continue anyway?", Buttons::YesNo,
                     Answer::No);
            manager->btnRestoreClick();
        } else {
            script.box(Kind::Confirm, "Found a backup from today, do you want to override this one?", Buttons::YesNo,
                       Answer::Yes)
                .box(Kind::Warning, {}, Buttons::Ok);
            f.backup(f.place(), true);
        }
        FaultInjection::setHook({});
        QVERIFY(script.allShown());
        for (const QString& path : paths)
            QCOMPARE(readFile(path), "earlier " + path.toUtf8());
        QCOMPARE(readFile(f.game.userIni()), f.user);
    }

    // Copies are no more readable than the profile they copy: a UT2003.ini
    // kept private (it may hold a server's admin password) stays so in its
    // .BAK and dated copies.
    void copiesKeepTheProfilesPrivacy()
    {
        Fixture f;
        QVERIFY(::chmod(QFile::encodeName(f.game.gameIni()).constData(), 0600) == 0);
        writeFile(f.sys + "UT2003.BAK", "an older, public copy");
        QVERIFY(::chmod(QFile::encodeName(f.sys + "UT2003.BAK").constData(), 0644) == 0);
        Script script;
        script.box(Kind::Information, {}, Buttons::Ok);
        f.backup(f.place(), true);
        script.box(Kind::Confirm, ResetQuestion, Buttons::YesNo, Answer::Yes).box(Kind::Information, {}, Buttons::Ok);
        f.reset("User.ini");
        QVERIFY(script.allShown());
        for (const QString& copy : {f.datedGame, f.sys + "UT2003.BAK"}) {
            struct stat st {};
            QVERIFY(::stat(QFile::encodeName(copy).constData(), &st) == 0);
            QCOMPARE(st.st_mode & 0777, mode_t(0600));
        }
    }

    // The open user file is never deleted or replaced but by the pair's
    // replacement: opened from a .BAK name, a reset cannot keep it as its
    // own .BAK copy and asks; a dated backup opened as the user file is
    // named as such before it is deleted.
    void theOpenUserFileIsKept()
    {
        Fixture f;
        writeFile(f.sys + "User.BAK", "the user file being edited");
        Script script;
        script.box(Kind::Confirm, ResetQuestion, Buttons::YesNo, Answer::Yes)
            .box(Kind::Warning, "Could not backup the INI files\nWant to continue anyway?", Buttons::YesNo, Answer::No);
        f.reset("User.BAK");
        QVERIFY(script.allShown());
        QCOMPARE(readFile(f.sys + "User.BAK"), QByteArray("the user file being edited"));

        auto manager = f.manager(true, "User_12-8-2026.INI");
        manager->treelist->topLevelItem(0)->setSelected(true);
        script.box(Kind::Confirm,
                   "User_12-8-2026.INI is the user file you are editing now.\nAre you sure you want to delete the "
                   "backup from 12-8-2026",
                   Buttons::YesNo, Answer::No);
        manager->btnDelClick();
        QVERIFY(script.allShown());
        QVERIFY(QFile::exists(f.sys + "User_12-8-2026.INI"));
    }
};

QTEST_MAIN(TestBackup)
#include "test_backup.moc"
