#include "art.h"

#include <QFile>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace art {

namespace {

uint32_t hash3(int x, int y, uint32_t seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

double sq(double v) { return v * v; }

// Three passes of a box blur on the alpha channel approach a gaussian.
void blurAlpha(QImage& img, int radius)
{
    if (radius < 1)
        return;
    const int w = img.width(), h = img.height();
    std::vector<int> a(size_t(w) * h), t(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            a[size_t(y) * w + x] = qAlpha(line[x]);
    }
    const int n = 2 * radius + 1;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += a[size_t(y) * w + std::clamp(x + k, 0, w - 1)];
                t[size_t(y) * w + x] = s / n;
            }
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                int s = 0;
                for (int k = -radius; k <= radius; ++k)
                    s += t[size_t(std::clamp(y + k, 0, h - 1)) * w + x];
                a[size_t(y) * w + x] = s / n;
            }
    }
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = qRgba(0, 0, 0, a[size_t(y) * w + x]);
    }
}

} // namespace

double random01(int x, int y, uint32_t seed)
{
    return (hash3(x, y, seed) & 0xffffffu) / double(0xffffffu);
}

double valueNoise(double x, double y, uint32_t seed)
{
    const double fx0 = std::floor(x), fy0 = std::floor(y);
    const int xi = int(fx0), yi = int(fy0);
    double fx = x - fx0, fy = y - fy0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    const double a = random01(xi, yi, seed), b = random01(xi + 1, yi, seed);
    const double c = random01(xi, yi + 1, seed), d = random01(xi + 1, yi + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

double fbm(double x, double y, uint32_t seed, int octaves)
{
    double sum = 0, amp = 0.5, norm = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amp * valueNoise(x, y, seed + uint32_t(i) * 101u);
        norm += amp;
        amp *= 0.5;
        x *= 2.03;
        y *= 2.03;
    }
    return sum / norm;
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double e0, double e1, double x)
{
    const double t = clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    t = clamp01(t);
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t),
                            float(a.alphaF() + (b.alphaF() - a.alphaF()) * t));
}

QColor scaled(const QColor& c, double f)
{
    return QColor::fromRgbF(float(clamp01(c.redF() * f)), float(clamp01(c.greenF() * f)),
                            float(clamp01(c.blueF() * f)), c.alphaF());
}

QImage blankImage(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage texture(int w, int h, const std::function<QColor(double, double)>& f)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x] = f(x + 0.5, y + 0.5).rgba();
    }
    return img;
}

void drawRecess(QImage& target, const QRect& r, const QImage& fill, double shadowDepth,
                double shadowAlpha, const QColor& lightEdge)
{
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing);
    p.drawImage(r.topLeft(), fill, r);
    const QRectF rf(r);
    QLinearGradient top(rf.topLeft(), rf.topLeft() + QPointF(0, shadowDepth));
    top.setColorAt(0, QColor(0, 0, 0, int(255 * shadowAlpha)));
    top.setColorAt(0.35, QColor(0, 0, 0, int(110 * shadowAlpha)));
    top.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(rf.left(), rf.top(), rf.width(), shadowDepth), top);
    QLinearGradient left(rf.topLeft(), rf.topLeft() + QPointF(shadowDepth * 0.7, 0));
    left.setColorAt(0, QColor(0, 0, 0, int(200 * shadowAlpha)));
    left.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(rf.left(), rf.top(), shadowDepth * 0.7, rf.height()), left);
    QLinearGradient right(rf.topRight() + QPointF(1, 0), rf.topRight() - QPointF(shadowDepth * 0.4, 0));
    right.setColorAt(0, QColor(0, 0, 0, int(110 * shadowAlpha)));
    right.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(rf.right() + 1 - shadowDepth * 0.4, rf.top(), shadowDepth * 0.4, rf.height()), right);
    QLinearGradient bottom(rf.bottomLeft() + QPointF(0, 1), rf.bottomLeft() - QPointF(0, shadowDepth * 0.35));
    bottom.setColorAt(0, QColor(0, 0, 0, int(90 * shadowAlpha)));
    bottom.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(rf.left(), rf.bottom() + 1 - shadowDepth * 0.35, rf.width(), shadowDepth * 0.35), bottom);
    // The frame's lit lip just outside the lower and right edge, its dark one above and left.
    p.setPen(QPen(lightEdge, 1));
    p.drawLine(QPointF(rf.left() - 0.5, rf.bottom() + 1.5), QPointF(rf.right() + 1.5, rf.bottom() + 1.5));
    p.drawLine(QPointF(rf.right() + 1.5, rf.top() - 0.5), QPointF(rf.right() + 1.5, rf.bottom() + 1.5));
    p.setPen(QPen(QColor(0, 0, 0, int(150 * shadowAlpha)), 1));
    p.drawLine(QPointF(rf.left() - 0.5, rf.top() - 0.5), QPointF(rf.right() + 1.5, rf.top() - 0.5));
    p.drawLine(QPointF(rf.left() - 0.5, rf.top() - 0.5), QPointF(rf.left() - 0.5, rf.bottom() + 1.5));
}

