#pragma once

#include "core/KeyWrite.h"
#include "core/RunTime.h"

#include <QString>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;
class TCustomIniFile;

// Ties the controls of a page to the keys of the game's profile files. A page
// declares each of its settings once, as a row: which file, section and key,
// how the value is kept on disk, the value used when the key is absent, the
// control that shows it (made in the declaration, under its name) and its
// label, the quality presets' values, and its place in the page's load and
// save. The page's load, save, change test and pending changes all run over
// these rows. A Save writes the keys of the rows whose control the user
// changed, and nothing else: every other key keeps its bytes, however the
// game wrote them.
//
// Controls understood: check boxes and radio buttons (flags), sliders and spin
// boxes (integers and scaled numbers), edit fields and pick lists (text), pick
// lists and radio groups against stored words (choices), and anything else
// through a row's own read and write functions (custom rows).
namespace Binding {

using File = ProfileFile;
using KeyWrite = ::KeyWrite;
using Writes = KeyWrites;

enum class Form {
    Flag,    // "True"/"False"; the control may show the opposite of the stored flag
    Integer, // whole number, held inside the control's range
    Number,  // decimal with a point; control position = value times scale, rounded
    Text,    // as is
    Choice,  // one of a few stored words, shown as a pick list's item or a radio button
    Custom,  // read and written by the row's own functions
};

enum class Sense { Direct, Inverted };

// When the page's changed test looks at a control: always, only once every
// page has been loaded at start-up (RunTime::PagesLoaded), or never.
enum class Compare { Always, OnceLoaded, Never };

// An option of a choice row: the radio button that shows it (none for a pick
// list, whose items are the options in their order) and the word stored for it.
struct Option {
    QAbstractButton* button = nullptr;
    std::string word;
};

// What a custom row does in place of the table's rules.
struct Custom {
    std::function<void(const RunTime&)> read;                          // the keys into the control
    std::function<void(const RunTime&, std::vector<KeyWrite>&)> write; // the keys a Save writes; may refuse (throw)
    std::function<QVariant()> value;                                   // what the control holds, compared
};

// The texts the quality presets put into a row's control.
struct Preset {
    QString low;
    QString high;
};

class Table;

struct Row {
    QWidget* control = nullptr;
    File file = File::User;
    std::string section; // not used for File::Viewport
    std::string key;     // empty: a control no key backs
    Form form = Form::Text;
    Sense sense = Sense::Direct;     // Flag
    bool missingFlag = false;        // Flag: the stored value used when the key is absent
    std::int32_t missingInteger = 0; // Integer
    double missingNumber = 0;        // Number
    std::string missingText;         // Text and Choice
    double scale = 1;                // Number
    int decimals = 0;                // Number: decimals written to the file
    std::string alsoWrittenTo;       // a second key of the section that a write gives the same value
    bool readsDecimals = false;      // Integer: a stored decimal ("85.000000") is read, rounded
    std::string writtenKey;          // the key's spelling in a write, when it differs from `key`
    bool asciiDigits = false;        // Text: a number kept as text, written in ASCII digits
    Compare compare = Compare::Always;
    std::vector<Option> options; // Choice
    // Choice: the option the file selects (-1: the control stays as it is);
    // empty: the option whose word the value is, in any letter case.
    std::function<int(const TCustomIniFile&, const std::string& section, const std::string& key)> optionOf;
    bool showsNoneForOthers = false;      // Choice: a value that is no option turns every option off
    std::shared_ptr<const Custom> custom; // Custom
    int group = 0;                        // where the page shows the control, for pages that group their rows
    QString label;                        // the text the page shows beside the control
    std::optional<Preset> preset;
    // Where the page's load reads the row: rows are read by ascending place,
    // rows of one place in their order. The save writes them in their order.
    int readPlace = 0;
    // What the page does once the row is read (a label that names the value),
    // given the value as the file holds it, before any hold inside the
    // control's range: a flag, a whole number, a decimal, a text, or the
    // option a choice chose (nothing for a custom row).
    std::function<void(const QVariant& stored)> afterRead;

    // The same row, writing its value to `key` as well.
    Row alsoWrites(std::string key) const { return with(&Row::alsoWrittenTo, std::move(key)); }
    // The same row, written under another spelling of its key.
    Row writesAs(std::string key) const { return with(&Row::writtenKey, std::move(key)); }
    // The same row, compared as `when` says.
    Row compared(Compare when) const { return with(&Row::compare, when); }
    // The same row, a number kept as text: digits of another script in the
    // field are written as ASCII digits.
    Row writingAsciiDigits() const { return with(&Row::asciiDigits, true); }
    // The same row, reading a stored decimal as its rounded whole number
    // where the integer rule would fall back to the default.
    Row readingDecimals() const { return with(&Row::readsDecimals, true); }
    // The same row, shown in group `group` of its page.
    Row inGroup(int g) const { return with(&Row::group, g); }
    // The same row, its control shown beside `text`.
    Row labelled(QString text) const { return with(&Row::label, std::move(text)); }
    // The same row, set by the quality presets (texts as putText takes them).
    Row presets(QString low, QString high) const
    {
        return with(&Row::preset, std::optional<Preset>(Preset{std::move(low), std::move(high)}));
    }
    // The same choice row, choosing its option by `choose`.
    Row choosing(std::function<int(const TCustomIniFile&, const std::string&, const std::string&)> choose) const
    {
        return with(&Row::optionOf, std::move(choose));
    }
    // The same choice row, showing no option at all (no button on, no item)
    // when the file holds a value that is none of its options, where a plain
    // choice row leaves the control as it was.
    Row showingNoneForOthers() const { return with(&Row::showsNoneForOthers, true); }
    // The same row, read at `place` of its page's load.
    Row readAt(int place) const { return with(&Row::readPlace, place); }
    // The same row, followed by `step` whenever it is read.
    Row then(std::function<void(const QVariant&)> step) const { return with(&Row::afterRead, std::move(step)); }

