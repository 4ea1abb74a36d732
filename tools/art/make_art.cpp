// tabulon-art: draws the shipped artwork into a data folder.
//
//   tabulon-art <data folder>                    themes, sounds and button pictures
//   tabulon-art --check <data folder> <prefix>   composed positions and a sheet of every
//                                                picture of each theme, as <prefix>*.png
//
// Run with QT_QPA_PLATFORM=offscreen; nothing is shown on screen.
#include "art.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace art {

namespace {

// The program comes from Windows: its description files use CR LF line ends.
bool writeIni(const QString& path, const QList<QPair<QString, QList<QPair<QString, QString>>>>& sections,
              QString* error)
{
    QByteArray out;
    bool first = true;
    for (const auto& [section, keys] : sections) {
        if (!first)
            out += "\r\n";
        first = false;
        out += "[" + section.toUtf8() + "]\r\n";
        for (const auto& [key, value] : keys)
            out += key.toUtf8() + "=" + value.toUtf8() + "\r\n";
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out) != out.size()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

bool save(const QImage& img, const QString& path, QString* error)
{
    if (!img.save(path, "PNG")) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

QString n(int v) { return QString::number(v); }

} // namespace

bool writeTheme(const Theme& t, const QString& themesDir, QString* error)
{
    const Layout l = makeLayout(t.params());
    const QString name = t.name();
    QDir dir(themesDir);
    if (!dir.mkpath(name)) {
        *error = QStringLiteral("cannot create %1").arg(dir.filePath(name));
        return false;
    }
    const QDir td(dir.filePath(name));

    QImage board = t.board(l);
    if (board.size() != QSize(l.W, l.H)) {
        *error = QStringLiteral("%1: board picture is %2 x %3, layout says %4 x %5")
                     .arg(name).arg(board.width()).arg(board.height()).arg(l.W).arg(l.H);
        return false;
    }
    if (!save(board, td.filePath("board.png"), error)
        || !save(t.checker(l, true), td.filePath("checker_blue.png"), error)
        || !save(t.checker(l, false), td.filePath("checker_red.png"), error)
        || !save(t.ghost(l, true), td.filePath("ghost_blue.png"), error)
        || !save(t.ghost(l, false), td.filePath("ghost_red.png"), error)
        || !save(t.indicator(l, true), td.filePath("indicator_blue.png"), error)
        || !save(t.indicator(l, false), td.filePath("indicator_red.png"), error))
        return false;
    for (int f = 1; f <= 6; ++f)
        if (!save(t.die(l, true, f), td.filePath(QStringLiteral("die_blue%1.png").arg(f)), error)
            || !save(t.die(l, false, f), td.filePath(QStringLiteral("die_red%1.png").arg(f)), error))
            return false;
    for (int v : {1, 2, 4, 8, 16, 32, 64})
        if (!save(t.cube(l, v), td.filePath(QStringLiteral("cube%1.png").arg(v)), error))
            return false;

    const QList<QPair<QString, QList<QPair<QString, QString>>>> desc = {
        {"Board",
         {{"BoardName", name},
          {"BoardImage", "board.png"},
          {"BoardSize_X", n(l.W)},
          {"BoardSize_Y", n(l.H)},
          {"Bar_Blue_Y", n(l.barBlueY)},
          {"Bar_Red_Y", n(l.barRedY)},
          {"Point_Blue_Y", n(l.pointBlueY)},
          {"Point_Red_Y", n(l.pointRedY)},
          {"Point0", n(l.point[0])},
          {"Point1", n(l.point[1])},
          {"Point2", n(l.point[2])},
          {"Point3", n(l.point[3])},
          {"Point4", n(l.point[4])},
          {"Point5", n(l.point[5])},
          {"Point6", n(l.point[6])},
          {"Point7", n(l.point[7])},
          {"Point8", n(l.point[8])},
          {"Point9", n(l.point[9])},
          {"Point10", n(l.point[10])},
          {"Point11", n(l.point[11])},
          {"Point12", n(l.point[12])},
          {"Point13", n(l.point[13])},
          {"Point14", n(l.point[14])},
          {"PointHeigth", n(l.pointHeight)}}},
        {"Dices",
         {{"Dice_Blue", "die_blue?.png"},
          {"Dice_Red", "die_red?.png"},
          {"Dice1_Left_X", n(l.dice1LeftX)},
          {"Dice2_Left_X", n(l.dice2LeftX)},
          {"Dice1_Right_X", n(l.dice1RightX)},
          {"Dice2_Right_X", n(l.dice2RightX)},
          {"Dice_Y", n(l.diceY)}}},
        {"Checkers",
         {{"Checker_Blue", "checker_blue.png"},
          {"Checker_Red", "checker_red.png"},
          {"Ghost_Blue", "ghost_blue.png"},
          {"Ghost_Red", "ghost_red.png"},
          {"Checker_Size", n(l.p.checker)}}},
        {"Cube",
         {{"Cube_Image", "cube?.png"},
          {"Cube_Center_Pos_X", n(l.cubeX)},
          {"Cube_Center_Pos_Y", n(l.cubeCenterY)},
          {"Cube_Take_Pl1_Y", n(l.cubeTakePl1Y)},
          {"Cube_Take_Pl2_Y", n(l.cubeTakePl2Y)},
          {"Cube_Left_Pos_X", n(l.cubeLeftX)},
          {"Cube_Left_Pos_Y", n(l.cubeLeftY)},
          {"Cube_Right_Pos_X", n(l.cubeRightX)},
          {"Cube_Right_Pos_Y", n(l.cubeRightY)}}},
        {"Indicators",
         {{"Indicator_Blue_Image", "indicator_blue.png"},
          {"Indicator_Red_Image", "indicator_red.png"},
          {"Indicator_Blue_X", n(l.indicatorBlueX)},
          {"Indicator_Blue_Y", n(l.indicatorBlueY)},
          {"Indicator_Red_X", n(l.indicatorRedX)},
          {"Indicator_Red_Y", n(l.indicatorRedY)}}},
    };
    for (const QString& file : t.descriptionFiles())
        if (!writeIni(td.filePath(file), desc, error))
            return false;

    // The preview is the starting position, composed from what was just written.
    Scene start = startingScene();
    start.cubeValue = 1;
    start.nearDie1 = 5;
    start.nearDie2 = 3;
    start.turn = 1;
    const QImage full = compose(td.path(), readIni(td.filePath(t.descriptionFiles().first())), start, error);
    if (full.isNull())
        return false;
    const QImage preview = full.scaled(300, 228, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (!save(preview, td.filePath("preview.png"), error))
        return false;
    return writeIni(dir.filePath(name + ".ini"),
                    {{"Preview",
                      {{"Board", name + "\\preview.png"},
                       {"Blue_Checker", name + "\\checker_blue.png"},
                       {"Red_Checker", name + "\\checker_red.png"}}},
                     {"Creator", {{"About", t.about()}}}},
                    error);
}

} // namespace art

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QString error;
    if (args.size() == 3 && args[0] == "--check") {
        if (!art::writeChecks(args[1], args[2], &error)) {
            std::fprintf(stderr, "tabulon-art: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    if (args.size() != 1 || args[0].startsWith('-')) {
        std::fprintf(stderr, "usage: tabulon-art <data folder>\n"
                             "       tabulon-art --check <data folder> <output prefix>\n");
        return 2;
    }
    const QDir data(args[0]);
    const QString themes = data.filePath("Themes");
    const std::unique_ptr<art::Theme> all[] = {art::makeTitanium(), art::makeWalnut(), art::makeMarble()};
    for (const auto& t : all) {
        if (!art::writeTheme(*t, themes, &error)) {
            std::fprintf(stderr, "tabulon-art: %s\n", qPrintable(error));
            return 1;
        }
        std::printf("theme %s\n", qPrintable(t->name()));
    }
    if (!art::writeSounds(data.filePath("Sounds"), &error) || !art::writeButtons(data.filePath("Buttons"), &error)) {
        std::fprintf(stderr, "tabulon-art: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("sounds and buttons written\n");
    return 0;
}
