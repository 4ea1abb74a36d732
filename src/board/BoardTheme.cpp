#include "board/BoardTheme.h"

#include "app/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

namespace {

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    return folder.endsWith(QChar('/')) ? folder + name : folder + QChar('/') + name;
}

// The entry of `folder` named `name` without regard to case (the exact name wins), or an
// empty text when there is none.
QString findEntry(const QString& folder, const QString& name)
{
    const QString exact = joinPath(folder, name);
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(folder.isEmpty() ? QStringLiteral(".") : folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return joinPath(folder, entry);
    }
    return QString();
}

// The first "?" of a file name pattern replaced by a value.
QString withValue(QString pattern, int value)
{
    const qsizetype at = pattern.indexOf(QChar('?'));
    if (at >= 0)
        pattern.replace(at, 1, QString::number(value));
    return pattern;
}

QImage loadPicture(const QString& path)
{
    QImage image(path);
    if (image.isNull())
        return image;
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString themePicturePath(const QString& name, const QString& file)
{
    return QStringLiteral("Themes\\%1\\%2").arg(name, file);
}

} // namespace

QString ResolvePath(const QString& path)
{
    QString normal = path;
    normal.replace(QChar('\\'), QChar('/'));
    QString current = normal.startsWith(QChar('/')) ? QStringLiteral("/") : QString();
    bool found = true;
    for (const QString& part : normal.split(QChar('/'), Qt::SkipEmptyParts)) {
        QString next = found ? findEntry(current, part) : QString();
        if (next.isEmpty()) {
            found = false;
            next = joinPath(current, part);
        }
        current = next;
    }
    return current;
}

QString ResolveAppPath(const QString& appFolder, const QString& relative)
{
    QString folder = appFolder;
    if (!folder.isEmpty() && !folder.endsWith(QChar('/')) && !folder.endsWith(QChar('\\')))
        folder.append(QChar('/'));
    return ResolvePath(folder + relative);
}

bool LoadBoardDescription(const QString& path, TBoardDescription& d, QString* error)
{
    d = TBoardDescription{};
    const QString real = ResolvePath(path);
    if (!QFileInfo(real).isFile() || !QFile(real).open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(QDir::toNativeSeparators(real));
        return false;
    }
    const SettingsFile ini(real);
    const auto text = [&ini](const char* section, const char* key) {
        return ini.readString(section, QLatin1String(key), QString());
    };
    const auto number = [&ini](const char* section, const char* key, int defaultValue) {
        return ini.readInt(section, QLatin1String(key), defaultValue);
    };
    d.BoardName = text("Board", "BoardName");
    d.BoardImage = text("Board", "BoardImage");
    d.BoardSize_X = number("Board", "BoardSize_X", 0);
    d.BoardSize_Y = number("Board", "BoardSize_Y", 0);
    d.Bar_Blue_Y = number("Board", "Bar_Blue_Y", 0);
    d.Bar_Red_Y = number("Board", "Bar_Red_Y", 0);
    d.Point_Blue_Y = number("Board", "Point_Blue_Y", 0);
    d.Point_Red_Y = number("Board", "Point_Red_Y", 0);
    for (std::size_t i = 0; i < d.Point.size(); ++i)
        d.Point[i] = ini.readInt("Board", QStringLiteral("Point%1").arg(i), d.Point[i]);
    d.PointHeigth = number("Board", "PointHeigth", 0);
    d.Dice_Blue = text("Dices", "Dice_Blue");
    d.Dice_Red = text("Dices", "Dice_Red");
    d.Dice1_Left_X = number("Dices", "Dice1_Left_X", 0);
    d.Dice2_Left_X = number("Dices", "Dice2_Left_X", 0);
    d.Dice1_Right_X = number("Dices", "Dice1_Right_X", 0);
    d.Dice2_Right_X = number("Dices", "Dice2_Right_X", 0);
    d.Dice_Y = number("Dices", "Dice_Y", 0);
    d.Checker_Blue = text("Checkers", "Checker_Blue");
    d.Checker_Red = text("Checkers", "Checker_Red");
    d.Ghost_Blue = text("Checkers", "Ghost_Blue");
    d.Ghost_Red = text("Checkers", "Ghost_Red");
    d.Checker_Size = number("Checkers", "Checker_Size", 0);
    d.Cube_Image = text("Cube", "Cube_Image");
    d.Cube_Center_Pos_X = number("Cube", "Cube_Center_Pos_X", 0);
    d.Cube_Center_Pos_Y = number("Cube", "Cube_Center_Pos_Y", 0);
    d.Cube_Take_Pl1_Y = number("Cube", "Cube_Take_Pl1_Y", 0);
    d.Cube_Take_Pl2_Y = number("Cube", "Cube_Take_Pl2_Y", 0);
    d.Cube_Left_Pos_X = number("Cube", "Cube_Left_Pos_X", 0);
    d.Cube_Left_Pos_Y = number("Cube", "Cube_Left_Pos_Y", 0);
    d.Cube_Right_Pos_X = number("Cube", "Cube_Right_Pos_X", 0);
    d.Cube_Right_Pos_Y = number("Cube", "Cube_Right_Pos_Y", 0);
    d.Indicator_Blue_Image = text("Indicators", "Indicator_Blue_Image");
    d.Indicator_Red_Image = text("Indicators", "Indicator_Red_Image");
    d.Indicator_Red_X = number("Indicators", "Indicator_Red_X", 0);
    d.Indicator_Red_Y = number("Indicators", "Indicator_Red_Y", 0);
    d.Indicator_Blue_X = number("Indicators", "Indicator_Blue_X", 0);
    d.Indicator_Blue_Y = number("Indicators", "Indicator_Blue_Y", 0);
    return true;
}

