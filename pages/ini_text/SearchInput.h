#pragma once

#include <QDialog>

class QLineEdit;

// The small input box of the raw text page's search: captioned "Search for",
// the prompt "Text" and an edit field of at most 255 characters.
class SearchInput : public QDialog {
public:
    explicit SearchInput(QWidget* parent = nullptr);

    // Shows the box; the text typed, or empty text after Cancel.
    static QString ask(QWidget* parent);

    QLineEdit* edtText;
};
