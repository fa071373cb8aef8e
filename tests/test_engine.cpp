// The "UT2k3 Settings" page: the engine, display and sound keys of UT2003.ini,
// the order they are read and written in, the resolution and texture words,
// the device groups, the sliders in the C and a comma locale, and the change test.
#include "core/BackupPlace.h"
#include "core/RunTime.h"
#include "pages/PageContext.h"
#include "pages/engine/GameSettingsPage.h"
#include "pages/engine/QualityPresets.h"
#include "platform/ShellStart.h"
#include "profile/IniFiles.h"
#include "tests/support/LoggingIni.h"
#include "tests/support/PageContract.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <clocale>
#include <memory>
#include <utility>

using MessageBox::Buttons;
using MessageBox::Kind;
using TestSupport::child;

namespace {

const char* const D3D = "D3DDrv.D3DRenderDevice";
const char* const OpenGL = "OpenGLDrv.OpenGLRenderDevice";
const char* const Client = "WinDrv.WindowsClient";

class NoShell : public ShellStarter {
public:
    bool Start(const std::string&, const std::string&, const std::string&) override { return false; }
    bool OpenUrl(const std::string&) override { return false; }
};

// The page over a UT2003.ini of the test's own making.
struct Engine {
    explicit Engine(const QByteArray& ini)
    {
        path = dir.path() + "/UT2003.ini";
        TestSupport::writeFile(path, ini);
        rt.SystemDir = (dir.path() + "/").toStdString();
        // UT2003.ini through an accessor that logs the keys it reads and writes.
        rt.GameProfile = std::make_unique<TestSupport::LoggingIni>(path.toStdString(), reads, writes);
        page = std::make_unique<GameSettingsPage>(PageContext{rt, shell, {}});
    }
    void rewrite(const QByteArray& ini) { TestSupport::writeFile(path, ini); }
    QString value(const char* section, const char* key) const
    {
        return QString::fromStdString(TIniFile(path.toStdString()).ReadString(section, key, "<none>"));
    }
    template <class T> T* control(const char* name) const { return child<T>(page.get(), QLatin1String(name)); }

    QTemporaryDir dir;
    QString path;
    QStringList reads; // of the page's accessor of UT2003.ini
    QStringList writes;
    RunTime rt;
    NoShell shell;
    std::unique_ptr<GameSettingsPage> page;
};

QByteArray client(const QByteArray& lines) { return "[WinDrv.WindowsClient]\r\n" + lines; }

// German number formats (decimal comma) for the C library and Qt, for the object's life.
struct CommaLocale {
    const std::string oldC = std::setlocale(LC_ALL, nullptr);
    const QLocale oldQt;
    const bool active = std::setlocale(LC_ALL, "de_DE.UTF-8") && *std::localeconv()->decimal_point == ',';
    CommaLocale() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, oldC.c_str());
        QLocale::setDefault(oldQt);
    }
};

} // namespace

class TestEngine : public QObject {
    Q_OBJECT
private slots:
    void keepsThePageContract()
    {
        TestSupport::OpenDemoGame demo;
        NoShell shell;
        GameSettingsPage page(PageContext{demo.rt, shell, {}});
        TestSupport::checkPageContract(page, demo.rt);
    }

