#include "records/MatchFile.h"

#include "protocol/ClientSession.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cstdlib>
#include <optional>

namespace {

// Width of the first player's column: the second player's text starts here.
constexpr int LeftColumnWidth = 33;
constexpr int RightResultIndent = 34;

void padToColumn(QString& line)
{
    if (line.size() < LeftColumnWidth)
        line += QString(LeftColumnWidth - line.size(), QChar(' '));
}

void writePointNumbers(QString& line)
{
    line.replace(QLatin1String("off"), QLatin1String("0"));
    line.replace(QLatin1String("bar"), QLatin1String("25"));
}

// A roll kept without its move ("Dice: 6 4": the side rolled, then resigned) is written as
// the bare roll, which readers take for a roll that was not played.
std::optional<QString> bareRoll(const QString& text)
{
    if (!text.startsWith(QLatin1String("Dice: ")))
        return std::nullopt;
    return text.mid(6).remove(QChar(' ')) + QChar(':');
}

// The texts written alike in both columns: cube actions, blocked and bare rolls.
std::optional<QString> cubeOrRoll(const QString& text, int cube)
{
    if (text == QLatin1String("Doubles"))
        return QStringLiteral("  Doubles => ") + QString::number(std::abs(cube));
    if (text == QLatin1String("Accepts"))
        return QStringLiteral(" Takes");
    if (text == QLatin1String("Gives up"))
        return QStringLiteral("Drops");
    if (text.contains(QLatin1String("Can't move")))
        return text.left(2) + QChar(':');
    return bareRoll(text);
}

QString leftHalf(const QString& text, int cube)
{
    if (text == QLatin1String("-"))
        return QStringLiteral(" ");
    if (const std::optional<QString> fixed = cubeOrRoll(text, cube))
        return *fixed;
    if (text.isEmpty())
        return {};
    return text.left(2) + QChar(':') + text.mid(2);
}

// The second player's moves are recorded in the first player's numbering: they are written
// in the second player's own.
QString rightHalf(const QString& text, int cube)
{
    if (const std::optional<QString> fixed = cubeOrRoll(text, cube))
        return *fixed;
    if (text.isEmpty())
        return {};
    QString spaced = text;
    spaced.replace(QChar('/'), QChar(' '));
    const QStringList words = spaced.split(QChar(' '));
    const int blanks = int(spaced.count(QChar(' ')));
    QString out = text.left(2) + QChar(':');
    for (int k = 1; k <= blanks; ++k)
        out += (k % 2 ? QChar(' ') : QChar('/')) + FlipPoint(words.at(k));
    return out;
}

// Names and scores of a game come from its second row; a shorter record falls back on its
// first row, then on the live position.
const TPositions& headerPosition(const TGames& game, const TPositions& current)
{
    if (game.PlayerPositions.size() >= 2)
        return game.PlayerPositions.at(1);
    if (!game.PlayerPositions.isEmpty())
        return game.PlayerPositions.at(0);
    return current;
}

void appendGame(QStringList& lines, const TGames& game, int number, const TPositions& current)
{
    lines << QStringLiteral(" Game ") + QString::number(number);
    const TPositions& h = headerPosition(game, current);
    QString header = QChar(' ') + h.Player + QStringLiteral(" : ") + QString::number(h.PlayerScore);
    padToColumn(header);
    lines << header + h.Opponent + QStringLiteral(" : ") + QString::number(h.OpponentScore);

    int moveNumber = 0;
    for (int r = 0; r < game.PlayerPositions.size(); ++r) {
        const TPositions& near = game.PlayerPositions.at(r);
        const TPositions far = game.OpponentPositions.value(r);
        if (near.MoveText.contains(QLatin1String("Wins"))) {
            // Padded so that a short result line is not taken for the end of the line above:
            // GNU Backgammon 1.07 then reads that line's second column again.
            QString result = QChar(' ') + near.MoveText;
            padToColumn(result);
            lines << QStringLiteral(" ") << result;
            continue;
        }
        ++moveNumber;
        QString line = (moveNumber < 10 ? QStringLiteral("  ") : QStringLiteral(" "))
            + QString::number(moveNumber) + QStringLiteral(") ")
            + leftHalf(near.MoveText, near.Cube);
        writePointNumbers(line);
        padToColumn(line);
        if (far.MoveText.contains(QLatin1String("Wins"))) {
            lines << QStringLiteral(" ") << QString(RightResultIndent, QChar(' ')) + far.MoveText;
            continue;
        }
        line += rightHalf(far.MoveText, far.Cube);
        writePointNumbers(line);
        lines << line;
    }
}

QString fileNamePart(QString name)
{
    name.replace(QChar('/'), QChar('_'));
    name.replace(QChar('\\'), QChar('_'));
    return name;
}

// The locale's long time format less its time zone, which only lengthens the name.
QString timeFormatWithoutZone(const QLocale& locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QChar('\''))
            quoted = !quoted;
        if (quoted || c != QChar('t'))
            out += c;
    }
    return out.trimmed();
}

