// Composes a position from a theme folder and its description file, drawing exactly as the
// program does: the same anchors, the same stacking rule, the same places for indicator, cube
// and dice. Used for the preview pictures and for the check pictures.
#include "art.h"

#include <QDir>
#include <QPainter>

namespace art {

namespace {

int intKey(const IniFile& ini, const QString& section, const QString& key, int fallback = 0)
{
    bool ok = false;
    const int v = ini.value(section).value(key).toInt(&ok);
    return ok ? v : fallback;
}

QString textKey(const IniFile& ini, const QString& section, const QString& key)
{
    return ini.value(section).value(key);
}

QString firstReplaced(QString pattern, int value)
{
    const int q = pattern.indexOf('?');
    if (q >= 0)
        pattern.replace(q, 1, QString::number(value));
    return pattern;
}

} // namespace

Scene startingScene()
{
    Scene s;
    // near side (+) moves 24 -> 1, far side (-) 1 -> 24, in display indexes
    s.at(24) = 2;
    s.at(13) = 5;
    s.at(8) = 3;
    s.at(6) = 5;
    s.at(1) = -2;
    s.at(12) = -5;
    s.at(17) = -3;
    s.at(19) = -5;
    return s;
}

QImage compose(const QString& themeFolder, const IniFile& desc, const Scene& scene, QString* error)
{
    const QDir dir(themeFolder);
    auto load = [&](const QString& file, QImage& out) {
        out = QImage(dir.filePath(file));
        if (out.isNull()) {
            *error = QStringLiteral("cannot load %1").arg(dir.filePath(file));
            return false;
        }
        return true;
    };
    const QString B = QStringLiteral("Board");
    QImage board, blue, red, ghostBlue, ghostRed, indBlue, indRed;
    if (!load(textKey(desc, B, "BoardImage"), board)
        || !load(textKey(desc, "Checkers", "Checker_Blue"), blue)
        || !load(textKey(desc, "Checkers", "Checker_Red"), red)
        || !load(textKey(desc, "Checkers", "Ghost_Blue"), ghostBlue)
        || !load(textKey(desc, "Checkers", "Ghost_Red"), ghostRed)
        || !load(textKey(desc, "Indicators", "Indicator_Blue_Image"), indBlue)
        || !load(textKey(desc, "Indicators", "Indicator_Red_Image"), indRed))
        return {};
    QImage diceBlue[7], diceRed[7];
    for (int f = 1; f <= 6; ++f)
        if (!load(firstReplaced(textKey(desc, "Dices", "Dice_Blue"), f), diceBlue[f])
            || !load(firstReplaced(textKey(desc, "Dices", "Dice_Red"), f), diceRed[f]))
            return {};
    QMap<int, QImage> cubes;
    for (int v : {1, 2, 4, 8, 16, 32, 64})
        if (!load(firstReplaced(textKey(desc, "Cube", "Cube_Image"), v), cubes[v]))
            return {};

    const QImage& own = scene.nearIsBlue ? blue : red;
    const QImage& opp = scene.nearIsBlue ? red : blue;
    const QImage& ghost = scene.nearIsBlue ? ghostBlue : ghostRed;

    int P[15];
    const int defaults[15] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 10, 11};
    for (int i = 0; i < 15; ++i)
        P[i] = intKey(desc, B, QStringLiteral("Point%1").arg(i), defaults[i]);
    const int blueY = intKey(desc, B, "Point_Blue_Y"), redY = intKey(desc, B, "Point_Red_Y");
    const int barBlueY = intKey(desc, B, "Bar_Blue_Y"), barRedY = intKey(desc, B, "Bar_Red_Y");
    const int c = intKey(desc, "Checkers", "Checker_Size");

    QPoint anchor[28];
    auto A = [&](int d) -> QPoint& { return anchor[d + 1]; };
    A(-1) = {P[0], redY};
    A(0) = {P[7], barRedY};
    for (int i = 1; i <= 6; ++i)
        A(i) = {P[i], redY};
    for (int i = 7; i <= 12; ++i)
        A(i) = {P[i + 1], redY};
    for (int i = 13; i <= 18; ++i)
        A(i) = {P[26 - i], blueY};
    for (int i = 19; i <= 24; ++i)
        A(i) = {P[25 - i], blueY};
    A(25) = {P[7], barBlueY};
    A(26) = {P[0], blueY};

    auto slot = [&](int d, int j) {
        const QPoint a = A(d);
        const int r = d > 12 ? 1 : -1;
        if (j <= 5)
            return QPoint(a.x(), a.y() + (j - 1) * r * c);
        if (j <= 10)
            return QPoint(a.x() + 1, a.y() + r * ((j - 6) * c + 4));
        return QPoint(a.x() + 2, a.y() + r * ((j - 11) * c + 8));
    };

    QImage out = board.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    for (int d = 26; d >= -1; --d) {
        const int n = scene.at(d);
        for (int j = 1; j <= std::abs(n); ++j)
            p.drawImage(slot(d, j), n > 0 ? own : opp);
    }
    for (int d : scene.ghosts)
        p.drawImage(slot(d, std::abs(scene.at(d)) + 1), ghost);

    const QString I = QStringLiteral("Indicators");
    if (scene.turn == -1)
        p.drawImage(intKey(desc, I, "Indicator_Red_X"), intKey(desc, I, "Indicator_Red_Y"), scene.nearIsBlue ? indRed : indBlue);
    if (scene.turn == 1)
        p.drawImage(intKey(desc, I, "Indicator_Blue_X"), intKey(desc, I, "Indicator_Blue_Y"), scene.nearIsBlue ? indBlue : indRed);

    const QString C = QStringLiteral("Cube");
    if (cubes.contains(scene.cubeValue)) {
        const QImage& cube = cubes[scene.cubeValue];
        const int cx = intKey(desc, C, "Cube_Center_Pos_X");
        switch (scene.cubePlace) {
        case Scene::Centre: p.drawImage(cx, intKey(desc, C, "Cube_Center_Pos_Y"), cube); break;
        case Scene::NearOwns: p.drawImage(cx, intKey(desc, C, "Cube_Take_Pl1_Y"), cube); break;
        case Scene::FarOwns: p.drawImage(cx, intKey(desc, C, "Cube_Take_Pl2_Y"), cube); break;
        case Scene::OfferedByNear:
            p.drawImage(intKey(desc, C, "Cube_Left_Pos_X"), intKey(desc, C, "Cube_Left_Pos_Y"), cube);
            break;
        case Scene::OfferedByFar:
            p.drawImage(intKey(desc, C, "Cube_Right_Pos_X"), intKey(desc, C, "Cube_Right_Pos_Y"), cube);
            break;
        }
    }

    const QString D = QStringLiteral("Dices");
    const int diceY = intKey(desc, D, "Dice_Y");
    const QImage* ownDice = scene.nearIsBlue ? diceBlue : diceRed;
    const QImage* oppDice = scene.nearIsBlue ? diceRed : diceBlue;
    if (scene.nearDie1 != 0) {
        p.drawImage(intKey(desc, D, "Dice1_Right_X"), diceY, ownDice[scene.nearDie1]);
        p.drawImage(intKey(desc, D, "Dice2_Right_X"), diceY, ownDice[scene.nearDie2]);
    } else if (scene.farDie1 != 0) {
        p.drawImage(intKey(desc, D, "Dice1_Left_X"), diceY, oppDice[scene.farDie1]);
        p.drawImage(intKey(desc, D, "Dice2_Left_X"), diceY, oppDice[scene.farDie2]);
    }
    return out;
}

} // namespace art
