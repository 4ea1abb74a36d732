#pragma once

// The Oak test theme in a temporary program folder: its description files come from
// tests/board/fixtures, its pictures are painted here in plain known colours, and every file
// name on disk differs in letter case from the name the description gives.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>

namespace oak {

inline const QColor Board(200, 180, 140);
inline const QColor Blue(0, 0, 255);
inline const QColor Red(255, 0, 0);
inline const QColor IndicatorBlue(0, 255, 255);
inline const QColor IndicatorRed(255, 0, 255);
constexpr int CheckerSize = 16;
constexpr int DieSize = 14;
constexpr int IndicatorSize = 10;

inline QColor Die(bool blue, int face)
{
    return blue ? QColor(10 * face, 10 * face, 200) : QColor(200, 10 * face, 10 * face);
}

inline QColor Cube(int value)
{
    int k = 0;
    while ((1 << k) < value)
        ++k;
    return QColor(0, 100 + 20 * k, 0);
}

inline QImage solid(int side, const QColor& colour)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// A round checker on a transparent square: its corners must not cover what lies beneath.
inline QImage checker(const QColor& colour)
{
    QImage image(CheckerSize, CheckerSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(image.rect());
    return image;
}

inline bool save(const QImage& image, const QString& path)
{
    return image.save(path, "PNG");
}

inline bool copy(const QString& from, const QString& to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

// Lays the theme out under folder: themes/Oak.ini, themes/oak/OAK.ini and the pictures.
inline bool Install(const QString& folder)
{
    const QString fixtures = QStringLiteral(TABULON_SOURCE_DIR "/tests/board/fixtures/themes");
    const QString themes = folder + QStringLiteral("/themes");
    const QString oak = themes + QStringLiteral("/oak");
    bool ok = QDir().mkpath(oak);
    ok = ok && copy(fixtures + "/Oak.ini", themes + "/Oak.ini");
    ok = ok && copy(fixtures + "/oak/OAK.ini", oak + "/OAK.ini");
    QImage board(300, 200, QImage::Format_ARGB32);
    board.fill(Board);
    ok = ok && save(board, oak + "/board.png") && save(board, oak + "/preview.png");
    ok = ok && save(checker(Blue), oak + "/blue.png") && save(checker(Red), oak + "/red.png");
    ok = ok && save(checker(QColor(128, 128, 255)), oak + "/ghostblue.png");
    ok = ok && save(checker(QColor(255, 128, 128)), oak + "/ghostred.png");
    for (int face = 1; face <= 6; ++face) {
        ok = ok && save(solid(DieSize, Die(true, face)), oak + QStringLiteral("/blue%1.png").arg(face));
        ok = ok && save(solid(DieSize, Die(false, face)), oak + QStringLiteral("/red%1.png").arg(face));
    }
    for (int value = 1; value <= 64; value *= 2)
        ok = ok && save(solid(CheckerSize, Cube(value)), oak + QStringLiteral("/cube%1.png").arg(value));
    ok = ok && save(solid(IndicatorSize, IndicatorBlue), oak + "/indblue.png");
    return ok && save(solid(IndicatorSize, IndicatorRed), oak + "/indred.png");
}

// The description path the settings file names for the theme.
inline QString DescriptionPath(const QString& folder)
{
    return folder + QStringLiteral("/Themes\\Oak\\Oak.ini");
}

} // namespace oak
