#include "config/Glyphs.h"
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

namespace lexifol::glyphs {

namespace {

void arrow(QPainter& p, qreal s, bool up)
{
    QPainterPath path;
    if (up) {
        path.moveTo(s * 0.5, s * 0.15);
        path.lineTo(s * 0.88, s * 0.6);
        path.lineTo(s * 0.64, s * 0.6);
        path.lineTo(s * 0.64, s * 0.86);
        path.lineTo(s * 0.36, s * 0.86);
        path.lineTo(s * 0.36, s * 0.6);
        path.lineTo(s * 0.12, s * 0.6);
    } else {
        path.moveTo(s * 0.5, s * 0.85);
        path.lineTo(s * 0.88, s * 0.4);
        path.lineTo(s * 0.64, s * 0.4);
        path.lineTo(s * 0.64, s * 0.14);
        path.lineTo(s * 0.36, s * 0.14);
        path.lineTo(s * 0.36, s * 0.4);
        path.lineTo(s * 0.12, s * 0.4);
    }
    path.closeSubpath();
    p.setBrush(QColor(0x2b, 0x6c, 0xb0));
    p.setPen(QPen(QColor(0x1a, 0x44, 0x70), s / 24));
    p.drawPath(path);
}

void sideArrow(QPainter& p, qreal s, bool left)
{
    QPainterPath path;
    const qreal a = left ? 0.15 : 0.85, b = left ? 0.6 : 0.4;
    path.moveTo(s * a, s * 0.5);
    path.lineTo(s * b, s * 0.12);
    path.lineTo(s * b, s * 0.36);
    path.lineTo(s * (left ? 0.86 : 0.14), s * 0.36);
    path.lineTo(s * (left ? 0.86 : 0.14), s * 0.64);
    path.lineTo(s * b, s * 0.64);
    path.lineTo(s * b, s * 0.88);
    path.closeSubpath();
    p.setBrush(QColor(0x2f, 0x8f, 0x4e));
    p.setPen(QPen(QColor(0x1d, 0x5a, 0x31), s / 24));
    p.drawPath(path);
}

void bookmark(QPainter& p, qreal s, bool plus)
{
    QPainterPath path;
    path.moveTo(s * 0.25, s * 0.1);
    path.lineTo(s * 0.75, s * 0.1);
    path.lineTo(s * 0.75, s * 0.9);
    path.lineTo(s * 0.5, s * 0.68);
    path.lineTo(s * 0.25, s * 0.9);
    path.closeSubpath();
    p.setBrush(QColor(0xd0, 0x3a, 0x2f));
    p.setPen(QPen(QColor(0x80, 0x20, 0x18), s / 24));
    p.drawPath(path);
    if (plus) {
        p.setPen(QPen(Qt::white, s / 10, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.5, s * 0.22), QPointF(s * 0.5, s * 0.5));
        p.drawLine(QPointF(s * 0.36, s * 0.36), QPointF(s * 0.64, s * 0.36));
    }
}

void magnifier(QPainter& p, qreal s)
{
    p.setBrush(QColor(0xe8, 0xf2, 0xfb));
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), s / 10));
    p.drawEllipse(QPointF(s * 0.42, s * 0.42), s * 0.26, s * 0.26);
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), s / 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.62, s * 0.62), QPointF(s * 0.86, s * 0.86));
}

void book(QPainter& p, qreal s, const QColor& cover)
{
    p.setBrush(cover);
    p.setPen(QPen(cover.darker(160), s / 24));
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.1, s * 0.64, s * 0.8), s * 0.06, s * 0.06);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(s * 0.3, s * 0.22, s * 0.4, s * 0.16));
}

