// The real message boxes and the small windows of the program.

#include "dialogs/MessageBox.h"
#include "dialogs/fProgress.h"
#include "dialogs/fReadme.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace TestSupport;
using MessageBox::Answer;
using MessageBox::Buttons;
using MessageBox::Kind;

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
        const QString text = "first line\nsecond line";
        QString seenText, seenTitle;
        int seenIcon = -1;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seenText = box->text();
            seenTitle = box->windowTitle();
            seenIcon = box->icon();
            box->button(QMessageBox::StandardButton(press))->click();
        });
        const Answer got = MessageBox::show(Kind(kind), text, Buttons(buttons));
        QCOMPARE(int(got), answer);
        QCOMPARE(seenText, text);
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenIcon, icon);
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
            QCOMPARE(child<QPlainTextEdit>(&readme, "readmeMemo")->toPlainText(), QStringLiteral("line one\nline two\n"));
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
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
