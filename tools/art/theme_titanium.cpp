// Titanium, the default board: brushed grey metal, a dark slate field, steel and blue-grey points.
#include "art.h"

#include <QPainter>

namespace art {

namespace {

// Brushed metal: each row of pixels its own slowly varying streak. Vertical brushing when
// `vertical`.
QColor brushed(double x, double y, bool vertical, double level, uint32_t seed, const QColor& tint)
{
    const double u = vertical ? y : x, v = vertical ? x : y;
    const double streak = valueNoise(u / 45.0, std::floor(v), seed) * 0.55 + valueNoise(u / 9.0, std::floor(v), seed + 7) * 0.25
                          + fbm(u / 300.0, v / 2.5, seed + 13, 3) * 0.20;
    const double cloud = fbm(x / 180.0, y / 180.0, seed + 29, 3);
    const double t = level + 0.13 * (streak - 0.5) + 0.09 * (cloud - 0.5);
    return QColor::fromRgbF(float(clamp01(t * tint.redF())), float(clamp01(t * tint.greenF())),
                            float(clamp01(t * tint.blueF())));
}

QColor slate(double x, double y)
{
    const double cloud = fbm(x / 70.0, y / 70.0, 301, 4);
    const double grain = random01(int(x), int(y), 302);
    const double layer = fbm(x / 400.0 + y / 25.0, y / 300.0, 303, 3); // faint cleavage bands
    const double v = 0.86 + 0.22 * (cloud - 0.5) + 0.05 * (grain - 0.5) + 0.07 * (layer - 0.5);
    return QColor::fromRgbF(float(clamp01(0.155 * v)), float(clamp01(0.178 * v)), float(clamp01(0.215 * v)));
}

void screw(QPainter& p, QPointF c, double r)
{
    QRadialGradient g(c, r, c - QPointF(r * 0.4, r * 0.4));
    g.setColorAt(0, QColor(236, 239, 243));
    g.setColorAt(0.7, QColor(150, 156, 164));
    g.setColorAt(1, QColor(88, 94, 102));
    p.setPen(QPen(QColor(40, 44, 50, 200), 0.8));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    // hexagon socket
    QPolygonF hex;
    for (int i = 0; i < 6; ++i) {
        const double a = M_PI / 3 * i + M_PI / 6;
        hex << c + QPointF(std::cos(a), std::sin(a)) * r * 0.45;
    }
    p.setPen(QPen(QColor(255, 255, 255, 90), 0.6));
    p.setBrush(QColor(48, 52, 58));
    p.drawPolygon(hex);
}

class Titanium : public Theme {
public:
    QString name() const override { return "Titanium"; }
    QString about() const override
    {
        return "Titanium: brushed titanium frame, slate field, steel and blue-grey points. "
               "The default board of Tabulon, drawn by its own art generator.";
    }
    // The settings' default names the description "Titatium.ini"; the Preferences window
    // writes "<name>\\<name>.ini" when the theme is chosen. Both are shipped.
    QStringList descriptionFiles() const override { return {"Titatium.ini", "Titanium.ini"}; }
    LayoutParams params() const override
    {
        LayoutParams p;
        p.checker = 36;
        p.gap = 2;
        p.frameX = 14;
        p.frameY = 20;
        p.strip = 50;
        p.divider = 10;
        p.bar = 50;
        p.margin = 4;
        p.middle = 100;
        return p;
    }