void lines(QPainter& p, qreal s)
{
    p.setPen(QPen(QColor(0x44, 0x44, 0x44), s / 12, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 4; ++i) {
        const qreal y = s * (0.22 + 0.19 * i);
        p.drawLine(QPointF(s * 0.18, y), QPointF(s * (i % 2 ? 0.62 : 0.82), y));
    }
}

void clock(QPainter& p, qreal s)
{
    p.setBrush(QColor(0xff, 0xf4, 0xd6));
    p.setPen(QPen(QColor(0x7a, 0x5a, 0x10), s / 14));
    p.drawEllipse(QPointF(s / 2, s / 2), s * 0.38, s * 0.38);
    p.setPen(QPen(QColor(0x33, 0x33, 0x33), s / 12, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s / 2, s / 2), QPointF(s / 2, s * 0.26));
    p.drawLine(QPointF(s / 2, s / 2), QPointF(s * 0.68, s * 0.58));
}

void cross(QPainter& p, qreal s)
{
    p.setPen(QPen(Qt::black, s / 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(s * 0.25, s * 0.25), QPointF(s * 0.75, s * 0.75));
    p.drawLine(QPointF(s * 0.75, s * 0.25), QPointF(s * 0.25, s * 0.75));
}

void abc(QPainter& p, qreal s, int digit)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(int(s * 0.38));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(0, 0, s, s * 0.55), Qt::AlignCenter, QStringLiteral("ABC"));
    f.setPixelSize(int(s * 0.34));
    p.setFont(f);
    p.setPen(QColor(0x2b, 0x6c, 0xb0));
    p.drawText(QRectF(0, s * 0.5, s, s * 0.45), Qt::AlignCenter, QString::number(digit));
}

void paint(QPainter& p, Glyph g, qreal s)
{
    switch (g) {
    case Glyph::App:
        book(p, s, QColor(0x1f, 0x4e, 0x8c));
        p.setPen(QPen(QColor(0xff, 0xd7, 0x4a), s / 14));
        p.drawLine(QPointF(s * 0.32, s * 0.55), QPointF(s * 0.68, s * 0.55));
        p.drawLine(QPointF(s * 0.32, s * 0.7), QPointF(s * 0.6, s * 0.7));
        break;
    case Glyph::MoveUp:
        arrow(p, s, true);
        break;
    case Glyph::MoveDown:
        arrow(p, s, false);
        break;
    case Glyph::Back:
        sideArrow(p, s, true);
        break;
    case Glyph::Forward:
        sideArrow(p, s, false);
        break;
    case Glyph::AddBookmark:
        bookmark(p, s, true);
        break;
    case Glyph::TabBookmarks:
        bookmark(p, s, false);
        break;
    case Glyph::Find:
        magnifier(p, s);
        break;
    case Glyph::Annotation:
        book(p, s, QColor(0x8a, 0x5a, 0x2b));
        p.setPen(QPen(Qt::white, s / 12));
        p.drawLine(QPointF(s * 0.5, s * 0.5), QPointF(s * 0.5, s * 0.78));
        p.drawPoint(QPointF(s * 0.5, s * 0.3));
        break;
    case Glyph::Preview:
        p.setBrush(QColor(0xfa, 0xfa, 0xfa));
        p.setPen(QPen(QColor(0x55, 0x55, 0x55), s / 16));
        p.drawRect(QRectF(s * 0.12, s * 0.25, s * 0.76, s * 0.5));
        p.setPen(QPen(QColor(0x2b, 0x6c, 0xb0), s / 10));
        p.drawLine(QPointF(s * 0.25, s * 0.5), QPointF(s * 0.75, s * 0.5));
        break;
    case Glyph::TabHistory:
        clock(p, s);
        break;
    case Glyph::TabIndex:
        lines(p, s);
        break;
    case Glyph::Cross:
        cross(p, s);
        break;
    case Glyph::Abc1:
        abc(p, s, 1);
        break;
    case Glyph::Abc2:
        abc(p, s, 2);
        break;
    }
}

} // namespace

QIcon icon(Glyph g, int size)
{
    QIcon result;
    for (int scale : {1, 2}) {
        QPixmap pm(size * scale, size * scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        paint(p, g, size * scale);
        p.end();
        pm.setDevicePixelRatio(scale);
        result.addPixmap(pm);
    }
    return result;
}

} // namespace lexifol::glyphs

QToolButton* lexifol::glyphs::button(QWidget* parent, Glyph g, const QString& name, int size)
{
    auto* b = new QToolButton(parent);
    b->setIcon(icon(g, size));
    b->setIconSize(QSize(size, size));
    b->setToolTip(name);
    b->setAccessibleName(name);
    b->setAutoRaise(true);
    return b;
}
