#include "tests/support/PageContract.h"

#include "pages/Binding.h"
#include "pages/RunTime.h"
#include "pages/SettingsPage.h"
#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <vector>

namespace TestSupport {
namespace {

using Binding::Row;

QString where(const Row& row) { return QString::fromStdString(row.section + "/" + row.key); }

// Moves a control to another value than it holds.
void nudge(QWidget* control)
{
    if (auto* box = qobject_cast<QAbstractButton*>(control)) {
        // An option already on stays on: only another option turns it off.
        box->setChecked(qobject_cast<QRadioButton*>(box) ? true : !box->isChecked());
        return;
    }
    const auto step = [](int value, int minimum, int maximum) { return value < maximum ? value + 1 : minimum; };
    if (auto* slider = qobject_cast<QAbstractSlider*>(control))
        slider->setValue(step(slider->value(), slider->minimum(), slider->maximum()));
    else if (auto* spin = qobject_cast<QSpinBox*>(control))
        spin->setValue(step(spin->value(), spin->minimum(), spin->maximum()));
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(edit->text().size() < edit->maxLength() ? edit->text() + "x" : edit->text().chopped(1));
    else if (auto* pick = qobject_cast<QComboBox*>(control)) {
        if (pick->isEditable())
            pick->setEditText(pick->currentText() + "x");
        else if (pick->count() > 1)
            pick->setCurrentIndex((pick->currentIndex() + 1) % pick->count());
    }
}

// Puts the values of Binding::value back, boxes checked last so that a group
// of options ends with the right one on.
void restore(const std::vector<Row>& rows, const QStringList& values)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        QWidget* control = rows[i].control;
        const QString& v = values[static_cast<qsizetype>(i)];
        if (auto* slider = qobject_cast<QAbstractSlider*>(control))
            slider->setValue(v.toInt());
        else if (auto* spin = qobject_cast<QSpinBox*>(control))
            spin->setValue(v.toInt());
        else if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(v);
        else if (auto* pick = qobject_cast<QComboBox*>(control)) {
            const int index = pick->findText(v);
            if (index >= 0)
                pick->setCurrentIndex(index);
            else if (pick->isEditable())
                pick->setEditText(v);
        } else if (auto* box = qobject_cast<QAbstractButton*>(control); box && !qobject_cast<QRadioButton*>(box))
            box->setChecked(v == "1");
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (auto* option = qobject_cast<QRadioButton*>(rows[i].control); option && values[qsizetype(i)] == "1")
            option->setChecked(true);
}

QStringList valuesOf(const std::vector<Row>& rows)
{
    QStringList values;
    for (const Row& row : rows)
        values << Binding::value(row.control);
    return values;
}

// What the file must hold for the control as it stands now.
QString expectedText(const Row& row)
{
    switch (row.form) {
    case Binding::Form::Flag: {
        const bool on = qobject_cast<const QAbstractButton*>(row.control)->isChecked();
        return (row.sense == Binding::Sense::Inverted ? !on : on) ? "True" : "False";
    }
    case Binding::Form::Integer:
        return Binding::value(row.control);
    case Binding::Form::Number:
        return Binding::pointText(Binding::value(row.control).toInt() / row.scale, row.decimals);
    case Binding::Form::Text:
        return Binding::value(row.control);
    }
    return {};
}

bool counts(const Row& row, const RunTime& rt)
{
    return row.compare == Binding::Compare::Always || (row.compare == Binding::Compare::OnceLoaded && rt.PagesLoaded);
}

void checkComparisons(SettingsPage& page, const std::vector<Row>& rows, const RunTime& rt)
{
    const QStringList loaded = valuesOf(rows);
    for (const Row& row : rows) {
        if (row.compare == Binding::Compare::Never) continue;
        nudge(row.control);
        if (Binding::value(row.control) == loaded[&row - rows.data()]) continue; // a control with one value only
        const QString what = where(row) + (rt.PagesLoaded ? " (pages loaded)" : " (start-up)");
        QVERIFY2(page.changed() == counts(row, rt), qPrintable("changed test after editing " + what));
        restore(rows, loaded);
        QVERIFY2(!page.changed(), qPrintable("changed test after putting back " + what));
    }
}

} // namespace

OpenDemoGame::OpenDemoGame()
{
    rt.SystemDir = game.systemDir().toStdString();
    rt.CurrentUserFileName = "User.ini";
    rt.UserProfile = std::make_unique<TIniFile>(game.userIni().toStdString());
    rt.GameProfile = std::make_unique<TIniFile>(game.gameIni().toStdString());
    rt.ViewportManagerClass = rt.GameProfile->ReadString("Engine.Engine", "ViewportManager", rt.ViewportManagerClass);
    rt.RenderDeviceClass = rt.GameProfile->ReadString("Engine.Engine", "RenderDevice", rt.RenderDeviceClass);
}

void checkPageContract(SettingsPage& page, RunTime& rt)
{
    const Binding::Table* table = page.bindings();
    QVERIFY2(table, "the page has no binding rows");
    const std::vector<Row>& rows = table->rows();

    rt.PagesLoaded = false;
    QVERIFY(page.load());
    QVERIFY2(!page.changed(), "changed right after a load");
    checkComparisons(page, rows, rt);
    if (QTest::currentTestFailed()) return;
    rt.PagesLoaded = true;
    checkComparisons(page, rows, rt);
    if (QTest::currentTestFailed()) return;

    // Every control moved, then saved: each key holds its control's value.
    for (const Row& row : rows)
        nudge(row.control);
    const QStringList edited = valuesOf(rows);
    QVERIFY(page.save());
    QVERIFY2(!page.changed(), "changed right after a save");
    for (const Row& row : rows) {
        if (row.key.empty()) continue;
        const std::string key = row.writtenKey.empty() ? row.key : row.writtenKey;
        const QString stored =
            Binding::fromProfile(Binding::profile(row, rt).ReadString(Binding::section(row, rt), key, "<missing>"));
        QVERIFY2(stored.compare(expectedText(row), Qt::CaseInsensitive) == 0,
                 qPrintable(where(row) + " holds \"" + stored + "\", not \"" + expectedText(row) + "\""));
    }

    // A reload shows what was saved.
    for (const Row& row : rows)
        nudge(row.control);
    QVERIFY(page.load());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].key.empty())
            QVERIFY2(Binding::value(rows[i].control) == edited[qsizetype(i)],
                     qPrintable(where(rows[i]) + " after a reload"));

    // A save the files refuse changes nothing and keeps the edits as changes.
    std::vector<QString> paths;
    for (const TIniFile* ini : {rt.UserProfile.get(), rt.GameProfile.get()})
        if (ini && QFile::exists(QString::fromStdString(ini->FileName())))
            paths.push_back(QString::fromStdString(ini->FileName()));
    std::vector<QByteArray> before;
    for (const QString& path : paths) {
        before.push_back(readFile(path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    for (const Row& row : rows)
        if (row.compare == Binding::Compare::Always && !row.key.empty()) nudge(row.control);
    bool saved = true;
    {
        Script script;
        script.box(MessageBox::Kind::Error, {}, MessageBox::Buttons::Ok);
        saved = page.save();
        QVERIFY2(script.allShown(), "a refused save is not reported");
        QVERIFY(script.shownTexts().value(0).startsWith("Error occured:"));
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        QFile::setPermissions(paths[i], QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        QVERIFY2(readFile(paths[i]) == before[i], qPrintable(paths[i] + " changed by a refused save"));
    }
    QVERIFY(!saved);
    QVERIFY2(page.changed(), "a refused save took a new snapshot");
}

} // namespace TestSupport
