// Marble: white Carrara field in a dark green verde frame with gold inlay, blue-grey and
// travertine points, lapis and carnelian checkers.
#include "art.h"

#include <QPainter>

namespace art {

namespace {

// 0..1: how much of a vein lies at (x, y).
double vein(double x, double y, uint32_t seed, double scale, double sharpness)
{
    const double t = (x * 0.55 + y * 0.83) / scale + 4.2 * fbm(x / (scale * 1.7), y / (scale * 1.7), seed, 5);
    return std::pow(1 - std::abs(std::sin(t * M_PI)), sharpness);
}

QColor carrara(double x, double y)
{
    const double cloud = fbm(x / 140.0, y / 140.0, 1101, 4);
    QColor c = scaled(QColor(240, 239, 235), 0.95 + 0.07 * cloud);
    c = mix(c, QColor(200, 204, 210), 0.55 * vein(x, y, 1102, 130, 4));
    c = mix(c, QColor(150, 158, 168), 0.35 * vein(x, y, 1102, 130, 14));
    c = mix(c, QColor(206, 210, 214), 0.25 * vein(x + 300, y * 0.7, 1103, 45, 8));
    return c;
}

QColor verde(double x, double y)
{
    const double cloud = fbm(x / 60.0, y / 60.0, 1201, 5);
    QColor c = mix(QColor(16, 32, 27), QColor(46, 80, 66), smoothstep(0.35, 0.8, cloud));
    c = mix(c, QColor(96, 130, 112), 0.5 * vein(x, y, 1202, 70, 6));
    c = mix(c, QColor(190, 208, 194), 0.75 * vein(x, y, 1202, 70, 30));
    c = mix(c, QColor(90, 120, 104), 0.5 * vein(y, x, 1203, 26, 12));
    return c;
}

// A polished stone inlay of one colour, veined faintly in a lighter shade.
QColor stone(double x, double y, const QColor& base, const QColor& veinColour, uint32_t seed)
{
    const double cloud = fbm(x / 50.0, y / 50.0, seed, 4);
    QColor c = scaled(base, 0.92 + 0.14 * cloud);
    return mix(c, veinColour, 0.6 * vein(x, y, seed + 1, 60, 18));
}

void goldLine(QPainter& p, const QRectF& r)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(50, 36, 10, 160), 1));
    p.drawRect(r.translated(0.6, 0.8));
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(250, 224, 150));
    g.setColorAt(0.5, QColor(206, 162, 72));
    g.setColorAt(1, QColor(246, 214, 130));
    p.setPen(QPen(QBrush(g), 1.2));
    p.drawRect(r);
}

class Marble : public Theme {
public:
    QString name() const override { return "Marble"; }
    QString about() const override
    {
        return "Marble: white Carrara inlaid in verde antico with gold lines, blue-grey and "
               "travertine points, lapis lazuli and carnelian checkers.";
    }
    LayoutParams params() const override
    {
        LayoutParams p;
        p.checker = 34;
        p.gap = 3;
        p.frameX = 16;
        p.frameY = 18;
        p.strip = 48;
        p.divider = 10;
        p.bar = 52;
        p.margin = 5;
        p.middle = 110;
        return p;
    }

    QImage board(const Layout& l) const override
    {
        const int W = l.W, H = l.H;
        QImage img = texture(W, H, verde);
        {
            // polish: a broad window reflection across the frame
            QPainter p(&img);
            QLinearGradient polish(0, 0, W * 0.6, H);
            polish.setColorAt(0, QColor(255, 255, 255, 46));
            polish.setColorAt(0.45, QColor(255, 255, 255, 0));
            polish.setColorAt(1, QColor(0, 0, 0, 40));
            p.fillRect(img.rect(), polish);
        }
        drawBevel(img, QRectF(0, 0, W, H), 3.5, 0.35, 0.6);

        const QImage field = texture(W, H, carrara);
        const QColor gold(236, 200, 120, 230);
        drawRecess(img, l.leftField, field, 7, 0.55, gold);
        drawRecess(img, l.rightField, field, 7, 0.55, gold);
        drawRecess(img, l.cubeStrip, field, 7, 0.55, gold);
        drawRecess(img, upperTray(l), field, 7, 0.55, gold);
        drawRecess(img, lowerTray(l), field, 7, 0.55, gold);
        drawLampSockets(img, l, QColor(246, 214, 130), QColor(120, 88, 30), QColor(90, 104, 98), QColor(14, 24, 20));

        const QImage blueGrey = texture(W, H, [](double x, double y) {
            return stone(x, y, QColor(100, 124, 152), QColor(170, 188, 208), 1301);
        });
        const QImage travertine = texture(W, H, [](double x, double y) {
            return stone(x, y, QColor(176, 156, 128), QColor(222, 208, 184), 1311);
        });
        PointLook look;
        look.inset = 1.5;
        look.tipGap = 2;
        look.shadow = 0.28;
        look.facet = 0.08;
        look.outline = QColor(40, 44, 52, 130);
        look.baseLight = 0.08;
        drawPoints(img, l, blueGrey, travertine, look);

        {
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            goldLine(p, QRectF(6.5, 6.5, W - 13, H - 13));
        }
        {
            QPainterPath barPath;
            barPath.addRect(QRectF(l.bar));
            dropShadow(img, barPath, 2.0, 0, 0.45);
            const QImage barStone = texture(W, H, [](double x, double y) { return verde(y + 700, x + 300); });
            QPainter p(&img);
            p.drawImage(l.bar.topLeft(), barStone, l.bar);
            QLinearGradient round(l.bar.topLeft(), l.bar.topRight());
            round.setColorAt(0, QColor(255, 255, 255, 40));
            round.setColorAt(0.35, QColor(255, 255, 255, 0));
            round.setColorAt(1, QColor(0, 0, 0, 70));
            p.fillRect(l.bar, round);
            p.end();
            drawBevel(img, QRectF(l.bar), 2.5, 0.35, 0.5);
        }
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        goldLine(p, QRectF(l.bar).adjusted(7.5, 6.5, -7.5, -6.5));
        // a gold lozenge at the middle of the bar
        const QPointF c(l.bar.center().x() + 0.5, H / 2.0);
        QPolygonF diamond({c + QPointF(0, -9), c + QPointF(6, 0), c + QPointF(0, 9), c + QPointF(-6, 0)});
        QLinearGradient g(c - QPointF(6, 9), c + QPointF(6, 9));
        g.setColorAt(0, QColor(252, 230, 160));
        g.setColorAt(1, QColor(160, 118, 40));
        p.setPen(QPen(QColor(80, 56, 14), 0.8));
        p.setBrush(g);
        p.drawPolygon(diamond);
        return img;
    }