    void readsAndWritesInTheGamesOrder()
    {
        Engine e("");
        QVERIFY(e.page->load());
        QStringList order{"PurgeCacheDays",
                          "CacheSizeMegs",
                          "MinDesiredFrameRate",
                          "ConfiguredInternetSpeed",
                          "Brightness",
                          "Contrast",
                          "Gamma",
                          "FullscreenViewportX",
                          "FullscreenViewportY",
                          "TextureDetailInterface",
                          "TextureDetailTerrain",
                          "TextureDetailWeaponSkin",
                          "TextureDetailPlayerSkin",
                          "TextureDetailWorld",
                          "TextureDetailRenderMap",
                          "TextureDetailLightmap",
                          "RenderDevice",
                          "ScreenFlashes",
                          "NoLighting",
                          "Decals",
                          "Coronas",
                          "DecoLayers",
                          "Projectors",
                          "NoDynamicLights",
                          "UseEAX",
                          "Use3DSound",
                          "UseDefaultDriver",
                          "UsePrecache",
                          "ReverseStereo",
                          "LowQualitySound",
                          "DisablePitch",
                          "DetailTextures",
                          "HighDetailActors",
                          "SuperHighDetailActors",
                          "UsePrecaching",
                          "UseTrilinear",
                          "ReduceMouseLag",
                          "UseTripleBuffering",
                          "UseCubemaps",
                          "UseCompressedLightmaps",
                          "Use16bit",
                          "Use16bitTextures",
                          "UseVSync",
                          "DesiredRefreshRate",
                          "DetailTextures",
                          "HighDetailActors",
                          "SuperHighDetailActors",
                          "UsePrecaching",
                          "UseTrilinear",
                          "UseCompressedLightmaps",
                          "ReduceMouseLag"};
        QCOMPARE(e.reads, order);
        QVERIFY(e.page->save());
        QVERIFY(e.writes.isEmpty());
        // Every control changed: all of them written, in the order of the page's save.
        for (const Binding::Row& row : e.page->bindings()->rows())
            TestSupport::nudge(row);
        QVERIFY(e.page->save());
        QCOMPARE(e.writes, order);
    }

