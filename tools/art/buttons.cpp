// Pictures for the programmable buttons: 24 x 24, 24-bit BMP on the tool bar's grey. Their
// file names start with a number because a button keeps its picture by position in the
// folder's listing.
#include "art.h"

#include <QDir>
#include <QFont>
#include <QPainter>

namespace art {

namespace {

const QColor Face(240, 240, 240);
const QColor Ink(40, 44, 52);

using Icon = std::function<void(QPainter&)>;

QPen ink(double w = 1.1) { return QPen(Ink, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

QBrush shade(const QColor& c, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, mix(c, Qt::white, 0.35));
    g.setColorAt(1, c);
    return g;
}

void text(QPainter& p, const QRectF& r, const QString& s, double size, const QColor& c)
{
    QFont f("DejaVu Sans");
    f.setBold(true);
    f.setPixelSize(int(size * 4)); // drawn at four times the size, see render()
    QPainterPath path;
    path.addText(0, 0, f, s);
    path = QTransform::fromScale(0.25, 0.25).map(path);
    path.translate(r.center() - path.boundingRect().center());
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawPath(path);
}

QImage render(const Icon& draw)
{
    QImage big(96, 96, QImage::Format_RGB32);
    big.fill(Face);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(4, 4);
        draw(p);
    }
    return big.scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

const std::vector<std::pair<QString, Icon>>& icons()
{
    static const std::vector<std::pair<QString, Icon>> all = {
        {"01_chat", [](QPainter& p) {
             QPainterPath b;
             b.addRoundedRect(QRectF(2.5, 3.5, 19, 13), 4, 4);
             b.moveTo(6, 16);
             b.lineTo(5, 21.5);
             b.lineTo(11, 16);
             b = b.simplified();
             p.setPen(ink());
             p.setBrush(shade(QColor(60, 130, 210), QRectF(2, 3, 20, 19)));
             p.drawPath(b);
             p.setPen(Qt::NoPen);
             p.setBrush(Qt::white);
             for (double x : {8.0, 12.0, 16.0})
                 p.drawEllipse(QPointF(x, 10), 1.5, 1.5);
         }},
        {"02_hello", [](QPainter& p) {
             // an open hand, waving
             const QColor skin(240, 196, 140);
             p.setPen(ink(1.0));
             p.setBrush(skin);
             p.save();
             p.translate(12.5, 13.5);
             p.rotate(-12);
             const double tops[4] = {-8.5, -10.5, -10, -8};
             for (int i = 0; i < 4; ++i)
                 p.drawRoundedRect(QRectF(-4.9 + i * 2.45, tops[i], 2.35, 9 - tops[i] * 0.2), 1.15, 1.15);
             p.save();
             p.translate(-4.2, 3.2);
             p.rotate(-48);
             p.drawRoundedRect(QRectF(-1.3, -7, 2.6, 8), 1.3, 1.3);
             p.restore();
             p.drawRoundedRect(QRectF(-5, -2, 10, 9.5), 3, 3);
             p.setPen(Qt::NoPen);
             p.drawRect(QRectF(-4.4, -2.6, 8.8, 2));
             p.restore();
             p.setPen(QPen(QColor(60, 130, 210), 1.3, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(15, 1.5, 8, 8), 0 * 16, 90 * 16);
             p.drawArc(QRectF(1, 1.5, 8, 8), 90 * 16, 90 * 16);
         }},
        {"03_die", [](QPainter& p) {
             const QRectF r(3, 3, 18, 18);
             p.setPen(ink());
             p.setBrush(shade(QColor(236, 236, 240), r));
             p.drawRoundedRect(r, 4, 4);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(190, 40, 48));
             for (QPointF c : {QPointF(7.5, 7.5), QPointF(12, 12), QPointF(16.5, 16.5), QPointF(16.5, 7.5), QPointF(7.5, 16.5)})
                 p.drawEllipse(c, 1.8, 1.8);
         }},
        {"04_cube", [](QPainter& p) {
             const QRectF r(3, 3, 18, 18);
             p.setPen(ink());
             p.setBrush(shade(QColor(238, 226, 196), r));
             p.drawRoundedRect(r, 3, 3);
             text(p, r, "2", 14, QColor(60, 40, 24));
         }},
        {"05_trophy", [](QPainter& p) {
             const QColor gold(228, 178, 40);
             p.setPen(ink(1.0));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(2.5, 5, 7, 7), 90 * 16, 180 * 16);
             p.drawArc(QRectF(14.5, 5, 7, 7), -90 * 16, 180 * 16);
             QPainterPath cup;
             cup.moveTo(6, 3.5);
             cup.lineTo(18, 3.5);
             cup.cubicTo(18, 11, 15, 14, 12, 14);
             cup.cubicTo(9, 14, 6, 11, 6, 3.5);
             p.setBrush(shade(gold, QRectF(6, 3, 12, 11)));
             p.drawPath(cup);
             p.drawRect(QRectF(10.5, 14, 3, 3.5));
             p.drawRoundedRect(QRectF(7, 17.5, 10, 3.5), 1, 1);
             p.setPen(QPen(QColor(255, 245, 200), 1.0));
             p.drawLine(QPointF(8.5, 5.5), QPointF(9.3, 10));
         }},
        {"06_clock", [](QPainter& p) {
             p.setPen(ink(1.2));
             p.setBrush(shade(QColor(250, 250, 250), QRectF(3, 3, 18, 18)));
             p.drawEllipse(QPointF(12, 12), 9, 9);
             p.setPen(QPen(QColor(60, 130, 210), 1.0));
             for (int i = 0; i < 12; i += 3) {
                 const double a = i * M_PI / 6;
                 p.drawLine(QPointF(12 + 7 * std::sin(a), 12 - 7 * std::cos(a)), QPointF(12 + 8 * std::sin(a), 12 - 8 * std::cos(a)));
             }
             p.setPen(QPen(Ink, 1.5, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(12, 12), QPointF(12, 6.5));
             p.drawLine(QPointF(12, 12), QPointF(16, 14));
         }},
        {"07_star", [](QPainter& p) {
             QPolygonF star;
             for (int i = 0; i < 10; ++i) {
                 const double a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? 4.2 : 10;
                 star << QPointF(12 + r * std::cos(a), 12.8 + r * std::sin(a));
             }
             p.setPen(ink(1.0));
             p.setBrush(shade(QColor(245, 190, 30), QRectF(2, 2, 20, 20)));
             p.drawPolygon(star);
         }},
        {"08_heart", [](QPainter& p) {
             QPainterPath h;
             h.moveTo(12, 20.5);
             h.cubicTo(4, 14.5, 2, 11, 2.8, 7.5);
             h.cubicTo(3.8, 3.5, 9.5, 2.5, 12, 7);
             h.cubicTo(14.5, 2.5, 20.2, 3.5, 21.2, 7.5);
             h.cubicTo(22, 11, 20, 14.5, 12, 20.5);
             p.setPen(ink(1.0));
             p.setBrush(shade(QColor(214, 40, 56), QRectF(2, 3, 20, 18)));
             p.drawPath(h);
             p.setPen(Qt::NoPen);
             p.setBrush(QColor(255, 255, 255, 150));
             p.drawEllipse(QPointF(7, 7.5), 1.8, 1.2);
         }},
        {"09_question", [](QPainter& p) {
             p.setPen(ink(1.0));
             p.setBrush(shade(QColor(50, 120, 200), QRectF(2, 2, 20, 20)));
             p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
             text(p, QRectF(2, 2.5, 20, 20), "?", 14, Qt::white);
         }},
        {"10_exclamation", [](QPainter& p) {
             QPolygonF tri({QPointF(12, 2.5), QPointF(22, 20.5), QPointF(2, 20.5)});
             p.setPen(QPen(Ink, 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(shade(QColor(240, 150, 20), QRectF(2, 2, 20, 19)));
             p.drawPolygon(tri);
             text(p, QRectF(2, 7, 20, 13), "!", 12, Qt::white);
         }},
        {"11_watch", [](QPainter& p) {
             QPainterPath eye;
             eye.moveTo(1.5, 12);
             eye.cubicTo(6, 4.5, 18, 4.5, 22.5, 12);
             eye.cubicTo(18, 19.5, 6, 19.5, 1.5, 12);
             p.setPen(ink(1.1));
             p.setBrush(Qt::white);
             p.drawPath(eye);
             p.setBrush(shade(QColor(60, 140, 90), QRectF(7, 7, 10, 10)));
             p.drawEllipse(QPointF(12, 12), 4.6, 4.6);
             p.setPen(Qt::NoPen);
             p.setBrush(Ink);
             p.drawEllipse(QPointF(12, 12), 2.1, 2.1);
             p.setBrush(Qt::white);
             p.drawEllipse(QPointF(10.6, 10.6), 1.0, 1.0);
         }},
        {"12_message", [](QPainter& p) {
             const QRectF r(2.5, 5.5, 19, 13);
             p.setPen(ink());
             p.setBrush(shade(QColor(248, 244, 228), r));
             p.drawRect(r);
             p.setBrush(Qt::NoBrush);
             p.drawPolyline(QPolygonF({r.topLeft(), QPointF(12, 13), r.topRight()}));
             p.setPen(QPen(Ink, 0.8));
             p.drawLine(r.bottomLeft(), QPointF(9.5, 11.5));
             p.drawLine(r.bottomRight(), QPointF(14.5, 11.5));
         }},
        {"13_flag", [](QPainter& p) {
             p.setPen(QPen(QColor(90, 70, 50), 1.6, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(5, 2.5), QPointF(5, 21.5));
             QPainterPath f;
             f.moveTo(5.5, 3.5);
             f.cubicTo(10, 1.5, 13, 6, 20.5, 4);
             f.lineTo(20.5, 13);
             f.cubicTo(13, 15, 10, 10.5, 5.5, 12.5);
             f.closeSubpath();
             p.setPen(ink(1.0));
             p.setBrush(shade(QColor(60, 160, 80), QRectF(5, 2, 16, 12)));
             p.drawPath(f);
         }},
        {"14_coffee", [](QPainter& p) {
             p.setPen(ink(1.1));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(14.5, 10, 6.5, 6.5), -90 * 16, 180 * 16);
             QPainterPath cup;
             cup.moveTo(4, 9);
             cup.lineTo(18, 9);
             cup.lineTo(17, 18);
             cup.cubicTo(16.5, 20, 15, 20.5, 13, 20.5);
             cup.lineTo(9, 20.5);
             cup.cubicTo(7, 20.5, 5.5, 20, 5, 18);
             cup.closeSubpath();
             p.setBrush(shade(QColor(245, 245, 245), QRectF(4, 9, 14, 12)));
             p.drawPath(cup);
             p.setBrush(QColor(120, 74, 40));
             p.drawEllipse(QRectF(4.6, 8.2, 12.8, 2.4));
             p.setPen(QPen(QColor(150, 150, 160), 1.0, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             for (double x : {8.5, 12.5}) {
                 QPainterPath steam;
                 steam.moveTo(x, 6.5);
                 steam.cubicTo(x - 1.5, 5, x + 1.5, 3.5, x, 1.5);
                 p.drawPath(steam);
             }
         }},
        {"15_smile", [](QPainter& p) {
             p.setPen(ink(1.0));
             p.setBrush(shade(QColor(250, 204, 50), QRectF(2, 2, 20, 20)));
             p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
             p.setPen(Qt::NoPen);
             p.setBrush(Ink);
             p.drawEllipse(QPointF(8.6, 9.5), 1.3, 1.7);
             p.drawEllipse(QPointF(15.4, 9.5), 1.3, 1.7);
             p.setPen(QPen(Ink, 1.4, Qt::SolidLine, Qt::RoundCap));
             p.setBrush(Qt::NoBrush);
             p.drawArc(QRectF(6.5, 7, 11, 10), -30 * 16, -120 * 16);
         }},
        {"16_gg", [](QPainter& p) {
             const QRectF r(2, 4, 20, 16);
             p.setPen(QPen(QColor(30, 90, 50), 1.0));
             p.setBrush(shade(QColor(60, 150, 84), r));
             p.drawRoundedRect(r, 4, 4);
             text(p, r, "gg", 12, Qt::white);
         }},
    };
    return all;
}

} // namespace

bool writeButtons(const QString& buttonsDir, QString* error)
{
    if (!QDir().mkpath(buttonsDir)) {
        *error = QStringLiteral("cannot create %1").arg(buttonsDir);
        return false;
    }
    const QDir d(buttonsDir);
    for (const auto& [name, draw] : icons()) {
        const QString path = d.filePath(name + ".bmp");
        if (!render(draw).convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}

} // namespace art
