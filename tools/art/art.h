// Shared pieces of the artwork generator: noise, pixel shaders, board layout, the theme
// interface and the writers of each kind of shipped file.
#pragma once

#include <QColor>
#include <QImage>
#include <QMap>
#include <QPainterPath>
#include <QRect>
#include <QString>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace art {

// ---- noise (own hash, so every machine draws the same pixels) ----
double random01(int x, int y, uint32_t seed);
double valueNoise(double x, double y, uint32_t seed);
double fbm(double x, double y, uint32_t seed, int octaves);

// ---- colours ----
QColor mix(const QColor& a, const QColor& b, double t);
QColor scaled(const QColor& c, double f);
double clamp01(double v);
double smoothstep(double e0, double e1, double x);

// ---- images ----
QImage blankImage(int w, int h);
// Fills a w x h image from a per-pixel function (x, y) -> colour.
QImage texture(int w, int h, const std::function<QColor(double, double)>& f);
// A recessed panel: fill clipped to r, then a shadow cast by the upper and left edge and a thin
// light line on the lower and right edge.
void drawRecess(QImage& target, const QRect& r, const QImage& fill, double shadowDepth,
                double shadowAlpha, const QColor& lightEdge);
// Raised bevel along the inside of r (light from the top left).
void drawBevel(QImage& target, const QRectF& r, double width, double lightAlpha, double darkAlpha);
QPainterPath trianglePath(double x0, double x1, double baseY, double tipY);
// Soft shadow of a path: the path filled in black at several offsets and growing alpha.
void dropShadow(QImage& target, const QPainterPath& p, double dx, double dy, double alpha);

// ---- round pieces lit from the top left ----
struct DiscStyle {
    std::function<QColor(double x, double y)> albedo; // x, y in -1..1 over the disc
    double bevel = 0.16;      // width of the rounded edge, share of the radius
    double lip = 0.05;        // height of the raised ring near the edge
    double lipRadius = 0.80;
    double groove = 0.035;    // depth of the engraved inner ring
    double grooveRadius = 0.55;
    double dish = 0.03;       // hollow of the centre
    double ambient = 0.38;
    double diffuse = 0.75;
    double specular = 0.55;
    double shininess = 40.0;
    QColor specColour = QColor(255, 255, 255);
    double sheen = 0.0;       // circular brushing highlight (metal)
    double opacity = 1.0;
    double shadow = 0.35;     // drop shadow under the disc, inside the picture
};
QImage shadeDisc(int size, const DiscStyle& s);
// A semi-transparent outline of a checker: where a dragged checker may go.
QImage ghostDisc(int size, const QColor& colour);

// ---- dice, cube, indicator ----
struct DieStyle {
    QColor light, base, dark, edge;
    QColor pip, pipShade;
    double radius = 0.2;      // corner radius, share of the size
    double gloss = 0.35;
    std::function<QColor(double x, double y)> albedo; // optional surface pattern, x, y in 0..1
};
QImage drawDie(int size, int face, const DieStyle& s);
struct CubeStyle {
    QColor light, base, dark, edge, text, textShade;
    QString family;
    double radius = 0.18;
    std::function<QColor(double x, double y)> albedo;
};
QImage drawCube(int size, int value, const CubeStyle& s);
QImage drawIndicator(int size, const QColor& glow, const QColor& bezel, const QColor& bezelDark);

// ---- geometry of a board ----
struct LayoutParams {
    int checker = 36;   // Checker_Size
    int gap = 2;        // space between neighbouring columns
    int frameX = 14;    // outer frame, left and right
    int frameY = 20;    // outer frame, top and bottom
    int strip = 50;     // cube strip (left) and tray strip (right), inner width
    int divider = 10;   // frame between a strip and a playing field
    int bar = 50;
    int margin = 4;     // inside a playing field, before the first column
    int middle = 100;   // between the tips of the upper and the lower points
};