void drawBevel(QImage& target, const QRectF& r, double w, double lightAlpha, double darkAlpha)
{
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QPointF tl = r.topLeft(), tr = r.topRight(), bl = r.bottomLeft(), br = r.bottomRight();
    const QPointF itl = tl + QPointF(w, w), itr = tr + QPointF(-w, w), ibl = bl + QPointF(w, -w),
                  ibr = br + QPointF(-w, -w);
    auto side = [&](QPolygonF poly, QPointF from, QPointF to, QColor c) {
        QLinearGradient g(from, to);
        g.setColorAt(0, c);
        QColor end = c;
        end.setAlpha(0);
        g.setColorAt(1, end);
        p.setBrush(g);
        p.drawPolygon(poly);
    };
    side(QPolygonF({tl, tr, itr, itl}), tl, QPointF(tl.x(), itl.y()), QColor(255, 255, 255, int(255 * lightAlpha)));
    side(QPolygonF({tl, itl, ibl, bl}), tl, QPointF(itl.x(), tl.y()), QColor(255, 255, 255, int(190 * lightAlpha)));
    side(QPolygonF({bl, ibl, ibr, br}), bl, QPointF(bl.x(), ibl.y()), QColor(0, 0, 0, int(255 * darkAlpha)));
    side(QPolygonF({tr, br, ibr, itr}), tr, QPointF(itr.x(), tr.y()), QColor(0, 0, 0, int(200 * darkAlpha)));
}

QPainterPath trianglePath(double x0, double x1, double baseY, double tipY)
{
    QPainterPath path;
    path.moveTo(x0, baseY);
    path.lineTo(x1, baseY);
    path.lineTo((x0 + x1) / 2, tipY);
    path.closeSubpath();
    return path;
}

void dropShadow(QImage& target, const QPainterPath& path, double dx, double dy, double alpha)
{
    QImage mask = blankImage(target.width(), target.height());
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, int(255 * alpha)));
        p.drawPath(path.translated(dx, dy));
    }
    blurAlpha(mask, 2);
    QPainter p(&target);
    p.drawImage(0, 0, mask);
}

void drawPoints(QImage& img, const Layout& l, const QImage& texA, const QImage& texB, const PointLook& look)
{
    for (int col = 0; col < 12; ++col) {
        const double x0 = l.column[col] + look.inset, x1 = l.column[col] + l.pitch - look.inset;
        const double xm = (x0 + x1) / 2;
        for (bool upper : {true, false}) {
            const double base = upper ? l.fieldTop : l.fieldBottom;
            const double tip = upper ? l.pointHeight - look.tipGap : l.H - l.pointHeight + look.tipGap;
            const QPainterPath tri = trianglePath(x0, x1, base, tip);
            dropShadow(img, tri, 1.2, upper ? 1.8 : 0.8, look.shadow);
            const bool a = (col % 2 == 0) == upper;
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setClipPath(tri);
            p.drawImage(0, 0, a ? texA : texB);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 255, 255, int(255 * look.facet)));
            p.drawPolygon(QPolygonF({QPointF(x0, base), QPointF(xm, base), QPointF(xm, tip)}));
            p.setBrush(QColor(0, 0, 0, int(255 * look.facet)));
            p.drawPolygon(QPolygonF({QPointF(xm, base), QPointF(x1, base), QPointF(xm, tip)}));
            QLinearGradient glow(QPointF(xm, base), QPointF(xm, tip));
            glow.setColorAt(0, QColor(255, 255, 255, int(255 * look.baseLight)));
            glow.setColorAt(0.5, QColor(255, 255, 255, 0));
            glow.setColorAt(1, QColor(0, 0, 0, int(255 * look.baseLight * 0.8)));
            p.setBrush(glow);
            p.drawPath(tri);
            p.setClipping(false);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(look.outline, 0.8));
            p.drawPath(tri);
        }
    }
}

