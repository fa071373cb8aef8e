#pragma once

#include <QSlider>

// A horizontal slider whose thumb can be hidden. While hidden the slider keeps
// its position (and still answers the keyboard and mouse); only the thumb is
// not drawn.
class ThumbSlider : public QSlider {
    Q_OBJECT
public:
    explicit ThumbSlider(QWidget* parent = nullptr);

    bool thumbVisible() const { return m_thumbVisible; }
    void setThumbVisible(bool visible);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_thumbVisible = true;
};
