#include "bannerstrip.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

namespace zv::access {

BannerStrip::BannerStrip(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Image1"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize BannerStrip::sizeHint() const { return {320, 56}; }

void BannerStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(rect().topLeft(), rect().topRight());
    g.setColorAt(0.0, QColor(0x1f, 0x3c, 0x78));
    g.setColorAt(1.0, QColor(0x6f, 0x9c, 0xd8));
    p.fillRect(rect(), g);
    QFont f = font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.6);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(rect().adjusted(14, 0, -14, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ZV"));
    QFont s = font();
    p.setFont(s);
    p.drawText(rect().adjusted(14, 0, -14, 0), Qt::AlignVCenter | Qt::AlignRight,
               QStringLiteral("по-осное взвешивание"));
}

void centerOnScreen(QWidget *w)
{
    QScreen *screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QRect frame = w->frameGeometry();
    frame.moveCenter(area.center());
    w->move(frame.topLeft());
}

} // namespace zv::access
