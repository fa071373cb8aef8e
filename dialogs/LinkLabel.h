#pragma once

#include <QLabel>

// A label drawn as a link: blue, underlined, with a hand cursor. A click on
// it is reported through clicked().
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& caption, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
