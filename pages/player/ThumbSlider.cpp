#include "pages/player/ThumbSlider.h"

#include <QPainter>
#include <QStyleOptionSlider>

ThumbSlider::ThumbSlider(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    setTickPosition(QSlider::TicksBelow);
}

void ThumbSlider::setThumbVisible(bool visible)
{
    if (visible == m_thumbVisible) return;
    m_thumbVisible = visible;
    update();
}

void ThumbSlider::paintEvent(QPaintEvent* event)
{
    if (m_thumbVisible) {
        QSlider::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove;
    if (tickPosition() != NoTicks) option.subControls |= QStyle::SC_SliderTickmarks;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}