const QImage* TBoardPictures::CubePicture(int value) const
{
    for (int k = 0; k < CubeValues; ++k) {
        if (value == 1 << k)
            return &CubePictures[std::size_t(k)];
    }
    return nullptr;
}

bool LoadBoardPictures(const QString& appFolder, const QString& name, const TBoardDescription& d,
                       bool playWithBlueChecker, TBoardPictures& pictures, QString* error)
{
    TBoardPictures loaded;
    QString failed;
    const auto load = [&](const char* key, const QString& file) {
        if (!failed.isEmpty())
            return QImage();
        if (file.isEmpty()) {
            failed = QStringLiteral("the theme %1 names no picture for %2").arg(name, QLatin1String(key));
            return QImage();
        }
        const QString path = ResolveAppPath(appFolder, themePicturePath(name, file));
        QImage image = loadPicture(path);
        if (image.isNull())
            failed = QStringLiteral("cannot load the picture %1").arg(QDir::toNativeSeparators(path));
        return image;
    };
    const bool blue = playWithBlueChecker;
    const char* const ownChecker = blue ? "Checker_Blue" : "Checker_Red";
    const char* const opponentChecker = blue ? "Checker_Red" : "Checker_Blue";
    const char* const ownIndicator = blue ? "Indicator_Blue_Image" : "Indicator_Red_Image";
    const char* const opponentIndicator = blue ? "Indicator_Red_Image" : "Indicator_Blue_Image";
    const char* const ownDice = blue ? "Dice_Blue" : "Dice_Red";
    const char* const opponentDice = blue ? "Dice_Red" : "Dice_Blue";
    loaded.BoardPicture = load("BoardImage", d.BoardImage);
    loaded.OwnCheckerPicture = load(ownChecker, blue ? d.Checker_Blue : d.Checker_Red);
    loaded.OpponentCheckerPicture = load(opponentChecker, blue ? d.Checker_Red : d.Checker_Blue);
    loaded.GhostPicture = load(blue ? "Ghost_Blue" : "Ghost_Red", blue ? d.Ghost_Blue : d.Ghost_Red);
    loaded.OwnIndicatorPicture =
        load(ownIndicator, blue ? d.Indicator_Blue_Image : d.Indicator_Red_Image);
    loaded.OpponentIndicatorPicture =
        load(opponentIndicator, blue ? d.Indicator_Red_Image : d.Indicator_Blue_Image);
    for (int face = 1; face <= 6; ++face) {
        loaded.OwnDicePictures[std::size_t(face)] =
            load(ownDice, withValue(blue ? d.Dice_Blue : d.Dice_Red, face));
        loaded.OpponentDicePictures[std::size_t(face)] =
            load(opponentDice, withValue(blue ? d.Dice_Red : d.Dice_Blue, face));
    }
    for (int k = 0; k < TBoardPictures::CubeValues; ++k)
        loaded.CubePictures[std::size_t(k)] = load("Cube_Image", withValue(d.Cube_Image, 1 << k));
    if (failed.isEmpty()
        && (d.BoardSize_X <= 0 || d.BoardSize_Y <= 0 || d.BoardSize_X > MaxBoardSide
            || d.BoardSize_Y > MaxBoardSide))
        failed = QStringLiteral("the board size %1 x %2 of theme %3 is not usable")
                     .arg(d.BoardSize_X)
                     .arg(d.BoardSize_Y)
                     .arg(name);
    if (!failed.isEmpty()) {
        if (error)
            *error = failed;
        return false;
    }
    loaded.CompositionImage =
        QImage(d.BoardSize_X, d.BoardSize_Y, QImage::Format_ARGB32_Premultiplied);
    loaded.CompositionImage.fill(Qt::transparent);
    {
        QPainter painter(&loaded.CompositionImage);
        painter.drawImage(0, 0, loaded.BoardPicture);
    }
    loaded.BackgroundImage = loaded.CompositionImage;
    pictures = std::move(loaded);
    return true;
}

QStringList ListBoardThemes(const QString& appFolder)
{
    const QString folder = ResolveAppPath(appFolder, QStringLiteral("Themes"));
    QStringList captions;
    const QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        const QString file = info.fileName();
        if (file.size() > 4 && file.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
            captions.append(file.left(file.size() - 4));
    }
    std::sort(captions.begin(), captions.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return captions;
}

TThemePreview LoadThemePreview(const QString& appFolder, const QString& caption)
{
    TThemePreview preview;
    const QString path = ResolveAppPath(appFolder, QStringLiteral("Themes\\%1.ini").arg(caption));
    if (!QFileInfo(path).isFile())
        return preview;
    const SettingsFile ini(path);
    const QString themes = QFileInfo(path).absolutePath();
    const auto picture = [&](const char* key) {
        const QString file = ini.readString("Preview", QLatin1String(key), QString());
        return file.isEmpty() ? QImage() : loadPicture(ResolveAppPath(themes, file));
    };
    preview.Board = picture("Board");
    preview.BlueChecker = picture("Blue_Checker");
    preview.RedChecker = picture("Red_Checker");
    preview.About = ini.readString("Creator", QStringLiteral("About"), QString());
    return preview;
}