    QImage checker(const Layout& l, bool blue) const override
    {
        DiscStyle s;
        if (blue) {
            s.albedo = [](double x, double y) {
                const double X = x * 40 + 100, Y = y * 40 + 100;
                QColor c = scaled(QColor(34, 64, 164), 0.85 + 0.3 * fbm(X / 9, Y / 9, 1401, 4));
                c = mix(c, QColor(120, 150, 220), 0.5 * vein(X, Y, 1402, 22, 14));
                if (random01(int(X * 1.3), int(Y * 1.3), 1403) > 0.985)
                    c = QColor(236, 200, 110); // pyrite
                return c;
            };
        } else {
            s.albedo = [](double x, double y) {
                const double r = std::sqrt(x * x + y * y);
                const double bands = 0.5 + 0.5 * std::sin(r * 22 + 3 * fbm(x * 3, y * 3, 1411, 3));
                QColor c = mix(QColor(168, 50, 30), QColor(214, 100, 60), 0.45 * bands);
                return scaled(c, 0.92 + 0.16 * fbm(x * 6, y * 6, 1412, 3));
            };
        }
        s.bevel = 0.22;
        s.lip = 0.0;
        s.groove = 0.03;
        s.grooveRadius = 0.7;
        s.dish = 0.0;
        s.ambient = 0.36;
        s.diffuse = 0.76;
        s.specular = 0.9;
        s.shininess = 90;
        s.specColour = QColor(255, 252, 246);
        return shadeDisc(l.p.checker, s);
    }

    QImage ghost(const Layout& l, bool blue) const override
    {
        return ghostDisc(l.p.checker, blue ? QColor(60, 100, 210) : QColor(210, 80, 50));
    }

    QImage die(const Layout& l, bool blue, int face) const override
    {
        DieStyle s;
        if (blue) {
            s.light = QColor(110, 140, 230);
            s.base = QColor(34, 64, 164);
            s.dark = QColor(14, 28, 84);
            s.edge = QColor(10, 18, 50);
            s.pip = QColor(246, 216, 130);
            s.pipShade = QColor(150, 110, 40);
            s.albedo = [](double u, double v) {
                const QColor c = scaled(QColor(34, 64, 164), 0.88 + 0.24 * fbm(u * 5, v * 5, 1501, 3));
                return mix(c, QColor(120, 150, 220), 0.4 * vein(u * 40, v * 40, 1502, 20, 14));
            };
        } else {
            s.light = QColor(236, 140, 110);
            s.base = QColor(176, 56, 34);
            s.dark = QColor(96, 22, 12);
            s.edge = QColor(60, 14, 8);
            s.pip = QColor(250, 246, 238);
            s.pipShade = QColor(170, 150, 140);
            s.albedo = [](double u, double v) {
                const double bands = 0.5 + 0.5 * std::sin((u + v) * 14 + 3 * fbm(u * 3, v * 3, 1511, 3));
                return mix(QColor(170, 52, 32), QColor(214, 100, 60), 0.4 * bands);
            };
        }
        s.radius = 0.18;
        s.gloss = 0.38;
        return drawDie(l.die, face, s);
    }

    QImage cube(const Layout& l, int value) const override
    {
        CubeStyle s;
        s.light = QColor(255, 255, 255);
        s.base = QColor(236, 236, 232);
        s.dark = QColor(160, 164, 170);
        s.edge = QColor(70, 74, 80);
        s.text = QColor(40, 56, 80);
        s.textShade = QColor(0, 0, 0, 50);
        s.family = "DejaVu Serif";
        s.albedo = [](double u, double v) { return carrara(u * 200 + 40, v * 200 + 90); };
        return drawCube(l.p.checker, value, s);
    }

    QImage indicator(const Layout& l, bool blue) const override
    {
        return drawIndicator(l.indicator, blue ? QColor(70, 140, 255) : QColor(255, 80, 50), QColor(240, 204, 120),
                             QColor(120, 86, 30));
    }
};

} // namespace

std::unique_ptr<Theme> makeMarble() { return std::make_unique<Marble>(); }

} // namespace art