struct Layout {
    LayoutParams p;
    int W = 0, H = 0;
    int pitch = 0;
    int fieldTop = 0, fieldBottom = 0;
    QRect cubeStrip, leftField, bar, rightField, trayStrip;
    int column[12] = {};   // left edge of each column box, left to right
    int point[15] = {};    // Point0..Point14
    int pointBlueY = 0, pointRedY = 0, pointHeight = 0, barBlueY = 0, barRedY = 0;
    int die = 0, diceY = 0, dice1LeftX = 0, dice2LeftX = 0, dice1RightX = 0, dice2RightX = 0;
    int cubeX = 0, cubeCenterY = 0, cubeTakePl1Y = 0, cubeTakePl2Y = 0;
    int cubeLeftX = 0, cubeLeftY = 0, cubeRightX = 0, cubeRightY = 0;
    int indicator = 0, indicatorBlueX = 0, indicatorBlueY = 0, indicatorRedX = 0, indicatorRedY = 0;

    int checkerX(int col) const { return column[col] + (pitch - p.checker) / 2; }
    double columnCentre(int col) const { return column[col] + pitch / 2.0; }
};
Layout makeLayout(const LayoutParams& p);

// The 24 triangles: texture A on the upper points of even columns and the lower points of odd
// ones, B on the rest, each lit as a shallow ridge running from base to tip.
struct PointLook {
    double inset = 1.0;    // from the column box's sides to the triangle's base corners
    double tipGap = 0.0;   // tips stop this far short of PointHeigth
    double shadow = 0.45;
    double facet = 0.10;   // light on one half of the ridge, shade on the other
    QColor outline = QColor(0, 0, 0, 90);
    double baseLight = 0.12;
};
void drawPoints(QImage& img, const Layout& l, const QImage& texA, const QImage& texB, const PointLook& look);

// The tray strip holds two trays with the turn lamps between them.
QRect upperTray(const Layout& l);
QRect lowerTray(const Layout& l);
// Unlit lamps in the board picture, under where the turn indicators are drawn.
void drawLampSockets(QImage& img, const Layout& l, const QColor& bezelLight, const QColor& bezelDark,
                     const QColor& glassLight, const QColor& glassDark);

// ---- a theme: its name, layout and pictures ----
class Theme {
public:
    virtual ~Theme() = default;
    virtual QString name() const = 0;
    virtual QString about() const = 0;
    virtual LayoutParams params() const = 0;
    virtual QImage board(const Layout& l) const = 0;
    virtual QImage checker(const Layout& l, bool blue) const = 0;
    virtual QImage ghost(const Layout& l, bool blue) const = 0;
    virtual QImage die(const Layout& l, bool blue, int face) const = 0;
    virtual QImage cube(const Layout& l, int value) const = 0;
    virtual QImage indicator(const Layout& l, bool blue) const = 0;
    // Names of the board description files inside the theme folder.
    virtual QStringList descriptionFiles() const { return {name() + ".ini"}; }
};
std::unique_ptr<Theme> makeTitanium();
std::unique_ptr<Theme> makeWalnut();
std::unique_ptr<Theme> makeMarble();

// ---- reading back what was written ----
using IniFile = QMap<QString, QMap<QString, QString>>; // section -> key -> value
IniFile readIni(const QString& path);

// A position to compose: display index -1..26 -> checkers (+ near side, - far side).
struct Scene {
    int count[28] = {}; // index d + 1
    bool nearIsBlue = true;
    int nearDie1 = 0, nearDie2 = 0, farDie1 = 0, farDie2 = 0;
    int cubeValue = 0;      // 0: none
    enum CubePlace { Centre, NearOwns, FarOwns, OfferedByNear, OfferedByFar } cubePlace = Centre;
    int turn = 0;           // 1 near side, -1 far side, 0 none
    std::vector<int> ghosts; // display indexes marked with the near side's ghost
    int& at(int d) { return count[d + 1]; }
    int at(int d) const { return count[d + 1]; }
};
Scene startingScene();
// Composes a scene from a theme folder the way the program draws it; empty image on failure.
QImage compose(const QString& themeFolder, const IniFile& desc, const Scene& scene, QString* error);

// ---- writers ----
bool writeTheme(const Theme& t, const QString& themesDir, QString* error);
bool writeSounds(const QString& soundsDir, QString* error);
bool writeButtons(const QString& buttonsDir, QString* error);
bool writeChecks(const QString& dataDir, const QString& prefix, QString* error);

} // namespace art
