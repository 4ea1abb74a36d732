#include "protocol/OwnInfoStretch.h"

#include "model/Words.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"
#include "protocol/WhoInfoStretch.h"
#include "ratings/RatingHistory.h"

#include <QDateTime>
#include <QRegularExpression>

#include <memory>
#include <optional>

const QStringList ToggleConfirmations = {
    QStringLiteral("** You're now refusing to play with someone."),
    QStringLiteral("** You're now ready to invite or join someone."),
    QStringLiteral("** Forced moves won't be done automatically."),
    QStringLiteral("** Forced moves will be done automatically."),
    QStringLiteral("** Will use automatic greedy bearoffs."),
    QStringLiteral("** Won't use automatic greedy bearoffs."),
    QStringLiteral("** You won't be asked if you want to double."),
    QStringLiteral("** You will be asked if you want to double."),
};

namespace {

const QString BoxTitle = QStringLiteral("Tabulon");
const QString RatingsHeader = QStringLiteral(" rank name            rating    Experience");
constexpr int RatingsRowMinLength = 38;
constexpr int ToggleButtonPauseMs = 500;

std::optional<bool> toBool(const QString& word)
{
    if (word == QLatin1String("0"))
        return false;
    if (word == QLatin1String("1"))
        return true;
    return std::nullopt;
}

std::optional<int> toInt(const QString& word)
{
    bool ok = false;
    const int value = word.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// A login name that is safe as a file name beside the program.
bool usableFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QChar('/')) && !name.contains(QChar('\\'));
}

// Keeps whether a rating file failure was already reported, so the user hears it once.
struct RatingFileReport {
    bool reported = false;
};

void appendRating(ClientSession& s, RatingFileReport& report)
{
    const QString path = s.AppFolder + s.OwnInfo.Name + QStringLiteral(".rat");
    QString error;
    bool written = false;
    if (usableFileName(s.OwnInfo.Name))
        written = AppendRatingRecord(
            path, {DaysSince1899(QDateTime::currentDateTime()), s.OwnInfo.Rating}, &error);
    else
        error = QStringLiteral("the login name is not a file name");
    if (written || report.reported)
        return;
    report.reported = true;
    s.DisplayMemo.addLine(
        QStringLiteral("**Your rating history could not be written to %1: %2**").arg(path, error));
}

void readOwnInfo(ClientSession& s, const QString& received, RatingFileReport& report)
{
    QString text = received;
    while (!text.isEmpty() && text.back() == QChar(' '))
        text.chop(1);
    text = text.mid(2) + QChar(' ');
    const auto word = [&text](int k) { return GetWord(k, text, QStringLiteral(" ")); };

    // A word that does not convert keeps its field and is noted in the debug window; the
    // words after it are still read (the server sends "unlimited" for redoubles, and the
    // settings behind it must not be lost for that).
    QStringList failed;
    TOwnInfo& o = s.OwnInfo;
    ToolButtonStates& buttons = s.ToolButtons;
    const auto setBool = [&](int k, bool& field, const char* button = nullptr) {
        if (const std::optional<bool> value = toBool(word(k))) {
            field = *value;
            if (button)
                buttons.setPressed(QLatin1String(button), *value);
        } else {
            failed << QString::number(k);
        }
    };
    const auto setInt = [&](int k, int& field) {
        if (const std::optional<int> value = toInt(word(k)))
            field = *value;
        else
            failed << QString::number(k);
    };

    o.Name = word(0);
    setBool(1, o.AllowPip);
    setBool(2, o.AutoBoard);
    setBool(3, o.AutoDouble);
    setBool(4, o.AutoMove, "TBAutomove");
    setBool(5, o.Away);
    setBool(6, o.Bell);
    setBool(7, o.Crawford);
    setBool(8, o.Double, "TBDouble");
    setInt(9, o.Experience);
    setBool(10, o.Greedy, "TBGreedy");
    setBool(11, o.MoreBoards);
    setBool(12, o.Moves);
    setBool(13, o.Notify);
    const QString rating = word(14);
    const std::optional<int> ratingValue = toInt(rating.left(rating.size() - 3));
    if (ratingValue)
        o.Rating = *ratingValue;
    else
        failed << QStringLiteral("14");
    setBool(15, o.Ratings);
    // No record for a rating that could not be read: the history would show a false value.
    if (ratingValue)
        appendRating(s, report);
    setBool(16, o.Ready, "TBReady");
    setInt(17, o.Redoubles);
    setBool(18, o.Report);
    setBool(19, o.Silent);
    // The last word is text: only a missing word fails.
    if (CountChar(text, QChar(' ')) > 20)
        o.Timezone = word(20);
    else
        failed << QStringLiteral("20");
    if (!failed.isEmpty())
        s.DebugWrite(QStringLiteral("** own information: word %1 not read in \"%2\"")
                         .arg(failed.join(QStringLiteral(", ")), received));
}

// A row of the ratings listing into the window's list.
void AddRatingRow(ClientSession& s, const QString& line)
{
    const QString t = QString(line).remove(QRegularExpression(QStringLiteral("^ +")));
    TRatingRow row;
    row.Rank = GetWord(0, t, QStringLiteral(" "));
    row.Name = GetWord(1, t, QStringLiteral(" "));
    QString rest = line.mid(20);
    const qsizetype blank = rest.indexOf(QChar(' '));
    if (blank >= 0)
        rest.remove(0, blank + 1);
    row.Rating = rest.left(8);
    row.Experience = rest.right(7);
    s.Captures.addRating(row);
}

