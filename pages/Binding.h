#pragma once

#include "pages/RunTime.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

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

struct Row {
    QWidget* control = nullptr;
    File file = File::User;
    std::string section; // not used for File::Viewport
    std::string key;
    Form form = Form::Text;
    Sense sense = Sense::Direct;       // Flag
    bool missingFlag = false;          // Flag: the stored value used when the key is absent
    std::int32_t missingInteger = 0;   // Integer
    double missingNumber = 0;          // Number
    std::string missingText;           // Text
    double scale = 1;                  // Number
    int decimals = 0;                  // Number: decimals written to the file
    std::string alsoWrittenTo;         // a second key of the section that a write gives the same value
    bool readsDecimals = false;        // Integer: a stored decimal ("85.000000") is read, rounded

    // The same row, writing its value to `key` as well.
    Row alsoWrites(std::string key) const;
    // The same row, reading a stored decimal as its rounded whole number
    // where the integer rule would fall back to the default.
    Row readingDecimals() const;
};

Row flag(QWidget* control, File file, std::string section, std::string key, bool missing,
         Sense sense = Sense::Direct);
Row integer(QWidget* control, File file, std::string section, std::string key, std::int32_t missing);
Row number(QWidget* control, File file, std::string section, std::string key, double missing, double scale,
           int decimals);
Row text(QWidget* control, File file, std::string section, std::string key, std::string missing = {});

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
// Writes the control's value to the row's key (and its second key).
void write(const Row& row, const RunTime& rt);

// What a page snapshot keeps of a control: "1"/"0" for a box, the position as
// decimal text for a slider or spin box, the text of a field or pick list.
QString value(const QWidget* control);
QStringList values(std::initializer_list<const QWidget*> controls);

// A page's rows, found by their control, so that a page's load and save read
// as ordered lists of controls.
class Table {
public:
    Table(const RunTime& rt, std::vector<Row> rows);

    const Row& row(const QWidget* control) const;
    QVariant read(const QWidget* control) const;
    void read(std::initializer_list<const QWidget*> controls) const;
    void write(const QWidget* control) const;
    void write(std::initializer_list<const QWidget*> controls) const;

private:
    const RunTime& m_rt;
    std::vector<Row> m_rows;
};

} // namespace Binding
