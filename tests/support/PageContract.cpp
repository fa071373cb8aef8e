#include "tests/support/PageContract.h"

#include "pages/Binding.h"
#include "core/RunTime.h"
#include "pages/SettingsPage.h"
#include "tests/support/TestSupport.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <vector>

namespace TestSupport {
namespace {

using Binding::Row;

QString where(const Row& row) { return QString::fromStdString(row.section + "/" + row.key); }

} // namespace

void nudge(const Row& row)
{
    if (row.form == Binding::Form::Choice && !qobject_cast<QComboBox*>(row.control)) {
        // The option after the one on.
        const QString on = Binding::value(row);
        std::size_t next = 0;
        for (std::size_t i = 0; i < row.options.size(); ++i)
            if (QString::fromStdString(row.options[i].word) == on) next = (i + 1) % row.options.size();
        row.options[next].button->click();
        return;
    }
    QWidget* control = row.control;
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
        if (pick->isEditable() && row.form != Binding::Form::Choice && row.form != Binding::Form::Custom)
            pick->setEditText(pick->currentText() + "x");
        else if (pick->count() > 1)
            pick->setCurrentIndex((pick->currentIndex() + 1) % pick->count());
    } else if (auto* list = qobject_cast<QListWidget*>(control); list && list->count() > 1) {
        const int next = (list->currentRow() + 1) % list->count();
        list->setCurrentRow(next);
        list->item(next)->setSelected(true);
    }
}

namespace {

// Puts the values of Binding::value back in row order (a game type before
// its maps), boxes checked last so that a group of options ends with the
// right one on. A control no text describes (the weapon list) is left.
void restore(const std::vector<Row>& rows, const QStringList& values)
{
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        const QString& v = values[static_cast<qsizetype>(i)];
        if (qobject_cast<QRadioButton*>(row.control) && row.form != Binding::Form::Choice) continue;
        try {
            Binding::putText(row, v);
        } catch (const std::exception&) {
        }
    }
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (auto* option = qobject_cast<QRadioButton*>(rows[i].control);
            option && rows[i].form != Binding::Form::Choice && values[qsizetype(i)] == "1")
            option->setChecked(true);
}

QStringList valuesOf(const std::vector<Row>& rows)
{
    QStringList values;
    for (const Row& row : rows)
        values << Binding::value(row);
    return values;
}

// What the file must hold for the control as it stands now, key by key.
std::vector<std::pair<std::string, QString>> expectedTexts(const Row& row, const RunTime& rt)
{
    const std::string key = row.writtenKey.empty() ? row.key : row.writtenKey;
    switch (row.form) {
    case Binding::Form::Flag: {
        const bool on = qobject_cast<const QAbstractButton*>(row.control)->isChecked();
        return {{key, (row.sense == Binding::Sense::Inverted ? !on : on) ? "True" : "False"}};
    }
    case Binding::Form::Integer:
    case Binding::Form::Text:
        return {{key, Binding::value(row.control)}};
    case Binding::Form::Number:
        return {{key, Binding::pointText(Binding::value(row.control).toInt() / row.scale, row.decimals)}};
    case Binding::Form::Choice:
    case Binding::Form::Custom:
        break;
    }
    // The row's own words: what its writes say it stores.
    std::vector<std::pair<std::string, QString>> out;
    for (const Binding::KeyWrite& k : Binding::writes(row, rt))
        out.push_back({k.section + "/" + k.key, Binding::fromProfile(k.value)});
    return out;
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
        nudge(row);
        if (Binding::value(row) == loaded[&row - rows.data()]) continue; // a control with one value only
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

    // A save with nothing edited changes no byte of either file.
    std::vector<QString> paths;
    for (const TIniFile* ini : {rt.UserProfile.get(), rt.GameProfile.get()})
        if (ini && QFile::exists(QString::fromStdString(ini->FileName())))
            paths.push_back(QString::fromStdString(ini->FileName()));
    std::vector<QByteArray> before;
    for (const QString& path : paths)
        before.push_back(readFile(path));
    QVERIFY(page.save());
    for (std::size_t i = 0; i < paths.size(); ++i)
        QVERIFY2(readFile(paths[i]) == before[i], qPrintable(paths[i] + " changed by a save of nothing"));

    // Every control moved, then saved: each key of a moved control holds its
    // control's value.
    const QStringList loaded = valuesOf(rows);
    for (const Row& row : rows)
        nudge(row);
    const QStringList edited = valuesOf(rows);
    QVERIFY(page.save());
    QVERIFY2(!page.changed(), "changed right after a save");
    for (const Row& row : rows) {
        if (row.key.empty() || edited[&row - rows.data()] == loaded[&row - rows.data()]) continue;
        for (const auto& [key, expected] : expectedTexts(row, rt)) {
            const bool bare = key.find('/') == std::string::npos; // else "section/key"
            const std::string section = bare ? Binding::section(row, rt) : key.substr(0, key.find('/'));
            const std::string name = bare ? key : key.substr(key.find('/') + 1);
            const QString stored =
                Binding::fromProfile(Binding::profile(row, rt).ReadString(section, name, "<missing>"));
            QVERIFY2(stored.compare(expected, Qt::CaseInsensitive) == 0,
                     qPrintable(where(row) + " holds \"" + stored + "\", not \"" + expected + "\""));
        }
    }

    // A reload shows what was saved.
    for (const Row& row : rows)
        nudge(row);
    QVERIFY(page.load());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!rows[i].key.empty())
            QVERIFY2(Binding::value(rows[i]) == edited[qsizetype(i)], qPrintable(where(rows[i]) + " after a reload"));

    // A save the files refuse changes nothing and keeps the edits as changes.
    before.clear();
    for (const QString& path : paths) {
        before.push_back(readFile(path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    for (const Row& row : rows)
        if (row.compare == Binding::Compare::Always && !row.key.empty()) nudge(row);
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