// ---- discs ----

namespace {

double discHeight(double r, const DiscStyle& s)
{
    double h = 0;
    const double b = s.bevel;
    if (r > 1 - b) {
        const double t = r - (1 - b);
        h += std::sqrt(std::max(0.0, b * b - t * t)) - b;
    }
    h += s.lip * std::exp(-sq((r - s.lipRadius) / 0.05));
    h -= s.groove * std::exp(-sq((r - s.grooveRadius) / 0.025));
    const double inner = s.grooveRadius - 0.06;
    if (r < inner)
        h -= s.dish * (1 - sq(r / inner));
    return h;
}

struct Vec3 {
    double x, y, z;
};
Vec3 normalise(Vec3 v)
{
    const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

} // namespace

QImage shadeDisc(int size, const DiscStyle& s)
{
    const double R = size / 2.0 - 1.1;
    const double cx = size / 2.0 - 0.35, cy = size / 2.0 - 0.5;
    const Vec3 L = normalise({-0.45, -0.6, 0.8});
    const Vec3 H = normalise({L.x, L.y, L.z + 1});
    const double thetaL = std::atan2(L.y, L.x);
    const int ss = 4;
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    for (int py = 0; py < size; ++py) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(py));
        for (int px = 0; px < size; ++px) {
            double rr = 0, gg = 0, bb = 0, aa = 0, shadow = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx) {
                    const double x = (px + (sx + 0.5) / ss - cx) / R;
                    const double y = (py + (sy + 0.5) / ss - cy) / R;
                    const double r = std::sqrt(x * x + y * y);
                    const double sr = std::sqrt(sq(x - 0.05) + sq(y - 0.08));
                    shadow += 1 - smoothstep(0.93, 1.08, sr);
                    if (r > 1)
                        continue;
                    const double e = 0.004;
                    double slope = (discHeight(std::min(1.0, r + e), s) - discHeight(std::max(0.0, r - e), s))
                                   / (std::min(1.0, r + e) - std::max(0.0, r - e));
                    slope = std::clamp(slope, -5.0, 5.0);
                    const double ux = r > 1e-6 ? x / r : 0, uy = r > 1e-6 ? y / r : 0;
                    const Vec3 n = normalise({-slope * ux, -slope * uy, 1});
                    const double diff = std::max(0.0, dot(n, L));
                    const double highlight = std::pow(std::max(0.0, dot(n, H)), s.shininess);
                    double sheen = 0;
                    if (s.sheen > 0) {
                        const double theta = std::atan2(y, x);
                        sheen = s.sheen * std::pow(std::abs(std::cos(theta - thetaL)), 10) * (1 - smoothstep(0.75, 0.9, r))
                                * smoothstep(0.05, 0.25, r);
                    }
                    const QColor a = s.albedo(x, y);
                    const double light = s.ambient + s.diffuse * diff;
                    auto channel = [&](double c, double sc) {
                        return clamp01(c * light + sc * (s.specular * highlight + sheen));
                    };
                    rr += channel(a.redF(), s.specColour.redF());
                    gg += channel(a.greenF(), s.specColour.greenF());
                    bb += channel(a.blueF(), s.specColour.blueF());
                    aa += 1;
                }
            const double n = ss * ss;
            const double coverage = aa / n * s.opacity;
            const double shadowCover = shadow / n * s.shadow * (1 - aa / n);
            const double alpha = coverage + shadowCover * (1 - coverage);
            double r = 0, g = 0, b = 0;
            if (aa > 0) {
                r = rr / aa * coverage;
                g = gg / aa * coverage;
                b = bb / aa * coverage;
            }
            line[px] = qRgba(int(r * 255 + 0.5), int(g * 255 + 0.5), int(b * 255 + 0.5), int(alpha * 255 + 0.5));
        }
    }
    return img;
}

QImage ghostDisc(int size, const QColor& colour)
{
    QImage img = blankImage(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(1.5, 1.5, size - 3.0, size - 3.0);
    QColor fill = colour;
    fill.setAlpha(55);
    QColor ring = colour;
    ring.setAlpha(210);
    p.setBrush(fill);
    p.setPen(QPen(QColor(255, 255, 255, 120), 3.6));
    p.drawEllipse(outer);
    p.setPen(QPen(ring, 2.2));
    p.drawEllipse(outer);
    QColor inner = colour;
    inner.setAlpha(140);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(inner, 1.2, Qt::DashLine));
    p.drawEllipse(outer.adjusted(size * 0.2, size * 0.2, -size * 0.2, -size * 0.2));
    return img;
}

