#include "pages/Binding.h"

#include "platform/CodePage.h"
#include "platform/Digits.h"

#include "profile/ECorvaneError.h"
#include "profile/IniFiles.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace Binding {

namespace {

Row makeRow(QWidget* control, File file, std::string section, std::string key, Form form)
{
    Row row;
    row.control = control;
    row.file = file;
    row.section = std::move(section);
    row.key = std::move(key);
    row.form = form;
    return row;
}

[[noreturn]] void unsupported(const Row& row)
{
    throw ECorvaneError("The control for " + row.key + " cannot hold this kind of value");
}

void setPosition(const Row& row, int position)
{
    if (auto* slider = qobject_cast<QAbstractSlider*>(row.control))
        slider->setValue(position);
    else if (auto* spin = qobject_cast<QSpinBox*>(row.control))
        spin->setValue(position);
    else
        unsupported(row);
}

int position(const Row& row)
{
    if (auto* slider = qobject_cast<const QAbstractSlider*>(row.control)) return slider->value();
    if (auto* spin = qobject_cast<const QSpinBox*>(row.control)) return spin->value();
    unsupported(row);
}

QString textOf(const QWidget* control)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* pick = qobject_cast<const QComboBox*>(control)) return pick->currentText();
    return {};
}

} // namespace

Row flag(QAbstractButton* control, File file, std::string section, std::string key, bool missing, Sense sense)
{
    Row row = makeRow(control, file, std::move(section), std::move(key), Form::Flag);
    row.missingFlag = missing;
    row.sense = sense;
    return row;
}

namespace {
Row integerRow(QWidget* control, File file, std::string section, std::string key, std::int32_t missing)
{
    Row row = makeRow(control, file, std::move(section), std::move(key), Form::Integer);
    row.missingInteger = missing;
    return row;
}

Row numberRow(QWidget* control, File file, std::string section, std::string key, double missing, double scale,
              int decimals)
{
    Row row = makeRow(control, file, std::move(section), std::move(key), Form::Number);
    row.missingNumber = missing;
    row.scale = scale;
    row.decimals = decimals;
    return row;
}

Row textRow(QWidget* control, File file, std::string section, std::string key, std::string missing)
{
    Row row = makeRow(control, file, std::move(section), std::move(key), Form::Text);
    row.missingText = std::move(missing);
    return row;
}

// Whether the control can show and give back a value of the row's form.
bool holdsForm(const Row& row)
{
    switch (row.form) {
    case Form::Flag:
        return qobject_cast<const QAbstractButton*>(row.control);
    case Form::Integer:
    case Form::Number:
        return qobject_cast<const QAbstractSlider*>(row.control) || qobject_cast<const QSpinBox*>(row.control);
    case Form::Text:
        return qobject_cast<const QLineEdit*>(row.control) || qobject_cast<const QComboBox*>(row.control);
    case Form::Choice:
        if (qobject_cast<const QComboBox*>(row.control)) return true;
        return !row.options.empty() &&
               std::all_of(row.options.begin(), row.options.end(), [](const Option& o) { return o.button != nullptr; });
    case Form::Custom:
        return row.custom && row.custom->read && row.custom->write && row.custom->value;
    }
    return false;
}
} // namespace

Row integer(QAbstractSlider* control, File file, std::string section, std::string key, std::int32_t missing)
{
    return integerRow(control, file, std::move(section), std::move(key), missing);
}

Row integer(QSpinBox* control, File file, std::string section, std::string key, std::int32_t missing)
{
    return integerRow(control, file, std::move(section), std::move(key), missing);
}

Row number(QAbstractSlider* control, File file, std::string section, std::string key, double missing, double scale,
           int decimals)
{
    return numberRow(control, file, std::move(section), std::move(key), missing, scale, decimals);
}

Row number(QSpinBox* control, File file, std::string section, std::string key, double missing, double scale,
           int decimals)
{
    return numberRow(control, file, std::move(section), std::move(key), missing, scale, decimals);
}

Row text(QLineEdit* control, File file, std::string section, std::string key, std::string missing)
{
    return textRow(control, file, std::move(section), std::move(key), std::move(missing));
}

