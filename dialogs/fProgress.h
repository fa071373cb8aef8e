#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// A small borderless window with a caption and a bar, shown while the
// program loads, saves or downloads.
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

    // Shows the window centred on the screen and lets pending events run.
    void showCentred();
    // Sets the bar and lets pending events run, so the window repaints.
    void step(int position);

private:
    QLabel* m_caption;
    QProgressBar* m_bar;
};
