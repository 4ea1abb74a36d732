// Check mode: reads every theme back from a data folder, tests its geometry against its
// pictures and writes pictures to look at: composed positions, the mouse hit areas and a sheet
// of every picture.
#include "art.h"

#include <QDir>
#include <QFont>
#include <QPainter>

#include <cstdio>

namespace art {

namespace {

struct Desc {
    IniFile ini;
    int get(const char* section, const char* key) const
    {
        return ini.value(section).value(key).toInt();
    }
    int P(int i) const { return ini.value("Board").value(QStringLiteral("Point%1").arg(i)).toInt(); }
};

QImage upscale(const QImage& img, int f)
{
    return img.scaled(img.size() * f, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

// The geometry rules the drawing and the mouse rely on.
QStringList geometryFaults(const QDir& td, const Desc& d)
{
    QStringList faults;
    auto need = [&](bool ok, const QString& what) {
        if (!ok)
            faults << what;
    };
    const int c = d.get("Checkers", "Checker_Size");
    const int W = d.get("Board", "BoardSize_X"), H = d.get("Board", "BoardSize_Y");
    const int h = d.get("Board", "PointHeigth");
    const QImage board(td.filePath(d.ini["Board"]["BoardImage"]));
    need(board.size() == QSize(W, H), "board picture size differs from BoardSize_X/Y");
    for (const char* key : {"Checker_Blue", "Checker_Red", "Ghost_Blue", "Ghost_Red"})
        need(QImage(td.filePath(d.ini["Checkers"][key])).size() == QSize(c, c),
             QStringLiteral("%1 is not Checker_Size square").arg(key));
    need(QImage(td.filePath(QString(d.ini["Cube"]["Cube_Image"]).replace("?", "2"))).size() == QSize(c, c),
         "cube picture is not Checker_Size square (its hit area is)");
    for (int i = 1; i < 13; ++i)
        if (i != 6)
            need(d.P(i) - d.P(i + 1) >= c, QStringLiteral("columns Point%1 and Point%2 overlap").arg(i).arg(i + 1));
    need(d.P(6) - d.P(7) >= c && d.P(7) - d.P(8) >= c, "bar column overlaps a point column");
    need(d.P(0) >= d.P(1) + c, "tray column not right of Point1");
    need(d.P(14) + c <= d.P(13), "cube column not left of the board");
    const int blueY = d.get("Board", "Point_Blue_Y"), redY = d.get("Board", "Point_Red_Y");
    const int diceY = d.get("Dices", "Dice_Y");
    const QImage die(td.filePath(QString(d.ini["Dices"]["Dice_Blue"]).replace("?", "1")));
    need(blueY + 5 * c <= diceY && redY - 4 * c >= diceY + die.height(), "five checkers reach the dice");
    need(blueY + 5 * c <= h + 2 && redY - 4 * c >= H - h - 2, "five checkers run past the points' hit areas");
    need(blueY + 5 * c + 8 <= d.get("Indicators", "Indicator_Red_Y"), "fifteen borne off reach the far lamp");
    const QImage lamp(td.filePath(d.ini["Indicators"]["Indicator_Blue_Image"]));
    need(redY - 4 * c - 8 >= d.get("Indicators", "Indicator_Blue_Y") + lamp.height(),
         "fifteen borne off reach the near lamp");
    need(d.get("Board", "Bar_Blue_Y") + 5 * c <= d.get("Board", "Bar_Red_Y") - 4 * c, "bar stacks of five overlap");
    need(d.P(6) < d.get("Dices", "Dice1_Right_X") && d.get("Dices", "Dice2_Right_X") + die.width() < d.P(0),
         "near dice outside the roll area");
    need(d.P(13) < d.get("Dices", "Dice1_Left_X") && d.get("Dices", "Dice2_Left_X") + die.width() < d.P(7),
         "far dice outside the left half");
    need(diceY > h && diceY + die.height() < H - h, "dice outside the middle band");
    // Accepting presses the offered cube at (Cube_Right_Pos_X, Cube_Take_Pl1_Y).
    need(std::abs(d.get("Cube", "Cube_Right_Pos_Y") - d.get("Cube", "Cube_Take_Pl1_Y")) < c / 2,
         "the offered cube is not where accepting presses");
    need(d.get("Cube", "Cube_Center_Pos_X") == d.P(14), "Point14 is not the cube's x");
    return faults;
}

void drawHitAreas(QImage& img, const Desc& d)
{
    const int c = d.get("Checkers", "Checker_Size"), h = d.get("Board", "PointHeigth");
    const int H = d.get("Board", "BoardSize_Y");
    QPainter p(&img);
    QFont f("DejaVu Sans");
    f.setPixelSize(10);
    p.setFont(f);
    int hue = 0;
    auto area = [&](QRect r, const QString& label) {
        hue = (hue + 67) % 360;
        QColor col = QColor::fromHsv(hue, 220, 255, 70);
        p.fillRect(r, col);
        col.setAlpha(230);
        p.setPen(col);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.setPen(Qt::white);
        p.drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, label);
    };
    // A column's area runs from its own x to its right-hand neighbour's.
    auto column = [&](int left, int right, bool upper, const QString& label) {
        const int x0 = d.P(left), x1 = d.P(right);
        area(upper ? QRect(x0, 0, x1 - x0, h) : QRect(x0, H - h + 1, x1 - x0, h - 1), label);
    };
    area(QRect(d.P(1), 0, c, h), "24");
    area(QRect(d.P(1), H - h + 1, c, h - 1), "1");
    for (int k = 0; k < 5; ++k) {
        column(k + 2, k + 1, true, QString::number(23 - k));
        column(6 - k, 5 - k, false, QString::number(6 - k));
    }
    for (int k = 0; k < 6; ++k) {
        column(k + 8, k + 7, true, QString::number(18 - k));
        column(k + 8, k + 7, false, QString::number(7 + k));
    }
    const int barBlue = d.get("Board", "Bar_Blue_Y");
    area(QRect(d.P(7), barBlue + 1, d.P(6) - d.P(7), H - barBlue - 1), "25 (0 above)");
    area(QRect(d.P(0), H - h + 1, c, h - 1), "-1");
    area(QRect(d.P(0), 0, c, h), "26");
    area(QRect(d.P(6) + 1, h + 1, d.P(0) - d.P(6) - 1, H - 2 * h - 1), "roll");
    area(QRect(d.P(14), d.get("Cube", "Cube_Center_Pos_Y") - 2, c + 1, c + 5), "dbl");
    area(QRect(d.P(14), d.get("Cube", "Cube_Take_Pl1_Y"), c + 1, c + 1), "own");
    area(QRect(d.get("Cube", "Cube_Right_Pos_X"), d.get("Cube", "Cube_Take_Pl1_Y"), c + 1, c + 1), "acc");
}

QImage partsSheet(const QDir& td, const Desc& d)
{
    QStringList files;
    for (const char* k : {"Checker_Blue", "Checker_Red", "Ghost_Blue", "Ghost_Red"})
        files << d.ini["Checkers"][k];
    files << d.ini["Indicators"]["Indicator_Blue_Image"] << d.ini["Indicators"]["Indicator_Red_Image"];
    for (const char* k : {"Dice_Blue", "Dice_Red"})
        for (int f = 1; f <= 6; ++f)
            files << QString(d.ini["Dices"][k]).replace(d.ini["Dices"][k].indexOf('?'), 1, QString::number(f));
    for (int v : {1, 2, 4, 8, 16, 32, 64})
        files << QString(d.ini["Cube"]["Cube_Image"]).replace("?", QString::number(v));
    const int cell = 88;
    const int perRow = 8;
    QImage sheet(perRow * cell, ((int(files.size()) + perRow - 1) / perRow) * cell, QImage::Format_ARGB32_Premultiplied);
    const QImage board(td.filePath(d.ini["Board"]["BoardImage"]));
    QPainter p(&sheet);
    // Pictures are shown over a piece of the board itself.
    for (int y = 0; y < sheet.height(); y += 40)
        for (int x = 0; x < sheet.width(); x += 40)
            p.drawImage(x, y, board, board.width() / 2 + 60, board.height() / 2 - 20, 40, 40);
    for (int i = 0; i < files.size(); ++i) {
        const QImage img = upscale(QImage(td.filePath(files[i])), 2);
        p.drawImage((i % perRow) * cell + (cell - img.width()) / 2, (i / perRow) * cell + (cell - img.height()) / 2, img);
    }
    return sheet;
}

} // namespace

bool writeChecks(const QString& dataDir, const QString& prefix, QString* error)
{
    const QDir themes(QDir(dataDir).filePath("Themes"));
    const QStringList previews = themes.entryList({"*.ini"}, QDir::Files, QDir::Name);
    if (previews.isEmpty()) {
        *error = QStringLiteral("no themes in %1").arg(themes.path());
        return false;
    }
    bool allGood = true;
    for (const QString& file : previews) {
        const QString name = file.left(file.size() - 4);
        const QDir td(themes.filePath(name));
        Desc d{readIni(td.filePath(name + ".ini"))};
        const QStringList faults = geometryFaults(td, d);
        for (const QString& f : faults)
            std::printf("%s: FAULT %s\n", qPrintable(name), qPrintable(f));
        allGood = allGood && faults.isEmpty();

        Scene start = startingScene();
        start.cubeValue = 1;
        start.nearDie1 = 6;
        start.nearDie2 = 3;
        start.turn = 1;
        start.ghosts = {21, 18, 4};

        Scene busy;
        busy.nearIsBlue = false;
        busy.at(6) = 8;
        busy.at(5) = 5;
        busy.at(4) = 11;
        busy.at(1) = -2;
        busy.at(12) = -5;
        busy.at(19) = -6;
        busy.at(24) = 3;
        busy.at(14) = -4;
        busy.at(-1) = 15;
        busy.at(26) = -15;
        busy.at(25) = 5;
        busy.at(0) = -5;
        busy.cubeValue = 4;
        busy.cubePlace = Scene::FarOwns;
        busy.farDie1 = 6;
        busy.farDie2 = 6;
        busy.turn = -1;

        Scene offer = startingScene();
        offer.at(24) = 1;
        offer.at(25) = 1;
        offer.at(19) = -4;
        offer.at(0) = -1;
        offer.at(-1) = 2;
        offer.at(26) = -7;
        offer.cubeValue = 2;
        offer.cubePlace = Scene::OfferedByFar;
        offer.turn = -1;

        Scene nearOffer = startingScene();
        nearOffer.cubeValue = 16;
        nearOffer.cubePlace = Scene::OfferedByNear;
        nearOffer.turn = 1;

        Scene owned = startingScene();
        owned.cubeValue = 8;
        owned.cubePlace = Scene::NearOwns;
        owned.turn = 1;
        owned.nearDie1 = 1;
        owned.nearDie2 = 2;

        const struct {
            const char* tag;
            Scene scene;
            bool hits;
        } shots[] = {{"start", start, false}, {"busy", busy, false}, {"offer", offer, false},
                     {"nearoffer", nearOffer, false}, {"owned", owned, false}, {"hits", start, true}};
        for (const auto& s : shots) {
            QImage img = compose(td.path(), d.ini, s.scene, error);
            if (img.isNull())
                return false;
            if (s.hits)
                drawHitAreas(img, d);
            const QString out = QStringLiteral("%1%2-%3.png").arg(prefix, name.toLower(), s.tag);
            if (!img.save(out)) {
                *error = QStringLiteral("cannot write %1").arg(out);
                return false;
            }
        }
        partsSheet(td, d).save(QStringLiteral("%1%2-parts.png").arg(prefix, name.toLower()));
        // The near side's home board, where stacks of five, eight and eleven stand.
        const int c = d.get("Checkers", "Checker_Size");
        const QImage zoom = compose(td.path(), d.ini, busy, error);
        zoom.copy(d.P(6) - 20, d.get("Board", "Point_Red_Y") - 5 * c, 200, 240)
            .scaled(600, 720, Qt::IgnoreAspectRatio, Qt::FastTransformation)
            .save(QStringLiteral("%1%2-zoom.png").arg(prefix, name.toLower()));
        std::printf("%s: %s\n", qPrintable(name), faults.isEmpty() ? "geometry ok" : "geometry FAULTS");
    }
    if (!allGood)
        *error = QStringLiteral("geometry faults found");
    return allGood;
}

} // namespace art