// ---- dice ----

QImage drawDie(int size, int face, const DieStyle& s)
{
    QImage img = blankImage(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double body = size - 2.5;
    const QRectF rect(0.75, 0.5, body, body);
    const double rad = body * s.radius;
    QPainterPath shape;
    shape.addRoundedRect(rect, rad, rad);

    // shadow on the board
    {
        QImage mask = blankImage(size, size);
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing);
        m.setPen(Qt::NoPen);
        m.setBrush(QColor(0, 0, 0, 120));
        m.drawPath(shape.translated(1.4, 1.8));
        m.end();
        blurAlpha(mask, 1);
        p.drawImage(0, 0, mask);
    }

    // body: the surface pattern lit by a diagonal gradient
    QImage surface = texture(size, size, [&](double x, double y) {
        const double u = (x - rect.left()) / body, v = (y - rect.top()) / body;
        const QColor base = s.albedo ? s.albedo(u, v) : s.base;
        const double t = clamp01((u + v) / 2);
        QColor lit = t < 0.5 ? mix(mix(base, s.light, 0.55), base, t * 2) : mix(base, s.dark, (t - 0.5) * 2);
        return lit;
    });
    p.save();
    p.setClipPath(shape);
    p.drawImage(0, 0, surface);
    // rounded edges: darker rim, lit top-left rim
    p.setBrush(Qt::NoBrush);
    QLinearGradient rim(rect.topLeft(), rect.bottomRight());
    rim.setColorAt(0, QColor(255, 255, 255, 150));
    rim.setColorAt(0.45, QColor(255, 255, 255, 0));
    rim.setColorAt(0.55, QColor(0, 0, 0, 0));
    rim.setColorAt(1, QColor(0, 0, 0, 120));
    p.setPen(QPen(QBrush(rim), size * 0.09));
    p.drawRoundedRect(rect.adjusted(size * 0.035, size * 0.035, -size * 0.035, -size * 0.035), rad * 0.9, rad * 0.9);
    // gloss on the upper half
    QLinearGradient gloss(rect.topLeft(), QPointF(rect.left(), rect.center().y()));
    gloss.setColorAt(0, QColor(255, 255, 255, int(255 * s.gloss)));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawRoundedRect(QRectF(rect.left() + body * 0.08, rect.top() + body * 0.05, body * 0.84, body * 0.45), rad * 0.8, rad * 0.8);
    p.restore();
    p.setPen(QPen(s.edge, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(shape);

    // pips
    const double a = 0.26, m = 0.5, b = 0.74;
    std::vector<QPointF> pips;
    auto add = [&](double u, double v) { pips.emplace_back(rect.left() + u * body, rect.top() + v * body); };
    if (face % 2 == 1)
        add(m, m);
    if (face >= 2) {
        add(a, b);
        add(b, a);
    }
    if (face >= 4) {
        add(a, a);
        add(b, b);
    }
    if (face == 6) {
        add(a, m);
        add(b, m);
    }
    const double pr = body * 0.092;
    for (const QPointF& c : pips) {
        QRadialGradient g(c, pr, c + QPointF(pr * 0.35, pr * 0.4));
        g.setColorAt(0, s.pip);
        g.setColorAt(0.62, s.pip);
        g.setColorAt(1, s.pipShade);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawEllipse(c + QPointF(0.45, 0.55), pr, pr);
        p.setBrush(g);
        p.drawEllipse(c, pr, pr);
    }
    return img;
}

QImage drawCube(int size, int value, const CubeStyle& s)
{
    QImage img = blankImage(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const double body = size - 3.0;
    const QRectF rect(1.0, 0.75, body, body);
    const double rad = body * s.radius;
    QPainterPath shape;
    shape.addRoundedRect(rect, rad, rad);
    {
        QImage mask = blankImage(size, size);
        QPainter m(&mask);
        m.setRenderHint(QPainter::Antialiasing);
        m.setPen(Qt::NoPen);
        m.setBrush(QColor(0, 0, 0, 130));
        m.drawPath(shape.translated(1.3, 1.7));
        m.end();
        blurAlpha(mask, 1);
        p.drawImage(0, 0, mask);
    }
    QImage surface = texture(size, size, [&](double x, double y) {
        const double u = (x - rect.left()) / body, v = (y - rect.top()) / body;
        const QColor base = s.albedo ? s.albedo(u, v) : s.base;
        const double t = clamp01((u * 0.6 + v) / 1.6);
        return t < 0.45 ? mix(mix(base, s.light, 0.6), base, t / 0.45) : mix(base, s.dark, (t - 0.45) / 0.55);
    });
    p.save();
    p.setClipPath(shape);
    p.drawImage(0, 0, surface);
    QLinearGradient rim(rect.topLeft(), rect.bottomRight());
    rim.setColorAt(0, QColor(255, 255, 255, 170));
    rim.setColorAt(0.45, QColor(255, 255, 255, 0));
    rim.setColorAt(0.6, QColor(0, 0, 0, 0));
    rim.setColorAt(1, QColor(0, 0, 0, 110));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(rim), size * 0.08));
    p.drawRoundedRect(rect.adjusted(size * 0.03, size * 0.03, -size * 0.03, -size * 0.03), rad, rad);
    p.restore();
    p.setPen(QPen(s.edge, 1.0));
    p.drawPath(shape);

    // The centred cube shows 64, as a real doubling cube does.
    const QString text = QString::number(value == 1 ? 64 : value);
    QFont font(s.family);
    font.setBold(true);
    font.setPixelSize(int(body * (text.size() == 1 ? 0.62 : 0.48)));
    font.setLetterSpacing(QFont::PercentageSpacing, text.size() == 1 ? 100 : 92);
    QPainterPath glyphs;
    glyphs.addText(0, 0, font, text);
    const QRectF gb = glyphs.boundingRect();
    glyphs.translate(rect.center() - gb.center());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawPath(glyphs.translated(0.6, 0.8));
    p.setBrush(s.textShade);
    p.drawPath(glyphs.translated(-0.3, -0.4));
    p.setBrush(s.text);
    p.drawPath(glyphs);
    return img;
}

QImage drawIndicator(int size, const QColor& glow, const QColor& bezel, const QColor& bezelDark)
{
    QImage img = blankImage(size, size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(size / 2.0, size / 2.0);
    const double R = size / 2.0;
    // halo
    QRadialGradient halo(c, R);
    QColor h0 = glow;
    h0.setAlpha(150);
    QColor h1 = glow;
    h1.setAlpha(0);
    halo.setColorAt(0.45, h0);
    halo.setColorAt(1, h1);
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, R, R);
    // bezel
    const double rb = R * 0.66;
    QLinearGradient bz(c - QPointF(rb, rb), c + QPointF(rb, rb));
    bz.setColorAt(0, mix(bezel, Qt::white, 0.5));
    bz.setColorAt(0.5, bezel);
    bz.setColorAt(1, bezelDark);
    p.setBrush(bz);
    p.setPen(QPen(scaled(bezelDark, 0.7), 0.8));
    p.drawEllipse(c, rb, rb);
    // lamp
    const double rl = rb * 0.74;
    QRadialGradient lamp(c, rl, c - QPointF(rl * 0.3, rl * 0.35));
    lamp.setColorAt(0, mix(glow, Qt::white, 0.85));
    lamp.setColorAt(0.35, mix(glow, Qt::white, 0.3));
    lamp.setColorAt(0.85, glow);
    lamp.setColorAt(1, scaled(glow, 0.55));
    p.setBrush(lamp);
    p.setPen(QPen(scaled(bezelDark, 0.5), 0.7));
    p.drawEllipse(c, rl, rl);
    // glint
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawEllipse(c - QPointF(rl * 0.35, rl * 0.42), rl * 0.26, rl * 0.17);
    return img;
}

// ---- layout ----

Layout makeLayout(const LayoutParams& p)
{
    Layout l;
    l.p = p;
    const int c = p.checker;
    l.pitch = c + p.gap;
    const int fieldW = 2 * p.margin + 6 * l.pitch;
    l.W = 2 * p.frameX + 2 * p.strip + 2 * p.divider + 2 * fieldW + p.bar;
    l.fieldTop = p.frameY;
    l.pointHeight = l.fieldTop + 5 * c;
    l.H = 2 * l.pointHeight + p.middle;
    l.fieldBottom = l.H - p.frameY;
    const int fieldH = l.fieldBottom - l.fieldTop;

    int x = p.frameX;
    l.cubeStrip = QRect(x, l.fieldTop, p.strip, fieldH);
    x += p.strip + p.divider;
    l.leftField = QRect(x, l.fieldTop, fieldW, fieldH);
    x += fieldW;
    l.bar = QRect(x, 0, p.bar, l.H);
    x += p.bar;
    l.rightField = QRect(x, l.fieldTop, fieldW, fieldH);
    x += fieldW + p.divider;
    l.trayStrip = QRect(x, l.fieldTop, p.strip, fieldH);

    for (int k = 0; k < 6; ++k) {
        l.column[k] = l.leftField.x() + p.margin + k * l.pitch;
        l.column[k + 6] = l.rightField.x() + p.margin + k * l.pitch;
    }
    for (int k = 0; k < 6; ++k) {
        l.point[13 - k] = l.checkerX(k);
        l.point[6 - k] = l.checkerX(k + 6);
    }
    l.point[7] = l.bar.x() + (p.bar - c) / 2;
    l.point[0] = l.trayStrip.x() + (p.strip - c) / 2;
    l.cubeX = l.cubeStrip.x() + (p.strip - c) / 2;
    l.point[14] = l.cubeX;

    l.pointBlueY = l.fieldTop + 2;
    l.pointRedY = l.fieldBottom - 2 - c;
    // Bar stacks grow towards the middle and meet there only when both hold five.
    l.barBlueY = l.H / 2 - 4 - 5 * c;
    l.barRedY = l.H - l.barBlueY - c;

    l.die = int(std::lround(c * 0.92));
    l.diceY = l.H / 2 - l.die / 2;
    const int lc = l.leftField.center().x() + 1, rc = l.rightField.center().x() + 1;
    l.dice1LeftX = lc - l.die - 5;
    l.dice2LeftX = lc + 5;
    l.dice1RightX = rc - l.die - 5;
    l.dice2RightX = rc + 5;

    // The centred cube waits in the middle of the cube strip; an offered cube is put in front
    // of the player who must answer, where it stays when he takes it.
    l.cubeCenterY = l.H / 2 - c / 2;
    l.cubeTakePl1Y = l.pointRedY;
    l.cubeTakePl2Y = l.pointBlueY;
    l.cubeRightX = l.cubeX;
    l.cubeRightY = l.cubeTakePl1Y;
    l.cubeLeftX = l.cubeX;
    l.cubeLeftY = l.cubeTakePl2Y;

    // Turn lamps sit between the two trays: the near side's below the middle.
    l.indicator = p.strip - 20;
    l.indicatorBlueX = l.indicatorRedX = l.trayStrip.x() + (p.strip - l.indicator) / 2;
    l.indicatorBlueY = l.H / 2 + 3;
    l.indicatorRedY = l.H / 2 - 3 - l.indicator;
    return l;
}

QRect upperTray(const Layout& l)
{
    return QRect(l.trayStrip.x(), l.fieldTop, l.p.strip, l.indicatorRedY - 5 - l.fieldTop);
}

QRect lowerTray(const Layout& l)
{
    const int top = l.indicatorBlueY + l.indicator + 5;
    return QRect(l.trayStrip.x(), top, l.p.strip, l.fieldBottom - top);
}

void drawLampSockets(QImage& img, const Layout& l, const QColor& bezelLight, const QColor& bezelDark,
                     const QColor& glassLight, const QColor& glassDark)
{
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int y : {l.indicatorBlueY, l.indicatorRedY}) {
        const QPointF c(l.indicatorBlueX + l.indicator / 2.0, y + l.indicator / 2.0);
        const double rb = l.indicator / 2.0 * 0.66;
        QLinearGradient bz(c - QPointF(rb, rb), c + QPointF(rb, rb));
        bz.setColorAt(0, bezelDark);
        bz.setColorAt(1, bezelLight);
        p.setPen(Qt::NoPen);
        p.setBrush(bz);
        p.drawEllipse(c, rb + 1, rb + 1);
        QRadialGradient glass(c, rb * 0.75, c - QPointF(rb * 0.25, rb * 0.3));
        glass.setColorAt(0, glassLight);
        glass.setColorAt(1, glassDark);
        p.setBrush(glass);
        p.drawEllipse(c, rb * 0.75, rb * 0.75);
    }
}

// ---- ini reading ----

IniFile readIni(const QString& path)
{
    IniFile ini;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return ini;
    QString section;
    for (QByteArray raw : f.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[') && line.endsWith(']')) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const int eq = line.indexOf('=');
        if (eq > 0)
            ini[section][line.left(eq).trimmed()] = line.mid(eq + 1).trimmed();
    }
    return ini;
}

} // namespace art
