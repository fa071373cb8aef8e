#include "pages/Binding.h"

#include "platform/CodePage.h"
#include "platform/Digits.h"

#include "profile/ECorvaneError.h"
#include "profile/IniFiles.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
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

void setText(const Row& row, const QString& text)
{
    if (auto* edit = qobject_cast<QLineEdit*>(row.control)) {
        edit->setText(text);
        edit->setCursorPosition(0); // a long value shows its start
    } else if (auto* pick = qobject_cast<QComboBox*>(row.control)) {
        // The entry spelled like the value, in any letter case. A value that is
        // no entry stays the field's text, so that a save gives it back.
        const int index = text.isEmpty() ? -1 : pick->findText(text, Qt::MatchFixedString);
        pick->setCurrentIndex(index);
        if (index < 0 && pick->isEditable()) pick->setEditText(text);
    } else {
        unsupported(row);
    }
}

QString textOf(const QWidget* control)
{
    if (auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
    if (auto* pick = qobject_cast<const QComboBox*>(control)) return pick->currentText();
    return {};
}

} // namespace

Row Row::alsoWrites(std::string key) const
{
    Row row = *this;
    row.alsoWrittenTo = std::move(key);
    return row;
}

Row Row::readingDecimals() const
{
    Row row = *this;
    row.readsDecimals = true;
    return row;
}

Row Row::writingAsciiDigits() const
{
    Row row = *this;
    row.asciiDigits = true;
    return row;
}

Row Row::writesAs(std::string key) const
{
    Row row = *this;
    row.writtenKey = std::move(key);
    return row;
}

Row Row::compared(Compare when) const
{
    Row row = *this;
    row.compare = when;
    return row;
}

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

TCustomIniFile& profile(File file, const RunTime& rt)
{
    TIniFile* ini = file == File::User ? rt.UserProfile.get() : rt.GameProfile.get();
    if (!ini) throw ECorvaneError(file == File::User ? "The user file is not open" : "UT2003.ini is not open");
    return *ini;
}

TCustomIniFile& profile(const Row& row, const RunTime& rt) { return profile(row.file, rt); }

std::string section(const Row& row, const RunTime& rt)
{
    return row.file == File::Viewport ? rt.ViewportManagerClass : row.section;
}

QVariant read(const Row& row, const RunTime& rt)
{
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
        setText(row, stored);
        return stored;
    }
    }
    return {};
}

std::string stored(const Row& row)
{
    switch (row.form) {
    case Form::Flag: {
        auto* box = qobject_cast<const QAbstractButton*>(row.control);
        if (!box) unsupported(row);
        const bool on = row.sense == Sense::Inverted ? !box->isChecked() : box->isChecked();
        return on ? "True" : "False";
    }
    case Form::Integer:
        return std::to_string(position(row));
    case Form::Number:
        return toProfile(pointText(position(row) / row.scale, row.decimals));
    case Form::Text:
        return toProfile(row.asciiDigits ? platform::asciiDigits(textOf(row.control)) : textOf(row.control));
    }
    return {};
}

namespace {
void put(const Row& row, const std::string& value, const RunTime& rt)
{
    TCustomIniFile& ini = profile(row, rt);
    const std::string sec = section(row, rt);
    ini.WriteString(sec, row.writtenKey.empty() ? row.key : row.writtenKey, value);
    if (!row.alsoWrittenTo.empty()) ini.WriteString(sec, row.alsoWrittenTo, value);
}
} // namespace

void write(const Row& row, const RunTime& rt) { put(row, stored(row), rt); }

QString value(const QWidget* control)
{
    if (auto* box = qobject_cast<const QAbstractButton*>(control)) return box->isChecked() ? "1" : "0";
    if (auto* slider = qobject_cast<const QAbstractSlider*>(control)) return QString::number(slider->value());
    if (auto* spin = qobject_cast<const QSpinBox*>(control)) return QString::number(spin->value());
    return textOf(control);
}

QStringList values(std::initializer_list<const QWidget*> controls)
{
    QStringList result;
    result.reserve(static_cast<qsizetype>(controls.size()));
    for (const QWidget* control : controls)
        result << value(control);
    return result;
}

Table::Table(const RunTime& rt, std::vector<Row> rows)
    : m_rt(rt)
    , m_rows(std::move(rows))
{
    for (const Row& r : m_rows)
        if (!r.control || !holdsForm(r)) throw ECorvaneError("The control for " + r.key + " cannot hold its value");
    takeSnapshot();
}

const Row& Table::row(const QWidget* control) const
{
    auto found = std::find_if(m_rows.begin(), m_rows.end(), [&](const Row& r) { return r.control == control; });
    if (found == m_rows.end()) throw ECorvaneError("A control of the page has no key");
    return *found;
}

QVariant Table::read(const QWidget* control) const { return Binding::read(row(control), m_rt); }

void Table::read(std::initializer_list<const QWidget*> controls) const
{
    for (const QWidget* control : controls)
        read(control);
}

void Table::readAll() const
{
    for (const Row& r : m_rows)
        if (!r.key.empty()) Binding::read(r, m_rt);
}

void Table::write(const QWidget* control) const { write(std::vector<const Row*>{&row(control)}); }

void Table::write(std::initializer_list<const QWidget*> controls) const
{
    std::vector<const Row*> rows;
    for (const QWidget* control : controls)
        rows.push_back(&row(control));
    write(rows);
}

void Table::writeAll() const
{
    std::vector<const Row*> rows;
    for (const Row& r : m_rows)
        if (!r.key.empty()) rows.push_back(&r);
    write(rows);
}

void Table::write(const std::vector<const Row*>& rows) const
{
    std::vector<std::string> texts;
    texts.reserve(rows.size());
    for (const Row* r : rows)
        texts.push_back(stored(*r));
    for (std::size_t i = 0; i < rows.size(); ++i)
        put(*rows[i], texts[i], m_rt);
}

void Table::takeSnapshot()
{
    m_snapshot.clear();
    for (const Row& r : m_rows)
        m_snapshot << value(r.control);
}

bool Table::changed() const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        const Row& r = m_rows[i];
        if (r.compare == Compare::Never || (r.compare == Compare::OnceLoaded && !m_rt.PagesLoaded)) continue;
        if (value(r.control) != m_snapshot[static_cast<qsizetype>(i)]) return true;
    }
    return false;
}

std::vector<PendingWrite> Table::pendingWrites() const { return ::pendingWrites(*this, m_rt); }

} // namespace Binding