    QImage board(const Layout& l) const override
    {
        const QColor tint(248, 252, 255);
        QImage img = texture(l.W, l.H, [&](double x, double y) {
            const double sheen = 0.05 * std::sin((x * 0.8 + y * 1.3) / l.W * 5.5) - 0.07 * (y / l.H);
            return brushed(x, y, false, 0.64 + sheen, 101, tint);
        });
        drawBevel(img, QRectF(0, 0, l.W, l.H), 3.5, 0.55, 0.55);

        const QImage field = texture(l.W, l.H, slate);
        const QColor lip(225, 230, 236, 150);
        drawRecess(img, l.leftField, field, 9, 0.85, lip);
        drawRecess(img, l.rightField, field, 9, 0.85, lip);
        drawRecess(img, l.cubeStrip, field, 9, 0.85, lip);
        drawRecess(img, upperTray(l), field, 9, 0.85, lip);
        drawRecess(img, lowerTray(l), field, 9, 0.85, lip);
        drawLampSockets(img, l, QColor(215, 220, 228), QColor(60, 64, 70), QColor(92, 100, 112), QColor(26, 30, 36));

        // Points: polished steel and dark blue-grey anodised metal, both brushed lengthwise.
        const QImage steel = texture(l.W, l.H, [&](double x, double y) {
            const double t = std::abs(y - l.H / 2.0) / (l.H / 2.0);
            return brushed(x, y, true, 0.66 + 0.16 * t, 201, QColor(236, 242, 250));
        });
        const QImage blueGrey = texture(l.W, l.H, [&](double x, double y) {
            const double t = std::abs(y - l.H / 2.0) / (l.H / 2.0);
            return brushed(x, y, true, 0.42 + 0.08 * t, 211, QColor(150, 178, 214));
        });
        PointLook look;
        look.inset = 1.0;
        look.tipGap = 2;
        look.shadow = 0.6;
        look.facet = 0.10;
        look.outline = QColor(10, 14, 20, 150);
        look.baseLight = 0.10;
        drawPoints(img, l, steel, blueGrey, look);

        // The bar: a raised, vertically brushed rail over the frame.
        {
            const QImage rail = texture(l.W, l.H, [&](double x, double y) {
                const double t = (x - l.bar.x()) / l.bar.width();
                const double round = 0.10 * std::cos((t - 0.35) * M_PI);
                return brushed(x, y, true, 0.60 + round, 401, tint);
            });
            dropShadow(img, [&] {
                QPainterPath pp;
                pp.addRect(QRectF(l.bar).adjusted(0, 0, 0, 0));
                return pp;
            }(), 2.5, 0, 0.5);
            QPainter p(&img);
            p.drawImage(l.bar.topLeft(), rail, l.bar);
            p.end();
            drawBevel(img, QRectF(l.bar), 2.5, 0.6, 0.5);
            QPainter q(&img);
            q.setRenderHint(QPainter::Antialiasing);
            const double cx = l.bar.center().x() + 0.5;
            q.setPen(QPen(QColor(0, 0, 0, 110), 1));
            q.drawLine(QPointF(cx - 0.5, 10), QPointF(cx - 0.5, l.H - 10));
            q.setPen(QPen(QColor(255, 255, 255, 90), 1));
            q.drawLine(QPointF(cx + 0.5, 10), QPointF(cx + 0.5, l.H - 10));
            screw(q, QPointF(cx, l.fieldTop / 2.0), 4.5);
            screw(q, QPointF(cx, l.H - l.fieldTop / 2.0), 4.5);
        }

        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        const double sx = l.p.frameX / 2.0 + 0.5, sy = l.p.frameY / 2.0;
        for (QPointF c : {QPointF(sx, sy), QPointF(l.W - sx, sy), QPointF(sx, l.H - sy), QPointF(l.W - sx, l.H - sy)})
            screw(p, c, 4.2);
        // A groove where the centred cube rests.
        p.setPen(QPen(QColor(255, 255, 255, 28), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(l.cubeX - 3.5, l.cubeCenterY - 3.5, l.p.checker + 7, l.p.checker + 7), 6, 6);
        return img;
    }

    QImage checker(const Layout& l, bool blue) const override
    {
        DiscStyle s;
        const QColor base = blue ? QColor(52, 104, 186) : QColor(186, 42, 50);
        const QColor rim = blue ? QColor(118, 160, 222) : QColor(226, 110, 112);
        s.albedo = [=](double x, double y) {
            const double r = std::sqrt(x * x + y * y);
            const double rings = valueNoise(r * 70.0, 3.5, blue ? 501 : 502) - 0.5;
            QColor c = r > 0.84 ? mix(base, rim, 0.45) : base;
            return scaled(c, 1.0 + 0.16 * rings);
        };
        s.bevel = 0.17;
        s.lip = 0.05;
        s.lipRadius = 0.80;
        s.groove = 0.04;
        s.grooveRadius = 0.52;
        s.dish = 0.02;
        s.ambient = 0.34;
        s.diffuse = 0.78;
        s.specular = 0.7;
        s.shininess = 55;
        s.sheen = 0.32;
        s.specColour = blue ? QColor(225, 238, 255) : QColor(255, 232, 232);
        return shadeDisc(l.p.checker, s);
    }

    QImage ghost(const Layout& l, bool blue) const override
    {
        return ghostDisc(l.p.checker, blue ? QColor(120, 175, 255) : QColor(255, 110, 110));
    }

    QImage die(const Layout& l, bool blue, int face) const override
    {
        DieStyle s;
        if (blue) {
            s.light = QColor(130, 175, 240);
            s.base = QColor(48, 100, 184);
            s.dark = QColor(20, 46, 100);
            s.edge = QColor(14, 30, 64);
        } else {
            s.light = QColor(240, 130, 130);
            s.base = QColor(182, 40, 48);
            s.dark = QColor(96, 14, 22);
            s.edge = QColor(60, 10, 14);
        }
        s.pip = QColor(248, 250, 253);
        s.pipShade = QColor(150, 160, 176);
        s.gloss = 0.32;
        return drawDie(l.die, face, s);
    }

    QImage cube(const Layout& l, int value) const override
    {
        CubeStyle s;
        s.light = QColor(244, 246, 250);
        s.base = QColor(200, 205, 212);
        s.dark = QColor(124, 130, 140);
        s.edge = QColor(60, 64, 72);
        s.text = QColor(28, 34, 44);
        s.textShade = QColor(0, 0, 0, 60);
        s.family = "DejaVu Sans";
        s.albedo = [](double u, double v) { return brushed(u * 400, v * 36, false, 0.80, 601, QColor(246, 248, 252)); };
        return drawCube(l.p.checker, value, s);
    }

    QImage indicator(const Layout& l, bool blue) const override
    {
        return drawIndicator(l.indicator, blue ? QColor(70, 150, 255) : QColor(255, 64, 64), QColor(190, 196, 204),
                             QColor(70, 75, 84));
    }
};

} // namespace

std::unique_ptr<Theme> makeTitanium() { return std::make_unique<Titanium>(); }

} // namespace art
