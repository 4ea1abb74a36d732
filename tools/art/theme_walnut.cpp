// Walnut: a warm walnut case with brass stringing, green felt, cream and burgundy points.
#include "art.h"

#include <QPainter>

namespace art {

namespace {

// Walnut grain; u runs along the grain, v across it.
QColor walnut(double u, double v, uint32_t seed)
{
    const double warp = fbm(u / 320.0, v / 45.0, seed, 5);
    const double t = v / 11.0 + warp * 9.0 + 1.1 * std::sin(u / 150.0 + v / 70.0);
    const double ring = t - std::floor(t);
    const double late = smoothstep(0.50, 0.92, ring) * (1 - smoothstep(0.92, 1.0, ring));
    const double pores = valueNoise(u / 16.0, v * 1.6, seed + 5);
    const double figure = fbm(u / 70.0, v / 14.0, seed + 9, 3);
    const QColor light(128, 82, 50), dark(70, 41, 25), deep(40, 23, 14);
    QColor c = mix(light, dark, 0.20 + 0.55 * late + 0.45 * (figure - 0.5));
    c = mix(c, deep, smoothstep(0.72, 0.96, pores) * 0.45);
    return c;
}

QColor felt(double x, double y, const QColor& base)
{
    const double fibre = fbm(x / 3.0, y / 3.0, 701, 2);
    const double grain = random01(int(x), int(y), 702);
    const double blot = fbm(x / 110.0, y / 110.0, 703, 3);
    const double v = 0.93 + 0.10 * (fibre - 0.5) + 0.09 * (grain - 0.5) + 0.12 * (blot - 0.5);
    return scaled(base, v);
}

void brassHinge(QPainter& p, const QRectF& r)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, QColor(120, 88, 36));
    g.setColorAt(0.3, QColor(238, 206, 128));
    g.setColorAt(0.55, QColor(196, 152, 68));
    g.setColorAt(1, QColor(110, 78, 30));
    p.setPen(QPen(QColor(60, 40, 14), 0.8));
    p.setBrush(g);
    p.drawRoundedRect(r, 2, 2);
    // knuckle seams
    p.setPen(QPen(QColor(80, 56, 20, 200), 0.8));
    for (int i = 1; i < 3; ++i) {
        const double y = r.top() + r.height() * i / 3.0;
        p.drawLine(QPointF(r.left() + 1, y), QPointF(r.right() - 1, y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(70, 48, 18));
    for (double y : {r.top() + r.height() / 6, r.bottom() - r.height() / 6}) {
        p.drawEllipse(QPointF(r.left() + r.width() * 0.25, y), 1.3, 1.3);
        p.drawEllipse(QPointF(r.right() - r.width() * 0.25, y), 1.3, 1.3);
    }
}

class Walnut : public Theme {
public:
    QString name() const override { return "Walnut"; }
    QString about() const override
    {
        return "Walnut: a walnut case with brass hinges and stringing, green baize, cream and "
               "burgundy points, lacquered checkers with ivory inlay.";
    }
    LayoutParams params() const override
    {
        LayoutParams p;
        p.checker = 36;
        p.gap = 2;
        p.frameX = 18;
        p.frameY = 22;
        p.strip = 50;
        p.divider = 10;
        p.bar = 52;
        p.margin = 4;
        p.middle = 100;
        return p;
    }

    QImage board(const Layout& l) const override
    {
        const int W = l.W, H = l.H, fx = l.p.frameX, fy = l.p.frameY;
        const QImage across = texture(W, H, [](double x, double y) { return walnut(x, y, 801); });
        const QImage down = texture(W, H, [](double x, double y) { return walnut(y, x + 1000, 811); });
        QImage img = across;
        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            // Side pieces, mitred into the top and bottom rails.
            QPainterPath sides;
            sides.addPolygon(QPolygonF({QPointF(0, 0), QPointF(fx, fy), QPointF(fx, H - fy), QPointF(0, H)}));
            sides.addPolygon(QPolygonF({QPointF(W, 0), QPointF(W - fx, fy), QPointF(W - fx, H - fy), QPointF(W, H)}));
            QPainterPath inner;
            for (QRect r : {QRect(l.cubeStrip.right() + 1, fy, l.p.divider, H - 2 * fy),
                            QRect(l.trayStrip.left() - l.p.divider, fy, l.p.divider, H - 2 * fy)})
                inner.addRect(r);
            p.setClipPath(sides.united(inner));
            p.drawImage(0, 0, down);
            p.setClipping(false);
            p.setPen(QPen(QColor(30, 16, 8, 160), 0.9));
            for (QLineF seam : {QLineF(0, 0, fx, fy), QLineF(W, 0, W - fx, fy), QLineF(0, H, fx, H - fy),
                                QLineF(W, H, W - fx, H - fy)})
                p.drawLine(seam);
            // varnish: a broad soft reflection
            QLinearGradient varnish(0, 0, W, H);
            varnish.setColorAt(0, QColor(255, 236, 200, 40));
            varnish.setColorAt(0.5, QColor(255, 236, 200, 0));
            varnish.setColorAt(1, QColor(0, 0, 0, 40));
            p.fillRect(img.rect(), varnish);
        }
        drawBevel(img, QRectF(0, 0, W, H), 4, 0.45, 0.6);
        {
            // brass stringing round the case
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(40, 24, 10, 170), 1));
            p.drawRoundedRect(QRectF(6.5, 7.5, W - 13, H - 14), 3, 3);
            p.setPen(QPen(QColor(222, 184, 104), 1));
            p.drawRoundedRect(QRectF(6, 7, W - 13, H - 14), 3, 3);
        }