// The first name in the folder that no file has yet: matches that end within the same second
// between the same players each keep their own file.
QString unusedPath(const QDir& folder, const QString& name)
{
    const QString stem = name.chopped(4);
    QString path = folder.filePath(name);
    for (int k = 2; QFileInfo::exists(path); ++k)
        path = folder.filePath(QStringLiteral("%1 (%2).mat").arg(stem).arg(k));
    return path;
}

} // namespace

QString FlipPoint(const QString& point)
{
    bool ok = false;
    const int n = point.toInt(&ok);
    if (!ok || n < 1 || n > 24 || QString::number(n) != point)
        return point;
    return QString::number(25 - n);
}

QByteArray MatchFileText(const QVector<TGames>& games, const TPositions& current)
{
    QStringList lines;
    lines << QChar(' ') + QString::number(current.MatchLength) + QStringLiteral(" point match");
    lines << QStringLiteral(" ");
    for (int g = 0; g < games.size(); ++g)
        appendGame(lines, games.at(g), g + 1, current);
    QByteArray text;
    for (const QString& line : lines)
        text += line.toLatin1() + "\r\n";
    return text;
}

QString MatchFileName(const TPositions& current, const QDateTime& endedAt, const QLocale& locale)
{
    QString stamp = locale.toString(endedAt.date(), QLocale::ShortFormat);
    if (endedAt.time() != QTime(0, 0))
        stamp += QChar(' ') + locale.toString(endedAt.time(), timeFormatWithoutZone(locale));
    stamp.replace(QChar('/'), QChar('_'));
    stamp.replace(QChar(':'), QChar('_'));
    return stamp + fileNamePart(current.Player) + QChar('_') + fileNamePart(current.Opponent)
        + QStringLiteral(".mat");
}

QString WriteMatchFile(ClientSession& session, const QDateTime& endedAt, QString* error)
{
    const QString folder = session.AppFolder + QStringLiteral("Saved");
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the folder %1").arg(folder);
        return {};
    }
    const QString path = unusedPath(
        QDir(folder), MatchFileName(session.CurrentPosition, endedAt, QLocale::system()));
    const QByteArray text = MatchFileText(session.Games, session.CurrentPosition);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return {};
    }
    session.LastMatchFile = path;
    return path;
}

QString WriteMatchFile(ClientSession& session, QString* error)
{
    return WriteMatchFile(session, QDateTime::currentDateTime(), error);
}

void WriteMatchFileAtMatchEnd(ClientSession& session)
{
    const bool wanted = (session.Playing && session.Settings.SavePlayedMatches)
        || (session.Watching && session.Settings.SaveWatchedMatches);
    if (!wanted)
        return;
    QString error;
    if (WriteMatchFile(session, &error).isEmpty())
        session.DisplayMemo.addLine(
            QStringLiteral("**The match file could not be written: %1**").arg(error));
}