    // What the control holds, typed by the form: a flag's box on or off (as
    // shown), a position, a text, the option shown (-1 for none), a custom
    // row's own value.
    QVariant current() const;
    // Whether the control holds something else than the last load or save
    // of its page put there, whether or not the change test compares the
    // row. Moved away and back is not.
    bool edited() const { return current() != m_loaded; }

private:
    friend class Table;

    template <class T, class V> Row with(T Row::*field, V&& value) const
    {
        Row row = *this;
        row.*field = std::forward<V>(value);
        return row;
    }

    QVariant m_loaded;   // what the last load or save put into the control
    QVariant m_snapshot; // the same, after the last load or save that went through
};

// A control of the page, under its name.
template <class T> T* named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A row's control must be able to hold its form; the factories take only
// such controls, so a mismatch does not compile.
Row flag(QAbstractButton* control, File file, std::string section, std::string key, bool missing,
         Sense sense = Sense::Direct);
Row integer(QAbstractSlider* control, File file, std::string section, std::string key, std::int32_t missing);
Row integer(QSpinBox* control, File file, std::string section, std::string key, std::int32_t missing);
Row number(QAbstractSlider* control, File file, std::string section, std::string key, double missing, double scale,
           int decimals);
Row number(QSpinBox* control, File file, std::string section, std::string key, double missing, double scale,
           int decimals);
Row text(QLineEdit* control, File file, std::string section, std::string key, std::string missing = {});
Row text(QComboBox* control, File file, std::string section, std::string key, std::string missing = {});
// A field compared with the snapshot that no key backs: never read or written.
Row unbound(QLineEdit* control);
// A pick list whose items stand for `words` in order; an item that is no
// word, or no item, writes nothing.
Row choice(QComboBox* control, File file, std::string section, std::string key, std::vector<std::string> words,
           std::string missing);
// A group of radio buttons, each standing for its word; none on writes nothing.
Row choice(std::vector<Option> options, File file, std::string section, std::string key, std::string missing);
// A control read and written by its own functions. `key` names the row in the
// list of pending changes when its write is refused.
Row custom(QWidget* control, File file, std::string section, std::string key, Custom functions,
           Compare when = Compare::Always);

// The profile text is the game's bytes, one character per byte.
QString fromProfile(const std::string& bytes);
std::string toProfile(const QString& text);

// A decimal with a point and `decimals` decimals, whatever the user's locale.
QString pointText(double value, int decimals);

// `value` rounded to a whole number the way the game's settings are shown on
// sliders; throws ECorvaneError when the result does not fit 32 bits.
std::int32_t roundedPosition(double value);

// The accessor of a file or of a row, and the section of a row, as they are at
// the moment of the call (LoadAll replaces the accessors). Throws when the
// file is not open.
TCustomIniFile& profile(File file, const RunTime& rt);
TCustomIniFile& profile(const Row& row, const RunTime& rt);
std::string section(const Row& row, const RunTime& rt);
std::string section(File file, const std::string& section, const RunTime& rt);

// The keys a save of the row writes for its control as it stands (none for a
// choice without an option, or an unbound field). Throws ECorvaneError when a
// text holds a character the game's files cannot store.
std::vector<KeyWrite> writes(const Row& row, const RunTime& rt);

// Puts a text into a control by its kind: "1"/"0" into a box or option (an
// option turned on is clicked, so its handlers run), a whole number into a
// slider or spin box, the text into an edit field, into a pick list the
// item spelled so in any letter case (else the editable text, else no item),
// and in a list the item spelled so is made the current and selected one.
void putText(QWidget* control, const QString& text);
// The same for a row: for a radio group, the option named by its word or its
// button's caption is clicked.
void putText(const Row& row, const QString& text);

// What a control holds as text, as putText takes it: "1"/"0" for a box, the
// position as decimal text for a slider or spin box, the text of a field or
// pick list.
QString value(const QWidget* control);
// The same for a row: for a radio group the word of the option on, for a
// custom row its own value as text.
QString value(const Row& row);

// A page's settings, in the order of its save. The table reads them in the
// order of the page's load, collects the keys of the edited ones for a Save,
// and keeps the page's snapshot for its change test.
class Table {
public:
    // Refuses (throws ECorvaneError) a row whose control is missing or cannot
    // hold its form: a fault of the page, found when the page is built.
    Table(const RunTime& rt, std::vector<Row> rows);

    const std::vector<Row>& rows() const { return m_rows; }
    // Reads every row backed by a key (and every custom row) in the order of
    // the load; each row's loaded value becomes what its control then shows,
    // even when a later row of the load fails.
    void readAll();
    // Adds the keys of the edited rows, in the order of the save, to `out`.
    // Every text is checked before the first key is added: a value the
    // game's files cannot hold adds nothing (unless `out` is lenient) and
    // throws.
    void collectAll(Writes& out) const;

    // The controls show what the files hold (after a load or a save): every
    // row's loaded value, and the snapshot of the compared rows.
    void takeSnapshot();
    // Whether a compared row differs from the snapshot (OnceLoaded rows only
    // once PagesLoaded is set). No side effects.
    bool changed() const;

private:
    const RunTime& m_rt;
    std::vector<Row> m_rows;
    std::vector<std::size_t> m_readOrder; // indexes of m_rows
};

} // namespace Binding
