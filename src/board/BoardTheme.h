#pragma once

#include "board/TBoardDescription.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>

// Turns a stored path (backslashes or slashes, relative parts such as "Themes\Oak\oak.png"
// appended to a full folder) into the real path, matching each file and folder name without
// regard to case. Parts that cannot be found are kept as written, so the result still names
// what is missing.
QString ResolvePath(const QString& path);
QString ResolveAppPath(const QString& appFolder, const QString& relative);

// Reads the description file; a missing key reads as its default. When the file cannot be
// read the description holds only defaults and the result is false.
bool LoadBoardDescription(const QString& path, TBoardDescription& description,
                          QString* error = nullptr);

// The pictures of one theme, "own" meaning the near side's, and the two off-screen images.
struct TBoardPictures {
    static constexpr int CubeValues = 7; // 1, 2, 4 ... 64

    QImage BoardPicture;
    QImage OwnCheckerPicture;
    QImage OpponentCheckerPicture;
    QImage GhostPicture;
    QImage OwnIndicatorPicture;
    QImage OpponentIndicatorPicture;
    std::array<QImage, 7> OwnDicePictures;      // faces 1..6; entry 0 unused
    std::array<QImage, 7> OpponentDicePictures; // faces 1..6; entry 0 unused
    std::array<QImage, CubeValues> CubePictures; // entry k holds the cube for 2^k
    QImage CompositionImage;
    QImage BackgroundImage;

    // The cube picture for a value, or nullptr for a value that has none (0, 3, 128 ...).
    const QImage* CubePicture(int value) const;
    bool IsLoaded() const { return !BoardPicture.isNull(); }
};

// The largest board side accepted from a description file.
constexpr int MaxBoardSide = 4096;

// Loads every picture of theme `name` from Themes\<name>\ under the program folder and creates
// the off-screen images. On failure `pictures` is left untouched and error names the picture.
bool LoadBoardPictures(const QString& appFolder, const QString& name,
                       const TBoardDescription& description, bool playWithBlueChecker,
                       TBoardPictures& pictures, QString* error = nullptr);

// The Preferences window's list: one caption per Themes\*.ini, the file name less ".ini".
QStringList ListBoardThemes(const QString& appFolder);

// What the Preferences window shows of a theme, from Themes\<caption>.ini.
struct TThemePreview {
    QImage Board;
    QImage BlueChecker;
    QImage RedChecker;
    QString About;
};
TThemePreview LoadThemePreview(const QString& appFolder, const QString& caption);
