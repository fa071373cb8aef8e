#pragma once

#include "dialogs/InputBlocker.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

// A small borderless window with a caption and a bar, shown while the
// program loads, saves or downloads. While it exists, user input reaches no
// window but a dialog opened meanwhile (InputBlocker).
class TfrmProgress : public QWidget {
    Q_OBJECT
public:
    explicit TfrmProgress(const QString& caption, int maximum = 5, QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const;
    void setMaximum(int maximum);
    void setPosition(int position);
    int position() const;
    int maximum() const;

    // Adds a "Cancel" button (btnCancel) under the bar that calls `onCancel`
    // once; it takes clicks although all other input is blocked.
    void offerCancel(std::function<void()> onCancel);
    // Disables the button: from here on there is nothing to cancel.
    void withdrawCancel();
    QPushButton* cancelButton() const { return m_cancel; }

    // Shows the window centred on the screen and lets pending events run.
    void showCentred();
    // Sets the bar and lets pending events run, so the window repaints.
    void step(int position);

    // Hides every progress window while a dialog or message box is up, so
    // that none covers it; they come back when the dialog has closed.
    class HiddenWhileDialog {
    public:
        HiddenWhileDialog();
        ~HiddenWhileDialog();
        HiddenWhileDialog(const HiddenWhileDialog&) = delete;
        HiddenWhileDialog& operator=(const HiddenWhileDialog&) = delete;

    private:
        std::vector<QPointer<TfrmProgress>> m_hidden;
    };

    ~TfrmProgress() override;

private:
    InputBlocker m_block;
    QLabel* m_caption;
    QProgressBar* m_bar;
    QPushButton* m_cancel = nullptr;
};