Row unbound(QLineEdit* control) { return textRow(control, File::User, {}, {}, {}); }

Row text(QComboBox* control, File file, std::string section, std::string key, std::string missing)
{
    return textRow(control, file, std::move(section), std::move(key), std::move(missing));
}

Row choice(QComboBox* control, File file, std::string section, std::string key, std::vector<std::string> words,
           std::string missing)
{
    Row row = makeRow(control, file, std::move(section), std::move(key), Form::Choice);
    for (std::string& word : words)
        row.options.push_back({nullptr, std::move(word)});
    row.missingText = std::move(missing);
    return row;
}

Row choice(std::vector<Option> options, File file, std::string section, std::string key, std::string missing)
{
    Row row = makeRow(options.empty() ? nullptr : options.front().button, file, std::move(section), std::move(key),
                      Form::Choice);
    row.options = std::move(options);
    row.missingText = std::move(missing);
    return row;
}

Row custom(QWidget* control, File file, std::string section, std::string key, Custom functions, Compare when)
{
    Row row = makeRow(control, file, std::move(section), std::move(key), Form::Custom);
    row.custom = std::make_shared<const Custom>(std::move(functions));
    row.compare = when;
    return row;
}

QString fromProfile(const std::string& bytes) { return platform::fromCodePage(bytes); }

std::string toProfile(const QString& text) { return platform::toCodePageOrThrow(text); }

QString pointText(double value, int decimals)
{
    // QString::number never uses the user's locale.
    return QString::number(value, 'f', decimals);
}

std::int32_t roundedPosition(double value)
{
    const QString whole = pointText(value, 0);
    bool ok = false;
    const int result = whole.toInt(&ok);
    if (!ok) throw ECorvaneError("'" + whole.toStdString() + "' is not a valid integer value");
    return result;
}

TCustomIniFile& profile(File file, const RunTime& rt) { return rt.openAccessor(file); }

TCustomIniFile& profile(const Row& row, const RunTime& rt) { return profile(row.file, rt); }

std::string section(const Row& row, const RunTime& rt) { return section(row.file, row.section, rt); }

std::string section(File file, const std::string& sec, const RunTime& rt)
{
    return file == File::Viewport ? rt.ViewportManagerClass : sec;
}

