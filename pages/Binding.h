#pragma once

#include "pages/PendingWrites.h"
#include "pages/RunTime.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

class QAbstractButton;
class QAbstractSlider;
class QComboBox;
class QLineEdit;
class QSpinBox;
class QWidget;
class TCustomIniFile;

// Ties the controls of a page to the keys of the game's profile files. A page
// describes each control once, as a row (which file, section and key, how the
// value is kept on disk, the value used when the key is absent), and reads,
// writes and compares its controls through these rows.
//
// Controls understood: check boxes and radio buttons (flags), sliders and spin
// boxes (integers and scaled numbers), edit fields and pick lists (text).
namespace Binding {

// Which profile file holds a key. Viewport is the section of UT2003.ini named
// by the engine's ViewportManager; it is looked up each time it is used.
enum class File { User, Game, Viewport };

enum class Form {
    Flag,    // "True"/"False"; the control may show the opposite of the stored flag
    Integer, // whole number, held inside the control's range
    Number,  // decimal with a point; control position = value times scale, rounded
    Text,    // as is
};

enum class Sense { Direct, Inverted };

// When the page's changed test looks at a control: always, only once every
// page has been loaded at start-up (RunTime::PagesLoaded), or never.
enum class Compare { Always, OnceLoaded, Never };

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
    std::string missingText;         // Text
    double scale = 1;                // Number
    int decimals = 0;                // Number: decimals written to the file
    std::string alsoWrittenTo;       // a second key of the section that a write gives the same value
    bool readsDecimals = false;      // Integer: a stored decimal ("85.000000") is read, rounded
    std::string writtenKey;          // the key's spelling in a write, when it differs from `key`
    bool asciiDigits = false;        // Text: a number kept as text, written in ASCII digits
    Compare compare = Compare::Always;

    // The same row, writing its value to `key` as well.
    Row alsoWrites(std::string key) const;
    // The same row, written under another spelling of its key.
    Row writesAs(std::string key) const;
    // The same row, compared as `when` says.
    Row compared(Compare when) const;
    // The same row, a number kept as text: digits of another script in the
    // field are written as ASCII digits.
    Row writingAsciiDigits() const;
    // The same row, reading a stored decimal as its rounded whole number
    // where the integer rule would fall back to the default.
    Row readingDecimals() const;
};

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

// Reads the row's key into its control and returns the value as read (before
// any hold inside the control's range): bool, int, double or QString.
QVariant read(const Row& row, const RunTime& rt);
// The text a write puts into the file for the row's control: "True"/"False",
// a whole number, a decimal with a point, or the field's text in the game's
// code page. Throws ECorvaneError when the text holds a character the game's
// files cannot store.
std::string stored(const Row& row);
// Writes the control's value to the row's key (and its second key).
void write(const Row& row, const RunTime& rt);

// What a page snapshot keeps of a control: "1"/"0" for a box, the position as
// decimal text for a slider or spin box, the text of a field or pick list.
QString value(const QWidget* control);
QStringList values(std::initializer_list<const QWidget*> controls);

// A page's rows, found by their control, so that a page's load and save read
// as ordered lists of controls. The table also keeps the page's snapshot:
// the values of its compared controls after the last load or save.
class Table {
public:
    // Refuses (throws ECorvaneError) a row whose control is missing or cannot
    // hold its form: a fault of the page, found when the page is built.
    Table(const RunTime& rt, std::vector<Row> rows);

    const Row& row(const QWidget* control) const;
    const std::vector<Row>& rows() const { return m_rows; }
    QVariant read(const QWidget* control) const;
    void read(std::initializer_list<const QWidget*> controls) const;
    void readAll() const;
    void write(const QWidget* control) const;
    // Every text is checked before the first key is written: a value the
    // game's files cannot hold leaves them untouched.
    void write(std::initializer_list<const QWidget*> controls) const;
    void writeAll() const;

    // The snapshot of the compared controls, and whether any of them now
    // differs from it (OnceLoaded rows only once PagesLoaded is set). The
    // changed test has no side effects.
    void takeSnapshot();
    bool changed() const;

    // The keys whose value writeAll would change.
    std::vector<PendingWrite> pendingWrites() const;

private:
    void write(const std::vector<const Row*>& rows) const;

    const RunTime& m_rt;
    std::vector<Row> m_rows;
    QStringList m_snapshot; // one value per row, in row order
};

} // namespace Binding