void captureRatings(ClientSession& s, QString& line)
{
    if (line.isEmpty())
        return;
    if (s.Captures.RatingsWindowExists && line == RatingsHeader) {
        s.RatingsCapture = true;
        line.clear();
        return;
    }
    if (!s.RatingsCapture || line.size() < RatingsRowMinLength)
        return;
    if (s.RatingsRowsExpected > 0) {
        if (line.contains(QChar('*')))
            line.remove(0, 1);
        --s.RatingsRowsExpected;
        AddRatingRow(s, line);
        line.clear();
    } else if (s.RatingsRowsExpected == 0 && line.contains(QChar('*'))) {
        line.remove(0, 1);
        s.RatingsRowsExpected = -1;
        AddRatingRow(s, line);
        line.clear();
    }
    if (s.RatingsRowsExpected == -1)
        s.RatingsCapture = false;
}

// "** Gagged users: a, b": one entry per comma-separated name, each keeping the blank after
// its comma.
QStringList listedNames(const QString& line, int prefixLength)
{
    const QString text = line.mid(prefixLength) + QChar(',');
    QStringList names;
    const int count = CountChar(text, QChar(','));
    for (int i = 0; i < count; ++i)
        names << GetWord(i, text, QStringLiteral(","));
    return names;
}

void opponentLeaves(ClientSession& s, QString& line)
{
    const QString p = s.CurrentPosition.Opponent;
    if (line.isEmpty() || p.isEmpty())
        return;
    if (line != p + QStringLiteral(" drops connection. The game was saved.")
        && !line.contains(p + QStringLiteral(" has left the game. The game was saved.")))
        return;
    const QString text = line;
    line.clear();
    s.Playing = false;
    s.Watching = false;
    s.ToolButtons.setPressed(QStringLiteral("TBReady"), true);
    s.OwnInfo.Ready = true;
    s.Ports().prompter->information(BoxTitle, text);
    s.SavedListHeaderSeen = false;
    const QString length = QString::number(s.CurrentPosition.MatchLength);
    const QString score = QString::number(s.CurrentPosition.PlayerScore) + QChar('-')
        + QString::number(s.CurrentPosition.OpponentScore);
    s.SavedGames.append(TSavedgame{p, length, score});
    const QString cell = QStringLiteral("ML: ") + length + QStringLiteral(" Score ") + score;
    for (int i = 0; i < s.LVPlayers.Count(); ++i) {
        const TPlayerRow& row = s.LVPlayers.Row(i);
        if (row.Caption == p || row.Cell(ColOpponent) == p)
            s.LVPlayers.EditRow(i).SetCell(ColSavedGames, cell);
    }
    SettlePlayersLists(s);
}

void toggleClick(ClientSession& s, const char* command, const char* button,
                 bool TOwnInfo::*field)
{
    if (!s.IsConnected())
        return;
    s.SendCommand(QLatin1String(command), ToggleButtonPauseMs);
    s.Later(ToggleButtonPauseMs, [&s, button, field] {
        s.OwnInfo.*field = s.ToolButtons.pressed(QLatin1String(button));
    });
}

} // namespace

void InstallOwnInfoStretch(ClientSession& session)
{
    auto report = std::make_shared<RatingFileReport>();
    LineDispatcher& d = session.Dispatcher();
    d.SetHandler("own-info", [&session, report](QString& line) {
        if (!line.startsWith(QLatin1String("2 ")))
            return;
        const QString text = line;
        line.clear();
        readOwnInfo(session, text, *report);
    });
    d.SetHandler("ratings-capture", [&session](QString& line) { captureRatings(session, line); });
    d.SetHandler("gag-capture", [&session](QString& line) {
        if (!session.GagListCapture || !line.startsWith(QLatin1String("** Gagged users:")))
            return;
        for (const QString& name : listedNames(line, 17))
            session.Captures.addGagged(name);
        line.clear();
    });
    d.SetHandler("blind-capture", [&session](QString& line) {
        if (!session.BlindListCapture || !line.startsWith(QLatin1String("** Blinded users:")))
            return;
        for (const QString& name : listedNames(line, 18))
            session.Captures.addBlinded(name);
        line.clear();
    });
    d.SetHandler("toggle-confirmations", [&session](QString& line) {
        if (!ToggleConfirmations.contains(line))
            return;
        const QString text = line.mid(3);
        line.clear();
        session.Ports().prompter->information(BoxTitle, text);
    });
    d.SetHandler("opponent-leaves", [&session](QString& line) { opponentLeaves(session, line); });
}

void TBAutomoveClick(ClientSession& s)
{
    toggleClick(s, "toggle automove", "TBAutomove", &TOwnInfo::AutoMove);
}

void TBGreedyClick(ClientSession& s)
{
    toggleClick(s, "toggle greedy", "TBGreedy", &TOwnInfo::Greedy);
}

void TBDoubleClick(ClientSession& s)
{
    toggleClick(s, "toggle double", "TBDouble", &TOwnInfo::Double);
}

void TBReadyClick(ClientSession& s)
{
    toggleClick(s, "toggle ready", "TBReady", &TOwnInfo::Ready);
}