        const QColor baize(30, 98, 62);
        const QImage field = texture(W, H, [&](double x, double y) { return felt(x, y, baize); });
        const QImage darkField = texture(W, H, [&](double x, double y) { return felt(x, y, QColor(24, 80, 51)); });
        const QColor brass(226, 188, 110, 220);
        drawRecess(img, l.leftField, field, 10, 0.8, brass);
        drawRecess(img, l.rightField, field, 10, 0.8, brass);
        drawRecess(img, l.cubeStrip, darkField, 10, 0.8, brass);
        drawRecess(img, upperTray(l), darkField, 10, 0.8, brass);
        drawRecess(img, lowerTray(l), darkField, 10, 0.8, brass);
        drawLampSockets(img, l, QColor(236, 204, 130), QColor(110, 78, 30), QColor(70, 60, 50), QColor(22, 18, 14));

        // Points: paint on baize, so the fibres show through.
        const QImage cream = texture(W, H, [&](double x, double y) {
            return felt(x, y, QColor(238, 226, 196));
        });
        const QImage burgundy = texture(W, H, [&](double x, double y) {
            return felt(x, y, QColor(138, 30, 34));
        });
        PointLook look;
        look.inset = 1.5;
        look.tipGap = 3;
        look.shadow = 0.35;
        look.facet = 0.05;
        look.outline = QColor(60, 30, 12, 150);
        look.baseLight = 0.06;
        drawPoints(img, l, cream, burgundy, look);

