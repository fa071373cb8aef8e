// The real message boxes and the small windows of the program.

#include "dialogs/CorvaneHelp.h"
#include "dialogs/LinkLabel.h"
#include "dialogs/MessageBox.h"
#include "dialogs/fAbout.h"
#include "dialogs/fProgress.h"
#include "dialogs/fReadme.h"
#include "dialogs/fTaunts.h"
#include "platform/ShellStart.h"
#include "tests/support/TestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

namespace {
class RecordingShell : public ShellStarter {
public:
    QStringList opened;
    bool Start(const std::string&, const std::string&, const std::string&) override { return false; }
    bool OpenUrl(const std::string& url) override
    {
        opened << QString::fromStdString(url);
        return false; // not reported to the user either way
    }
};
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT

private slots:
    void realBox_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("press");
        QTest::addColumn<int>("answer");
        QTest::newRow("information") << int(Kind::Information) << int(Buttons::Ok) << "Information"
                                     << int(QMessageBox::Information) << int(QMessageBox::Ok) << int(Answer::Ok);
        QTest::newRow("warning") << int(Kind::Warning) << int(Buttons::Ok) << "Warning" << int(QMessageBox::Warning)
                                 << int(QMessageBox::Ok) << int(Answer::Ok);
        QTest::newRow("error") << int(Kind::Error) << int(Buttons::Ok) << "Error" << int(QMessageBox::Critical)
                               << int(QMessageBox::Ok) << int(Answer::Ok);
        QTest::newRow("confirm no") << int(Kind::Confirm) << int(Buttons::YesNo) << "Confirm"
                                    << int(QMessageBox::Question) << int(QMessageBox::No) << int(Answer::No);
        QTest::newRow("confirm cancel") << int(Kind::Confirm) << int(Buttons::OkCancel) << "Confirm"
                                        << int(QMessageBox::Question) << int(QMessageBox::Cancel)
                                        << int(Answer::Cancel);
    }
    void realBox()
    {
        QFETCH(int, kind);
        QFETCH(int, buttons);
        QFETCH(QString, title);
        QFETCH(int, icon);
        QFETCH(int, press);
        QFETCH(int, answer);
        // Texts from the game's files are shown as written, never as markup.
        const QString text = "first <b>line</b>\nsecond line &amp; more";
        QString seenText, seenTitle;
        int seenIcon = -1;
        QString seenShown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenText = box->text();
            // What the box shows of its text, as a screen reader is told it.
            auto* label = box->findChild<QLabel*>("qt_msgbox_label");
            QVERIFY(label);
            seenShown = QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
            seenTitle = box->windowTitle();
            seenIcon = box->icon();
            box->button(QMessageBox::StandardButton(press))->click();
        });
        const Answer got = MessageBox::show(Kind(kind), text, Buttons(buttons));
        QCOMPARE(int(got), answer);
        QCOMPARE(seenText, text);
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenIcon, icon);
        QCOMPARE(seenShown, text);
    }

    void scriptReportsUnexpectedBoxes()
    {
        QStringList failures;
        MessageBox::startScript([&](const QString& f) { failures << f; });
        MessageBox::expect({Kind::Confirm, "Sure?", Buttons::YesNo, Answer::Yes});
        QCOMPARE(MessageBox::show(Kind::Confirm, "Sure?", Buttons::YesNo), Answer::Yes);
        QVERIFY(failures.isEmpty());
        // Not expected: recorded, reported and answered with the safe button.
        QCOMPARE(MessageBox::show(Kind::Confirm, "Delete?", Buttons::YesNo), Answer::No);
        MessageBox::expect({Kind::Error, "one", Buttons::Ok, Answer::Ok});
        MessageBox::show(Kind::Error, "other", Buttons::Ok);
        QCOMPARE(failures.size(), 2);
        QVERIFY(failures[0].contains("Delete?"));
        QVERIFY(failures[1].contains("one") && failures[1].contains("other"));
        QCOMPARE(int(MessageBox::shown().size()), 3);
        MessageBox::stopScript();
    }

    void progressWindow()
    {
        TfrmProgress progress("Loading....", 5);
        progress.showCentred();
        QCOMPARE(progress.caption(), QStringLiteral("Loading...."));
        QCOMPARE(progress.maximum(), 5);
        progress.step(3);
        QCOMPARE(progress.position(), 3);
        QVERIFY(progress.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(progress.windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void readme()
    {
        QTemporaryDir dir;
        writeFile(dir.path() + "/ReadMe.txt", "line one\r\nline two\r\n");
        {
            Script script;
            TfrmReadme readme(dir.path());
            QCOMPARE(child<QPlainTextEdit>(&readme, "readmeMemo")->toPlainText(),
                     QStringLiteral("line one\nline two\n"));
            QCOMPARE(readme.windowTitle(), QStringLiteral("ReadMe.txt"));
            QCOMPARE(child<QPushButton>(&readme, "btnOk")->text(), QStringLiteral("Ok"));
            QVERIFY(script.allShown());
        }
        {
            Script script;
            script.box(Kind::Warning, "Cannot open ReadMe.txt", Buttons::Ok);
            TfrmReadme readme(dir.path() + "/missing");
            QVERIFY(child<QPlainTextEdit>(&readme, "readmeMemo")->toPlainText().isEmpty());
            QVERIFY(script.allShown());
        }
    }

    void help()
    {
        Script script;
        script.box(Kind::Information, "No help available yet\nI dont have plans to make one either", Buttons::Ok);
        showCorvaneHelp();
        QVERIFY(script.allShown());
    }

    void aboutBox()
    {
        RecordingShell shell;
        TfrmAbout about(shell, "1.2");
        QCOMPARE(about.windowTitle(), QStringLiteral("About - Corvane2003"));
        QCOMPARE(child<QLabel>(&about, "lblVersion")->text(), QStringLiteral("Corvane 2003 v1.2"));
        QVERIFY(child<QLabel>(&about, "Label1")->text().startsWith("The Unreal Tournament 2003 INI Editor\n"));
        // The home page opens its own caption, mail and chat their hints.
        QStringList expected;
        for (const char* name : {"Label3", "Label5", "Label7"}) {
            auto* link = child<LinkLabel>(&about, name);
            expected << (QLatin1String(name) == "Label3" ? link->text() : link->toolTip());
            QTest::mouseClick(link, Qt::LeftButton);
        }
        QCOMPARE(shell.opened, expected);
        QVERIFY(expected[1].startsWith("mailto:"));
    }

    void tauntList()
    {
        QWidget main;
        TfrmTaunts* first = TfrmTaunts::showNew(&main);
        TfrmTaunts* second = TfrmTaunts::showNew(&main);
        QVERIFY(first != second && first->isVisible() && second->isVisible() && !first->isModal());
        QCOMPARE(first->windowTitle(), QStringLiteral("TauntList"));
        const QStringList lines = child<QPlainTextEdit>(first, "dxMemo1")->toPlainText().split('\n');
        const QStringList opening = {
            "Copy paste the Taunt Code into the editfield of the key you want to bind!",
            "So all the stuff BEFORE the =",
            "",
            "for example to bind \"Affirmative\" to the Q key",
            "Enter this into the corresponding field with the Q:",
            "speech Ack 0",
            "Then Ingame pressing the Q key will let the character say \"Affirmative\"",
            "",
            QString(35, '='),
            "Taunt Code = \"Taunt saying\"",
            "",
            "speech Ack 0 = \"Affirmative\" ",
        };
        QCOMPARE(lines.mid(0, opening.size()), opening);

        // The groups in their order with their numbers, and the voices' headings, up to the animated taunts.
        static const QRegularExpression speech("^speech (\\w+) (\\d+) = \"[^\"]+\" ?$");
        QStringList groups;
        const qsizetype from = opening.size() - 1;
        for (const QString& line : lines.mid(from, lines.indexOf("Animated Taunts:") - from)) {
            const QRegularExpressionMatch m = speech.match(line);
            if (!m.hasMatch()) {
                QVERIFY2(!line.startsWith("speech"), qPrintable(line));
                if (!line.isEmpty()) groups << line;
            } else if (groups.isEmpty() || !groups.last().startsWith(m.captured(1) + ":")) {
                groups << m.captured(1) + ": " + m.captured(2);
            } else {
                groups.last() += " " + m.captured(2);
            }
        }
        const auto range = [](int from, int to) {
            QString numbers;
            for (int i = from; i <= to; ++i)
                numbers += " " + QString::number(i);
            return numbers;
        };
        const QStringList expected = {
            "Ack:" + range(0, 3),
            "friendlyfire:" + range(0, 2),
            "friendlyfireAbbrev: 1",
            "Taunt:" + range(0, 26),
            "Order: 0 1 2 3 4 10 11",
            "OrderAbbrev: 0 2",
            "Other:" + range(0, 33),
            "OtherAbbrev: 1 2 3 6 8 9 12 15",
            "JuggFemaleVoice",
            "Taunt:" + range(21, 27),
            "Other: 32 33",
            "NightFemaleVoice",
            "Taunt:" + range(21, 28),
            "MercFemaleVoice ",
            "Taunt:" + range(21, 30),
            "Abbrev: 24",
            "Other: 32",
            "AlienFemaleVoice",
            "Taunt:" + range(21, 27),
        };
        QCOMPARE(groups, expected);
        QVERIFY(lines.contains("speech Other 12 = \"Enemy flag carrier is %l\" "));
        QCOMPARE(lines.mid(lines.size() - 3),
                 QStringList({"Gives:", "I am near the red rocket launcher (red mesa) with assault rifle having 45 ",
                              "adrenaline with 87 health and 50 shield left"}));
        QCOMPARE(lines[lines.indexOf("Teamsay:") - 2], QString(40, '='));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
