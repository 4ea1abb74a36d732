#include "app/RatingImages.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// Everything is drawn on a 16-unit grid and scaled, so both sizes have the same shapes.
constexpr qreal Grid = 16.0;

void badge(QPainter& p, const QColor& colour)
{
    const QRectF box(1.5, 1.5, 13, 13);
    QLinearGradient fill(0, box.top(), 0, box.bottom());
    fill.setColorAt(0, colour.lighter(150));
    fill.setColorAt(0.45, colour);
    fill.setColorAt(1, colour.darker(135));
    p.setPen(QPen(colour.darker(190), 1));
    p.setBrush(fill);
    p.drawRoundedRect(box, 3, 3);
    // A soft gloss on the upper half.
    QLinearGradient gloss(0, box.top(), 0, box.center().y());
    gloss.setColorAt(0, QColor(255, 255, 255, 150));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(3, 2.5, 10, 5.5), 2, 2);
}

void disc(QPainter& p, const QColor& colour)
{
    QRadialGradient fill(QPointF(6.5, 5.5), 9);
    fill.setColorAt(0, colour.lighter(160));
    fill.setColorAt(1, colour.darker(115));
    p.setPen(QPen(colour.darker(170), 0.9));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.2, 1.2, 13.6, 13.6));
}

void questionMark(QPainter& p)
{
    disc(p, QColor(120, 134, 156));
    QPainterPath hook;
    hook.moveTo(5.3, 6.1);
    hook.cubicTo(5.3, 3.6, 10.7, 3.4, 10.7, 6.0);
    hook.cubicTo(10.7, 7.6, 8.0, 7.9, 8.0, 9.8);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(8.0, 12.2), 1.15, 1.15);
}

void head(QPainter& p, const QColor& skin, const QColor& outline)
{
    p.setPen(QPen(outline, 0.8));
    p.setBrush(skin);
    p.drawEllipse(QPointF(8, 3.6), 2.5, 2.5);
}

void femaleFigure(QPainter& p)
{
    const QColor dress(214, 58, 140);
    const QColor outline = dress.darker(170);
    // Hair falling to the shoulders, then the face over it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 70, 40));
    p.drawRoundedRect(QRectF(5.1, 1.0, 5.8, 6.4), 2.6, 2.6);
    head(p, QColor(250, 214, 180), QColor(150, 100, 70));
    QPainterPath body;
    body.moveTo(6.3, 6.6);
    body.lineTo(9.7, 6.6);
    body.lineTo(12.6, 13.2);
    body.lineTo(3.4, 13.2);
    body.closeSubpath();
    QLinearGradient fill(0, 6.6, 0, 13.2);
    fill.setColorAt(0, dress.lighter(135));
    fill.setColorAt(1, dress.darker(115));
    p.setPen(QPen(outline, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(body);
    p.setPen(QPen(QColor(250, 214, 180).darker(150), 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6.6, 13.6), QPointF(6.6, 15.0));
    p.drawLine(QPointF(9.4, 13.6), QPointF(9.4, 15.0));
}

void maleFigure(QPainter& p)
{
    const QColor shirt(46, 104, 196);
    const QColor outline = shirt.darker(170);
    head(p, QColor(250, 214, 180), QColor(150, 100, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 60, 35));
    p.drawChord(QRectF(5.5, 1.1, 5, 4.4), 0, 180 * 16);
    QPainterPath body;
    body.moveTo(4.2, 12.0);
    body.lineTo(4.2, 8.4);
    body.quadTo(4.2, 6.6, 6.2, 6.6);
    body.lineTo(9.8, 6.6);
    body.quadTo(11.8, 6.6, 11.8, 8.4);
    body.lineTo(11.8, 12.0);
    body.closeSubpath();
    QLinearGradient fill(0, 6.6, 0, 12);
    fill.setColorAt(0, shirt.lighter(140));
    fill.setColorAt(1, shirt.darker(110));
    p.setPen(QPen(outline, 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(52, 56, 70));
    p.drawRect(QRectF(5.6, 11.6, 2.1, 3.8));
    p.drawRect(QRectF(8.3, 11.6, 2.1, 3.8));
}

void computerFigure(QPainter& p)
{
    const QColor casing(96, 102, 112);
    p.setPen(QPen(casing.darker(160), 0.8));
    p.setBrush(casing.lighter(130));
    p.drawRoundedRect(QRectF(1.4, 2.0, 13.2, 9.6), 1.4, 1.4);
    QLinearGradient screen(0, 3.2, 0, 10.4);
    screen.setColorAt(0, QColor(110, 200, 255));
    screen.setColorAt(1, QColor(24, 92, 168));
    p.setPen(Qt::NoPen);
    p.setBrush(screen);
    p.drawRect(QRectF(2.8, 3.3, 10.4, 7.0));
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRect(QRectF(3.6, 4.2, 5.0, 1.0));
    p.setBrush(casing);
    p.drawRect(QRectF(6.9, 11.6, 2.2, 1.8));
    p.setPen(QPen(casing.darker(150), 0.8));
    p.setBrush(casing.lighter(120));
    p.drawRoundedRect(QRectF(3.8, 13.2, 8.4, 1.8), 0.8, 0.8);
}

} // namespace

QVector<QImage> DrawRatingImages(int size)
{
    static const QColor badges[] = {QColor(150, 150, 150), QColor(40, 170, 60),
                                    QColor(40, 100, 220),  QColor(140, 60, 190),
                                    QColor(245, 140, 20),  QColor(220, 30, 30)};
    QVector<QImage> images;
    for (int i = 0; i < RatingImageCount; ++i) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / Grid, size / Grid);
        if (i >= 1 && i <= 6)
            badge(p, badges[i - 1]);
        else if (i == 7)
            questionMark(p);
        else if (i == 8)
            femaleFigure(p);
        else if (i == 9)
            maleFigure(p);
        else if (i == 10)
            computerFigure(p);
        p.end();
        images.append(image);
    }
    return images;
}