    // The stored width and height choose their item, or one of their own;
    // an item chosen writes both.
    void screenResolution_data()
    {
        QTest::addColumn<QByteArray>("stored"); // the viewport section's lines
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("itsOwn"); // an item added for the stored mode
        QTest::newRow("widescreen") << QByteArray("FullscreenViewportX=1366\r\nFullscreenViewportY=768\r\n")
                                    << "1366x768" << false;
        QTest::newRow("4:3") << QByteArray("FullscreenViewportX=1024\r\nFullscreenViewportY=768\r\n") << "1024x768"
                             << false;
        QTest::newRow("the height counts")
            << QByteArray("FullscreenViewportX=1280\r\nFullscreenViewportY=720\r\n") << "1280x720" << false;
        QTest::newRow("4K") << QByteArray("FullscreenViewportX=3840\r\nFullscreenViewportY=2160\r\n") << "3840x2160"
                            << false;
        QTest::newRow("none offered") << QByteArray("FullscreenViewportX=1152\r\nFullscreenViewportY=864\r\n")
                                      << "1152x864" << true;
        QTest::newRow("above 1800") << QByteArray("FullscreenViewportX=2048\r\nFullscreenViewportY=1536\r\n")
                                    << "2048x1536" << true;
        QTest::newRow("missing") << QByteArray() << "640x480" << false;
    }
    void screenResolution()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, item);
        QFETCH(bool, itsOwn);
        // A mode of its own from an earlier load is gone once another is loaded.
        Engine e(client("FullscreenViewportX=1000\r\nFullscreenViewportY=100\r\n"));
        QVERIFY(e.page->load());
        e.rewrite(client(stored));
        QVERIFY(e.page->load());
        auto* pick = e.control<QComboBox>("pickScreenmode");
        QCOMPARE(pick->currentText(), item);
        QCOMPARE(pick->findText("1000x100"), -1);
        for (const char* offered : {"640x480", "1600x1200", "1280x800", "1920x1080", "2560x1440", "3440x1440"})
            QVERIFY2(pick->findText(offered) >= 0, offered);
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize desktop = screen->size() * screen->devicePixelRatio();
        QVERIFY(pick->findText(QStringLiteral("%1x%2").arg(desktop.width()).arg(desktop.height())) >= 0);
        for (int i = 1; i < pick->count(); ++i) { // narrowest first, each once
            const QStringList a = pick->itemText(i - 1).split('x'), b = pick->itemText(i).split('x');
            QVERIFY(std::pair(a[0].toInt(), a[1].toInt()) < std::pair(b[0].toInt(), b[1].toInt()));
        }
        e.rewrite(client(""));
        QVERIFY(e.page->load());
        QCOMPARE(pick->findText(item) >= 0, !itsOwn);

        // Untouched, nothing is written; another item writes its sizes, and
        // the stored mode chosen again writes it back.
        e.rewrite(client(stored));
        QVERIFY(e.page->load());
        QVERIFY(e.page->save());
        QCOMPARE(TestSupport::readFile(e.path), client(stored));
        pick->setCurrentText("1920x1200");
        QVERIFY(e.page->save());
        QCOMPARE(e.value(Client, "FullscreenViewportX"), "1920");
        QCOMPARE(e.value(Client, "FullscreenViewportY"), "1200");
        pick->setCurrentText(item);
        QVERIFY(e.page->save());
        QCOMPARE(e.value(Client, "FullscreenViewportX") + "x" + e.value(Client, "FullscreenViewportY"), item);
    }

    void textureWords_data()
    {
        QTest::addColumn<QByteArray>("before"); // the word a first load saw; empty: the page was never loaded
        QTest::addColumn<QByteArray>("stored"); // empty: no key
        QTest::addColumn<QString>("item");
        QTest::newRow("capitals") << QByteArray() << QByteArray("HIGHER") << "Higher";
        QTest::newRow("missing") << QByteArray() << QByteArray() << "Normal";
        QTest::newRow("outside the map") << QByteArray("Low") << QByteArray("Medium") << "Low";
        QTest::newRow("outside the map, no choice yet") << QByteArray() << QByteArray("Medium") << "";
    }
    void textureWords()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, stored);
        const auto file = [](const QByteArray& word) {
            return client(word.isEmpty() ? QByteArray() : "TextureDetailWorld=" + word + "\r\n");
        };
        Engine e(file(before));
        if (!before.isEmpty()) QVERIFY(e.page->load());
        e.rewrite(file(stored));
        QVERIFY(e.page->load());
        QTEST(e.control<QComboBox>("pickworld")->currentText(), "item");
        // The stored word stays until the user picks an item; the item writes its word.
        QVERIFY(e.page->save());
        QCOMPARE(TestSupport::readFile(e.path), file(stored));
        e.control<QComboBox>("pickworld")->setCurrentText("UltraHigh");
        QVERIFY(e.page->save());
        QCOMPARE(e.value(Client, "TextureDetailWorld"), "UltraHigh");
    }

    void renderDeviceShowsItsGroup()
    {
        Engine e("[Engine.Engine]\r\nRenderDevice=OpenGLDrv.OpenGLRenderDevice\r\n");
        e.page->resize(790, 460);
        e.page->show();
        QVERIFY(e.page->load());
        auto* direct3d = e.control<QRadioButton>("rbDirect3d");
        auto* groupD3D = e.control<QGroupBox>("groupDirect3d");
        auto* groupGL = e.control<QGroupBox>("groupOpenGL");
        QVERIFY(e.control<QRadioButton>("rbOpenGL")->isChecked());
        QVERIFY(groupGL->isVisible() && !groupD3D->isVisible());
        const QRect place = groupGL->geometry();

        direct3d->click();
        QVERIFY2(e.page->changed(), "the device switch counts even before every page is loaded");
        QVERIFY(groupD3D->isVisible() && !groupGL->isVisible());
        QCOMPARE(groupD3D->geometry().topLeft(), place.topLeft());
        e.control<QRadioButton>("rbOpenGL")->click();
        QVERIFY(!e.page->changed());
        QVERIFY(groupGL->isVisible() && !groupD3D->isVisible());

        // A box of the hidden group is written all the same; the boxes not
        // touched are not.
        direct3d->click();
        e.control<QCheckBox>("cbOpenMouseLag")->click();
        QVERIFY(e.page->save());
        QCOMPARE(e.value("Engine.Engine", "RenderDevice"), QString(D3D));
        QCOMPARE(e.value(OpenGL, "ReduceMouseLag"), "True");
        QCOMPARE(e.value(OpenGL, "DetailTextures"), "<none>");
        QCOMPARE(e.value(D3D, "DesiredRefreshRate"), "<none>");
    }

    void otherDeviceLeavesTheChoice()
    {
        Engine e("[Engine.Engine]\r\nRenderDevice=Engine.NullRenderDevice\r\n");
        QCOMPARE(e.control<QLabel>("lblGamme")->text(), "Gamma"); // before the first load
        QCOMPARE(e.control<QLabel>("lblBright")->text(), "Brightness");
        QVERIFY(e.page->load());
        QVERIFY(!e.control<QRadioButton>("rbDirect3d")->isChecked() &&
                !e.control<QRadioButton>("rbOpenGL")->isChecked());
        QVERIFY(!e.control<QGroupBox>("groupDirect3d")->isHidden() && !e.control<QGroupBox>("groupOpenGL")->isHidden());
        QVERIFY(e.page->save());
        QCOMPARE(e.value("Engine.Engine", "RenderDevice"), "Engine.NullRenderDevice");
    }

    void sliders_data()
    {
        QTest::addColumn<bool>("comma");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("saved");
        for (const bool comma : {false, true}) {
            const char* locale = comma ? ", comma locale" : "";
            QTest::addRow("1.7%s", locale) << comma << QByteArray("1.7") << 170 << "Gamma: 1.70 (Default = 0.80)"
                                           << "1.70";
            QTest::addRow("above the range%s", locale)
                << comma << QByteArray("3.0") << 250 << "Gamma: 2.50 (Default = 0.80)"
                << "2.50";
        }
    }
    // "saved": what the position writes once the user moves the slider there.
    void sliders()
    {
        QFETCH(bool, comma);
        QFETCH(QByteArray, stored);
        std::unique_ptr<CommaLocale> locale;
        if (comma) {
            locale = std::make_unique<CommaLocale>();
            if (!locale->active) QSKIP("the de_DE.UTF-8 locale is not installed");
        }
        Engine e(client("Gamma=" + stored + "\r\n"));
        QVERIFY(e.page->load());
        QTEST(e.control<QSlider>("tbGamma")->value(), "position");
        QTEST(e.control<QLabel>("lblGamme")->text(), "label");
        QCOMPARE(e.control<QLabel>("lblBright")->text(), "Brightness: 0.80 (Default = 0.80)");
        QVERIFY(e.page->save());
        QCOMPARE(e.value(Client, "Gamma"), stored); // untouched
        auto* gamma = e.control<QSlider>("tbGamma");
        const int position = gamma->value();
        gamma->setValue(0);
        QVERIFY(e.page->save());
        gamma->setValue(position);
        QVERIFY(e.page->save());
        QTEST(e.value(Client, "Gamma"), "saved");
    }

    void tooLargeADecimalStopsTheLoad()
    {
        Engine e("");
        QVERIFY(e.page->load());
        e.control<QCheckBox>("cbEAX")->click();
        e.rewrite(client("Contrast=1e12\r\n"));
        TestSupport::Script script;
        script.box(Kind::Error, {}, Buttons::Ok);
        QVERIFY(!e.page->load());
        QVERIFY(script.allShown());
        QVERIFY(script.shownTexts().value(0).startsWith("Error occured:"));
        QVERIFY2(e.page->changed(), "a failed load took a new snapshot");
    }

    // A text the game's code page cannot hold is refused before the first key is written.
    void unstorableTextWritesNothing()
    {
        Engine e("");
        QVERIFY(e.page->load());
        e.control<QLineEdit>("edtRefreshrate")->setText(QStringLiteral("60\u6F22"));
        const QByteArray before = TestSupport::readFile(e.path);
        TestSupport::Script script;
        script.box(Kind::Error, {}, Buttons::Ok);
        QVERIFY(!e.page->save());
        QVERIFY(script.allShown());
        QCOMPARE(TestSupport::readFile(e.path), before);
    }

    // A number typed in the digits of another script (a Persian or Arabic
    // keyboard gives them) is written in ASCII digits: the file comes out as
    // when the same numbers are typed in ASCII.
    void numbersTypedInAnotherScript()
    {
        const char16_t* const fields[][3] = {
            {u"edtPCache", u"\u06F9\u06F9\u06F9\u06F9", u"9999"},
            {u"edtCacheSize", u"\u0662\u0665\u0666", u"256"},
            {u"edtFPS", u"\u2212\u0661", u"-1"},
            {u"edtNetspeed", u"\u0661\u0660\u0660\u0660\u0660", u"10000"},
            {u"edtRefreshrate", u"\u0968\u0966", u"20"},
        };
        TestSupport::Script script; // no box
        Engine typed(""), ascii("");
        QVERIFY(typed.page->load());
        QVERIFY(ascii.page->load());
        for (const auto& field : fields) {
            const QString name = QString::fromUtf16(field[0]);
            child<QLineEdit>(typed.page.get(), name)->setText(QString::fromUtf16(field[1]));
            child<QLineEdit>(ascii.page.get(), name)->setText(QString::fromUtf16(field[2]));
        }
        QVERIFY(typed.page->save());
        QVERIFY(ascii.page->save());
        QCOMPARE(TestSupport::readFile(typed.path), TestSupport::readFile(ascii.path));
        QCOMPARE(typed.value("Core.System", "PurgeCacheDays"), "9999");
        QCOMPARE(typed.value(Client, "MinDesiredFrameRate"), "-1");
        QVERIFY(!typed.page->changed()); // the fields keep what was typed
    }

    // Missing keys show the boxes unticked and stay missing; a tick writes the opposite.
    void lightingBoxesShowTheOpposite()
    {
        Engine e("");
        QVERIFY(e.page->load());
        QVERIFY(!e.control<QCheckBox>("cbLighting")->isChecked());
        QVERIFY(!e.control<QCheckBox>("cbDynamicLights")->isChecked());
        QVERIFY(e.page->save());
        QCOMPARE(e.value(Client, "NoLighting"), "<none>");
        e.control<QCheckBox>("cbLighting")->click();
        e.control<QCheckBox>("cbDynamicLights")->click();
        QVERIFY(e.page->save());
        QCOMPARE(e.value(Client, "NoLighting"), "False");
        QCOMPARE(e.value(Client, "NoDynamicLights"), "False");
    }

    void typedCharactersAreDropped()
    {
        Engine e(client("FullscreenViewportX=1024\r\nFullscreenViewportY=768\r\n"));
        QVERIFY(e.page->load());
        auto* pick = e.control<QComboBox>("pickScreenmode");
        QTest::keyClicks(pick, "8x");
        QCOMPARE(pick->currentText(), "1024x768");
        QTest::keyClick(pick, Qt::Key_Down); // no character: the list still steps
        QCOMPARE(pick->currentIndex(), pick->findText("1024x768") + 1);
    }

    // The page in the main window's page area at 800 by 600 shows every caption whole.
    void nothingClipped()
    {
        QWidget area; // a child page is not grown to its layout's minimum as a window would be
        Engine e("");
        area.setFixedSize(800, 480);
        e.page->setParent(&area);
        e.page->setGeometry(0, 0, 790, 460);
        area.show();
        for (QRadioButton* device : {e.control<QRadioButton>("rbDirect3d"), e.control<QRadioButton>("rbOpenGL")}) {
            device->click();
            QApplication::processEvents();
            for (QWidget* w : e.page->findChildren<QWidget*>()) {
                if (!w->isVisible()) continue;
                const bool whole = qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w);
                const bool laidOut = qobject_cast<QComboBox*>(w) || qobject_cast<QGroupBox*>(w);
                if (!whole && !laidOut) continue;
                const QRect place(w->mapTo(e.page.get(), QPoint()), w->size());
                const QString what = w->objectName() + " " + w->property("text").toString();
                QVERIFY2(e.page->rect().contains(place), qPrintable(what + " leaves the page"));
                const int needed = whole ? w->sizeHint().width() : w->minimumSizeHint().width();
                QVERIFY2(w->width() >= needed, qPrintable(what + " is cut"));
            }
        }
    }

    // A save of a real game's file changes only the keys of the page.
    void realGameFile()
    {
        const QString corpus = qEnvironmentVariable("CORVANE_CORPUS_DIR", TestSupport::corpusDir());
        const QString source = corpus + "/l2Unreal__System_UT2003.ini";
        if (!QFile::exists(source)) QSKIP("the real game files are not beside the project");
        const QByteArray before = TestSupport::readFile(source);
        Engine e(before);
        e.rt.ViewportManagerClass = Client;
        QVERIFY(e.page->load());
        QCOMPARE(e.control<QComboBox>("pickScreenmode")->currentText(), "800x600");
        QVERIFY(e.control<QRadioButton>("rbDirect3d")->isChecked());
        QVERIFY(e.page->save());
        QVERIFY(e.page->load());
        QVERIFY(!e.page->changed());
        const QList<QByteArray> after = TestSupport::readFile(e.path).split('\n');
        for (const QByteArray& line : before.split('\n'))
            if (!after.contains(line))
                QVERIFY2(e.writes.contains(QString::fromLatin1(line.left(line.indexOf('=')))), line.constData());
    }

    // The quality presets: the question, the backup always offered (and
    // declinable), the device and resolution they choose, and nothing written.
    void qualityPresets_data()
    {
        QTest::addColumn<int>("quality");
        QTest::addColumn<bool>("goOn");
        QTest::addColumn<bool>("backup");
        QTest::newRow("low, backup declined") << int(Quality::Low) << true << false;
        QTest::newRow("high, backed up") << int(Quality::High) << true << true;
        QTest::newRow("low, not wanted") << int(Quality::Low) << false << false;
    }
    void qualityPresets()
    {
        QFETCH(int, quality);
        QFETCH(bool, goOn);
        QFETCH(bool, backup);
        const bool low = quality == int(Quality::Low);
        TestSupport::OpenDemoGame demo;
        NoShell shell;
        GameSettingsPage page(PageContext{demo.rt, shell, {}});
        QVERIFY(page.load());
        demo.rt.PagesLoaded = true;
        page.show();
        const QByteArray before = TestSupport::readFile(demo.game.gameIni());
        const QString question = low ? "This will put your UT2003 into Low Quality mode.\nIt will change the settings "
                                       "to the recommended values.\nIt will switch to OpenGL mode. If the game doesnt "
                                       "run anymore try switching back to Direct3D\nDo you want to continue?"
                                     : "This will put your UT2003 into High Quality mode.\nIt will change the "
                                       "settings to the recommended values.\nDo you want to continue?";
        using MessageBox::Answer;
        TestSupport::Script script;
        script.box(Kind::Confirm, question, Buttons::YesNo, goOn ? Answer::Yes : Answer::No);
        if (goOn)
            script.box(Kind::Confirm, "Do you want to make a backup now?", Buttons::YesNo,
                       backup ? Answer::Yes : Answer::No);
        if (backup) script.box(Kind::Information, {}, Buttons::Ok);
        const BackupPlace place{demo.rt.SystemDir, "User.ini", false, QDate(2026, 12, 8), {}, {}};
        ApplyQualityPreset(*page.bindings(), Quality(quality), place);
        QVERIFY(script.allShown());
        QCOMPARE(page.changed(), goOn);
        QCOMPARE(TestSupport::readFile(demo.game.gameIni()), before);
        if (!goOn) return;
        QCOMPARE(child<QGroupBox>(&page, "groupOpenGL")->isVisible(), low);
        QCOMPARE(child<QGroupBox>(&page, "groupDirect3d")->isVisible(), !low);
        QCOMPARE(child<QComboBox>(&page, "pickScreenmode")->currentText(), low ? "640x480" : "1024x768");
        QCOMPARE(child<QComboBox>(&page, "pickworld")->currentText(), low ? "Low" : "UltraHigh");
        QCOMPARE(child<QCheckBox>(&page, "cbLowquality")->isChecked(), low);

        // What the preset changed is written, and nothing else.
        QVERIFY(page.save());
        const TIniFile ini(demo.game.gameIni().toStdString());
        QCOMPARE(ini.ReadString("ALAudio.ALAudioSubsystem", "LowQualitySound", ""), low ? "True" : "False");
        const QList<QByteArray> after = TestSupport::readFile(demo.game.gameIni()).split('\n');
        for (const char* kept : {"PurgeCacheDays=", "CacheSizeMegs=", "ConfiguredInternetSpeed="})
            for (const QByteArray& line : before.split('\n'))
                if (line.startsWith(kept)) QVERIFY2(after.contains(line), kept);
    }
};

QTEST_MAIN(TestEngine)
#include "test_engine.moc"
