#include "dialogs/Logo.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

QPixmap corvaneLogo(const QSize& size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, size.width(), size.height());
    g.setColorAt(0, QColor(20, 24, 40));
    g.setColorAt(1, QColor(110, 20, 20));
    p.setBrush(g);
    p.setPen(QPen(QColor(200, 150, 40), 1.5));
    p.drawRoundedRect(QRectF(0.75, 0.75, size.width() - 1.5, size.height() - 1.5), 6, 6);

    QFont title(QStringLiteral("Sans Serif"));
    title.setBold(true);
    title.setPixelSize(qMax(8, size.height() * 2 / 5));
    p.setFont(title);
    p.setPen(QColor(235, 200, 90));
    const QRect top(0, 0, size.width(), size.height() * 3 / 5);
    p.drawText(top, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("CORVANE"));
    QFont sub = title;
    sub.setBold(false);
    sub.setPixelSize(qMax(7, size.height() / 4));
    p.setFont(sub);
    p.setPen(QColor(230, 230, 230));
    const QRect bottom(0, size.height() * 3 / 5, size.width(), size.height() * 2 / 5);
    p.drawText(bottom, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("2003"));
    return pixmap;
}