        // The bar: one walnut board with its grain running down, hinged in brass.
        {
            QPainterPath barPath;
            barPath.addRect(QRectF(l.bar));
            dropShadow(img, barPath, 2.5, 0, 0.55);
            const QImage barWood = texture(W, H, [&](double x, double y) {
                const double t = (x - l.bar.x()) / l.bar.width();
                return scaled(walnut(y, x * 1.3 + 2000, 821), 0.95 + 0.12 * std::cos((t - 0.4) * M_PI));
            });
            QPainter p(&img);
            p.drawImage(l.bar.topLeft(), barWood, l.bar);
            p.end();
            drawBevel(img, QRectF(l.bar), 3, 0.4, 0.55);
            QPainter q(&img);
            q.setRenderHint(QPainter::Antialiasing);
            const double cx = l.bar.center().x() + 0.5;
            q.setPen(QPen(QColor(30, 16, 8, 190), 1));
            q.drawLine(QPointF(cx, 2), QPointF(cx, H - 2));
            q.setPen(QPen(QColor(255, 220, 170, 40), 1));
            q.drawLine(QPointF(cx + 1, 2), QPointF(cx + 1, H - 2));
            // Hinges above and below where checkers on the bar lie.
            const double hw = 14, hh = 38;
            for (double y : {l.barBlueY / 2.0, H - l.barBlueY / 2.0})
                brassHinge(q, QRectF(cx - hw / 2, y - hh / 2, hw, hh));
        }
        return img;
    }

    QImage checker(const Layout& l, bool blue) const override
    {
        DiscStyle s;
        const QColor base = blue ? QColor(36, 66, 146) : QColor(192, 36, 40);
        const QColor ivory(238, 226, 198);
        s.albedo = [=](double x, double y) {
            const double r = std::sqrt(x * x + y * y);
            const double inlay = smoothstep(0.585, 0.60, r) * (1 - smoothstep(0.655, 0.67, r));
            const double swirl = fbm(x * 3 + 7, y * 3, blue ? 901 : 902, 3) - 0.5;
            return mix(scaled(base, 1.0 + 0.12 * swirl), ivory, inlay);
        };
        s.bevel = 0.2;
        s.lip = 0.03;
        s.lipRadius = 0.86;
        s.groove = 0.0;
        s.dish = 0.05;
        s.grooveRadius = 0.6;
        s.ambient = 0.36;
        s.diffuse = 0.74;
        s.specular = 0.85;
        s.shininess = 70;
        s.specColour = QColor(255, 248, 236);
        return shadeDisc(l.p.checker, s);
    }

    QImage ghost(const Layout& l, bool blue) const override
    {
        return ghostDisc(l.p.checker, blue ? QColor(150, 190, 255) : QColor(255, 140, 120));
    }

    QImage die(const Layout& l, bool blue, int face) const override
    {
        DieStyle s;
        if (blue) {
            s.light = QColor(110, 140, 220);
            s.base = QColor(38, 66, 150);
            s.dark = QColor(16, 30, 76);
            s.edge = QColor(12, 20, 50);
        } else {
            s.light = QColor(240, 120, 110);
            s.base = QColor(188, 36, 40);
            s.dark = QColor(100, 14, 18);
            s.edge = QColor(60, 10, 12);
        }
        s.pip = QColor(244, 234, 208);
        s.pipShade = QColor(168, 150, 112);
        s.radius = 0.16;
        s.gloss = 0.4;
        return drawDie(l.die, face, s);
    }

    QImage cube(const Layout& l, int value) const override
    {
        CubeStyle s;
        s.light = QColor(252, 246, 230);
        s.base = QColor(232, 220, 190);
        s.dark = QColor(168, 150, 112);
        s.edge = QColor(90, 70, 40);
        s.text = QColor(72, 40, 20);
        s.textShade = QColor(0, 0, 0, 50);
        s.family = "DejaVu Serif";
        s.radius = 0.16;
        s.albedo = [](double u, double v) {
            const double grain = fbm(u * 2, v * 20, 951, 3);
            return scaled(QColor(234, 222, 192), 0.94 + 0.1 * grain);
        };
        return drawCube(l.p.checker, value, s);
    }

    QImage indicator(const Layout& l, bool blue) const override
    {
        return drawIndicator(l.indicator, blue ? QColor(80, 150, 255) : QColor(255, 76, 52), QColor(226, 188, 106),
                             QColor(110, 78, 30));
    }
};

} // namespace

std::unique_ptr<Theme> makeWalnut() { return std::make_unique<Walnut>(); }

} // namespace art