namespace {

// The option a choice row's file selects, -1 for none.
int chosenOption(const Row& row, const TCustomIniFile& ini, const std::string& sec)
{
    if (row.optionOf) return row.optionOf(ini, sec, row.key);
    const QString word = fromProfile(ini.ReadString(sec, row.key, row.missingText));
    for (std::size_t i = 0; i < row.options.size(); ++i)
        if (word.compare(QString::fromStdString(row.options[i].word), Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

// Turns every option of a choice row off.
void showNoOption(const Row& row)
{
    if (auto* pick = qobject_cast<QComboBox*>(row.control)) {
        pick->setCurrentIndex(-1);
        return;
    }
    for (const Option& option : row.options) {
        // An exclusive option is turned off only by another one: not here.
        const bool exclusive = option.button->autoExclusive();
        option.button->setAutoExclusive(false);
        option.button->setChecked(false);
        option.button->setAutoExclusive(exclusive);
    }
}

// The option a choice row's control shows, -1 for none.
int shownOption(const Row& row)
{
    if (auto* pick = qobject_cast<const QComboBox*>(row.control)) {
        const QString text = pick->currentText();
        const int index = text.isEmpty() ? -1 : pick->findText(text, Qt::MatchFixedString);
        return index < int(row.options.size()) ? index : -1;
    }
    for (std::size_t i = 0; i < row.options.size(); ++i)
        if (row.options[i].button->isChecked()) return int(i);
    return -1;
}

// Reads the row's key into its control and returns the value as read (before
// any hold inside the control's range): bool, int, double or QString; for a
// choice the option chosen, for a custom row nothing.
QVariant read(const Row& row, const RunTime& rt)
{
    if (row.form == Form::Custom) {
        row.custom->read(rt);
        return {};
    }
    const TCustomIniFile& ini = profile(row, rt);
    const std::string sec = section(row, rt);
    switch (row.form) {
    case Form::Flag: {
        const bool stored = ini.ReadBool(sec, row.key, row.missingFlag);
        auto* box = qobject_cast<QAbstractButton*>(row.control);
        if (!box) unsupported(row);
        box->setChecked(row.sense == Sense::Inverted ? !stored : stored);
        return stored;
    }
    case Form::Integer: {
        std::int32_t stored = ini.ReadInteger(sec, row.key, row.missingInteger);
        if (row.readsDecimals) {
            const double decimal = ini.ReadFloat(sec, row.key, std::nan(""));
            const double whole = std::round(decimal); // NaN when absent or unreadable
            if (whole >= INT32_MIN && whole <= INT32_MAX) stored = roundedPosition(decimal);
        }
        setPosition(row, stored);
        return stored;
    }
    case Form::Number: {
        const double stored = ini.ReadFloat(sec, row.key, row.missingNumber);
        setPosition(row, roundedPosition(stored * row.scale));
        return stored;
    }
    case Form::Text: {
        const QString stored = fromProfile(ini.ReadString(sec, row.key, row.missingText));
        putText(row.control, stored);
        if (auto* edit = qobject_cast<QLineEdit*>(row.control))
            edit->setCursorPosition(0); // a long value shows its start
        return stored;
    }
    case Form::Choice: {
        // A word outside the options leaves the control as it was, or shows
        // no option where the row says so.
        const int option = chosenOption(row, ini, sec);
        if (option < 0 || option >= int(row.options.size())) {
            if (row.showsNoneForOthers) showNoOption(row);
            return -1;
        }
        if (auto* pick = qobject_cast<QComboBox*>(row.control))
            pick->setCurrentIndex(option);
        else
            row.options[std::size_t(option)].button->setChecked(true);
        return option;
    }
    case Form::Custom:
        break;
    }
    return {};
}

// The keys of writes(), added to `out` (which a refusal may leave with some of them).
void appendWrites(const Row& row, const RunTime& rt, std::vector<KeyWrite>& out)
{
    if (row.form == Form::Custom) {
        row.custom->write(rt, out);
        return;
    }
    if (row.key.empty()) return;
    std::string text;
    switch (row.form) {
    case Form::Flag: {
        auto* box = qobject_cast<const QAbstractButton*>(row.control);
        if (!box) unsupported(row);
        const bool on = row.sense == Sense::Inverted ? !box->isChecked() : box->isChecked();
        text = on ? "True" : "False";
        break;
    }
    case Form::Integer:
        text = std::to_string(position(row));
        break;
    case Form::Number:
        text = toProfile(pointText(position(row) / row.scale, row.decimals));
        break;
    case Form::Text:
        text = toProfile(row.asciiDigits ? platform::asciiDigits(textOf(row.control)) : textOf(row.control));
        break;
    case Form::Choice: {
        const int option = shownOption(row);
        if (option < 0) return; // no item, no write
        text = row.options[std::size_t(option)].word;
        break;
    }
    case Form::Custom:
        break;
    }
    std::string sec = section(row, rt);
    if (!row.alsoWrittenTo.empty()) {
        out.push_back({row.file, sec, row.writtenKey.empty() ? row.key : row.writtenKey, text});
        out.push_back({row.file, std::move(sec), row.alsoWrittenTo, std::move(text)});
        return;
    }
    out.push_back({row.file, std::move(sec), row.writtenKey.empty() ? row.key : row.writtenKey, std::move(text)});
}

} // namespace

std::vector<KeyWrite> writes(const Row& row, const RunTime& rt)
{
    std::vector<KeyWrite> out;
    appendWrites(row, rt, out);
    return out;
}

void putText(QWidget* control, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        const bool on = text == QLatin1String("1");
        if (button->autoExclusive()) {
            if (on) button->click(); // the option's click handler runs
        } else {
            button->setChecked(on);
        }
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        slider->setValue(text.toInt());
    } else if (auto* spin = qobject_cast<QSpinBox*>(control)) {
        spin->setValue(text.toInt());
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->setText(text);
    } else if (auto* pick = qobject_cast<QComboBox*>(control)) {
        // The entry spelled like the value, in any letter case. A value that is
        // no entry stays the field's text, so that a save gives it back.
        const int index = text.isEmpty() ? -1 : pick->findText(text, Qt::MatchFixedString);
        pick->setCurrentIndex(index);
        if (index < 0 && pick->isEditable()) pick->setEditText(text);
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchFixedString);
        if (!found.isEmpty()) {
            list->setCurrentItem(found.first());
            found.first()->setSelected(true);
        }
    } else {
        throw ECorvaneError("A control cannot take the text " + text.toStdString());
    }
}

void putText(const Row& row, const QString& text)
{
    if (row.form != Form::Choice || qobject_cast<QComboBox*>(row.control)) {
        putText(row.control, text);
        return;
    }
    for (const Option& option : row.options)
        if (text.compare(QString::fromStdString(option.word), Qt::CaseInsensitive) == 0 ||
            text.compare(option.button->text(), Qt::CaseInsensitive) == 0)
            putText(option.button, QStringLiteral("1"));
}

QString value(const QWidget* control)
{
    if (auto* box = qobject_cast<const QAbstractButton*>(control)) return box->isChecked() ? "1" : "0";
    if (auto* slider = qobject_cast<const QAbstractSlider*>(control)) return QString::number(slider->value());
    if (auto* spin = qobject_cast<const QSpinBox*>(control)) return QString::number(spin->value());
    return textOf(control);
}

QString value(const Row& row)
{
    if (row.form == Form::Custom) {
        const QVariant own = row.custom->value();
        return own.typeId() == QMetaType::QStringList ? own.toStringList().join(QChar(0)) : own.toString();
    }
    if (row.form == Form::Choice && !qobject_cast<const QComboBox*>(row.control)) {
        const int option = shownOption(row);
        return option < 0 ? QString() : QString::fromStdString(row.options[std::size_t(option)].word);
    }
    return value(row.control);
}

QVariant Row::current() const
{
    switch (form) {
    case Form::Flag:
        return qobject_cast<const QAbstractButton*>(control)->isChecked();
    case Form::Integer:
    case Form::Number:
        return position(*this);
    case Form::Text:
        return textOf(control);
    case Form::Choice:
        return shownOption(*this);
    case Form::Custom:
        return custom->value();
    }
    return {};
}

Table::Table(const RunTime& rt, std::vector<Row> rows)
    : m_rt(rt)
    , m_rows(std::move(rows))
{
    for (const Row& r : m_rows)
        if (!r.control || !holdsForm(r)) throw ECorvaneError("The control for " + r.key + " cannot hold its value");
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_readOrder.push_back(i);
    std::stable_sort(m_readOrder.begin(), m_readOrder.end(),
                     [this](std::size_t a, std::size_t b) { return m_rows[a].readPlace < m_rows[b].readPlace; });
    takeSnapshot();
}

void Table::readAll()
{
    for (const std::size_t i : m_readOrder) {
        Row& r = m_rows[i];
        if (r.key.empty() && r.form != Form::Custom) continue;
        const QVariant stored = read(r, m_rt);
        r.m_loaded = r.current();
        if (r.afterRead) r.afterRead(stored);
    }
}

void Table::collectAll(Writes& out) const
{
    // All of the edited rows' keys or none of them.
    const std::size_t before = out.keys.size();
    for (const Row& r : m_rows) {
        if (!r.edited()) continue;
        try {
            appendWrites(r, m_rt, out.keys);
        } catch (const std::exception& refused) {
            if (!out.lenient) {
                out.keys.resize(before);
                throw;
            }
            out.refused.push_back(
                {r.file, section(r, m_rt), r.writtenKey.empty() ? r.key : r.writtenKey, refused.what()});
        }
    }
}

void Table::takeSnapshot()
{
    for (Row& r : m_rows)
        r.m_loaded = r.m_snapshot = r.current();
}

bool Table::changed() const
{
    for (const Row& r : m_rows) {
        if (r.compare == Compare::Never || (r.compare == Compare::OnceLoaded && !m_rt.PagesLoaded)) continue;
        if (r.current() != r.m_snapshot) return true;
    }
    return false;
}

} // namespace Binding
