#include "invite/Invitations.h"

#include "model/Words.h"
#include "protocol/ClientSession.h"
#include "ratings/RatingExpectation.h"

#include <QJsonArray>

namespace {

const TPlayerRow* SelectedRow(const ClientSession& s)
{
    if (s.LVPlayersSelected == 0)
        return nullptr;
    for (const TPlayerRow& row : s.LVPlayers.Rows()) {
        if (row.Id == s.LVPlayersSelected)
            return &row;
    }
    return nullptr;
}

// The visible list's row for name, else the master list's (a filter may hide the player).
const TPlayerRow* RowNamed(const ClientSession& s, const QString& name)
{
    for (const PlayersListModel* list : {&s.LVPlayers, &s.LVTemp}) {
        for (const TPlayerRow& row : list->Rows()) {
            if (row.Caption == name)
                return &row;
        }
    }
    return nullptr;
}

QStringList ProfileLines(const QString& name, const TPlayerRow* row)
{
    return {QStringLiteral("Name : ") + name,
            QStringLiteral("Rating : ") + (row ? row->Cell(ColRating) : QString()),
            QStringLiteral("Experience : ") + (row ? row->Cell(ColExperience) : QString())};
}

void SetReady(ClientSession& s)
{
    s.ToolButtons.setPressed(QStringLiteral("TBReady"), true);
    s.OwnInfo.Ready = true;
}

void FillLabels(TProbabilitiesBox& box, const TProbabilityLabels& labels)
{
    box.LProb = labels.LProb;
    box.LWin = labels.LWin;
    box.LLose = labels.LLose;
}

void ShowInviteExpectation(ClientSession& s, int matchLength)
{
    InviteWindowModel& w = s.InviteWindow;
    bool known = false;
    const int otherRating = w.OpponentRating.toInt(&known);
    const bool shown = matchLength > 0 && known;
    w.Probabilities.LProbVisible = shown;
    w.Probabilities.LWinVisible = shown;
    w.Probabilities.LLoseVisible = shown;
    if (shown)
        FillLabels(w.Probabilities, ProbabilityLabels(matchLength, s.OwnInfo.Rating,
                                                      s.OwnInfo.Experience, otherRating));
}

// matchLength > 0: a length of 0 is a resume, whose box is hidden.
void ShowJoinExpectation(ClientSession& s, int matchLength)
{
    TProbabilitiesBox& box = s.JoinWindow.Probabilities;
    box.LProbVisible = true;
    box.LWinVisible = true;
    box.LLoseVisible = true;
    FillLabels(box, ProbabilityLabels(matchLength, s.OwnInfo.Rating, s.OwnInfo.Experience,
                                      s.JoinOpponentRating));
}

// The match length of an invitation: its sixth word; an unlimited match counts as the
// invite window's unlimited setting; 0 when there is no length to read.
int InvitationLength(const QString& line)
{
    const QString word = GetWord(5, line + QChar(' '), QStringLiteral(" "));
    if (word == QLatin1String("unlimited"))
        return InviteWindowModel::MaxLength;
    bool ok = false;
    const int length = word.toInt(&ok);
    return ok ? length : 0;
}

// The stakes for the inviter's rating as it is now. Every invitation recomputes them, so that
// a second one (another player, another length) never shows the first one's figures.
void JoinFormShow(ClientSession& s)
{
    JoinWindowModel& w = s.JoinWindow;
    w.Probabilities.GroupBox1Visible = true;
    s.JoinOpponent = w.Caption.mid(5);
    const TPlayerRow* row = RowNamed(s, s.JoinOpponent);
    bool known = false;
    const int rating = row ? row->Cell(ColRating).toInt(&known) : 0;
    if (known)
        s.JoinOpponentRating = rating;
    const int length = InvitationLength(w.Label1);
    // Without the inviter's rating or a length there are no stakes to show: another
    // player's rating would give a wrong figure.
    if (w.Label1.contains(QLatin1String("resume")) || !known || length <= 0)
        w.Probabilities.GroupBox1Visible = false;
    else
        ShowJoinExpectation(s, length);
}

void CloseJoinWindow(ClientSession& s)
{
    s.JoinWindow.Visible = false;
    s.JoinAwaitsRepBot = false;
    s.JoinWindow.Changed();
}

QJsonObject LabelJson(const QString& caption, bool visible)
{
    return {{"Caption", caption}, {"Visible", visible}};
}

} // namespace

QString InviteCommand(const QString& name, int length)
{
    if (length == 0)
        return QStringLiteral("Invite ") + name;
    if (length == InviteWindowModel::MaxLength)
        return QStringLiteral("Invite ") + name + QStringLiteral(" unlimited");
    return QStringLiteral("Invite ") + name + QChar(' ') + QString::number(length);
}

bool Invite1Click(ClientSession& s)
{
    const TPlayerRow* row = SelectedRow(s);
    if (!row || !s.IsConnected())
        return false;
    InviteWindowModel& w = s.InviteWindow;
    w.Open = true;
    w.Name = row->Caption;
    w.Caption = QStringLiteral("Invite ") + w.Name;
    w.Label2 = w.Name + QStringLiteral(" profile :");
    w.Memo1 = ProfileLines(w.Name, row);
    w.OpponentRating = row->Cell(ColRating);
    w.Busy = row->Cell(ColOpponent) != QLatin1String("-");
    w.BInvite = w.Busy ? QStringLiteral("AutoInvite") : QStringLiteral("Invite");
    s.InviteAwaitsRepBot = true;
    s.SendCommand(QStringLiteral("Tell RepBot ask ") + w.Name);
    w.Length = InviteWindowModel::DefaultLength;
    w.EMatchLength = QString::number(w.Length);
    w.Probabilities = TProbabilitiesBox();
    ShowInviteExpectation(s, w.Length);
    w.Changed();
    return true;
}

bool InviteUpDownChanging(ClientSession& s, int length)
{
    if (length < 0 || length > InviteWindowModel::MaxLength)
        return false;
    InviteWindowModel& w = s.InviteWindow;
    w.Length = length;
    w.EMatchLength = length == 0 ? QStringLiteral("Resume saved game")
        : length == InviteWindowModel::MaxLength ? QStringLiteral("Unlimited match")
                                                 : QString::number(length);
    ShowInviteExpectation(s, length);
    w.Changed();
    return true;
}

void InviteFormClose(ClientSession& s, InviteResult result)
{
    InviteWindowModel& w = s.InviteWindow;
    if (!w.Open)
        return;
    if (result == InviteResult::Invite && s.IsConnected()) {
        s.SendCommand(InviteCommand(w.Name, w.Length));
        SetReady(s);
    } else if (result == InviteResult::AutoInvite) {
        s.AutoInviteNames.append(w.Name);
        s.AutoInviteLengths.append(QString::number(w.Length));
    }
    w.Open = false;
    s.InviteAwaitsRepBot = false;
    w.Changed();
}

void ShowJoinWindow(ClientSession& s, const QString& line, const QString& name)
{
    if (!s.IsConnected())
        return;
    JoinWindowModel& w = s.JoinWindow;
    s.JoinAwaitsRepBot = true;
    w.Caption = QStringLiteral("Join ") + name;
    w.ESavedGamesVisible = false;
    s.SendCommand(QStringLiteral("whois ") + name);
    w.Label1 = line;
    w.Label3 = name;
    w.Label2 = name + QStringLiteral(" profile :");
    w.Memo1 = ProfileLines(name, RowNamed(s, name));
    s.SendCommand(QStringLiteral("Tell RepBot ask ") + name);
    if (!line.contains(QLatin1String("resume"))) {
        for (const TSavedgame& game : s.SavedGames) {
            if (game.opponent == name) {
                w.ESavedGames = QStringLiteral("Warning : You have a saved game with ") + name;
                w.ESavedGamesVisible = true;
                break;
            }
        }
    }
    w.Visible = true;
    JoinFormShow(s);
    w.Changed();
    emit s.joinWindowWanted(line, name);
}

void JoinBOkClick(ClientSession& s)
{
    s.SendCommand(QStringLiteral("Join ") + s.JoinWindow.Label3);
    CloseJoinWindow(s);
}

void JoinButton2Click(ClientSession& s)
{
    const QString name = s.JoinWindow.Label3;
    QString message = s.Settings.DeclineMessage;
    message.replace(QLatin1String("playername"), name);
    // A line break in the message would end the tell and send the rest as a command.
    message.replace(QChar('\r'), QChar(' ')).replace(QChar('\n'), QChar(' '));
    s.SendCommand(QStringLiteral("tell ") + name + QChar(' ') + message);
    CloseJoinWindow(s);
}

void JoinFormClose(ClientSession& s)
{
    if (s.JoinWindow.Visible)
        CloseJoinWindow(s);
}

void CheckAutoInvite(ClientSession& s, const QString& name)
{
    if (!s.IsConnected() || s.Playing)
        return;
    for (qsizetype i = 0; i < s.AutoInviteNames.size(); ++i) {
        if (s.AutoInviteNames.at(i) != name)
            continue;
        const QString length = s.AutoInviteLengths.value(i);
        s.SendCommand(length == QLatin1String("0")
                          ? QStringLiteral("Invite ") + name
                          : QStringLiteral("Invite ") + name + QChar(' ') + length);
        SetReady(s);
    }
}

void AutoInviteDelete(ClientSession& s, int index)
{
    if (index < 0 || index >= s.AutoInviteNames.size())
        return;
    s.AutoInviteNames.removeAt(index);
    if (index < s.AutoInviteLengths.size())
        s.AutoInviteLengths.removeAt(index);
}

QJsonObject JoinWindowJson(const ClientSession& s)
{
    const JoinWindowModel& w = s.JoinWindow;
    const TProbabilitiesBox& p = w.Probabilities;
    const bool box = p.GroupBox1Visible;
    return {
        {"Visible", w.Visible},
        {"Caption", w.Caption},
        {"Label1", w.Label1},
        {"Label2", w.Label2},
        {"Label3", w.Label3},
        {"ESavedGames", LabelJson(w.ESavedGames, w.ESavedGamesVisible)},
        {"Memo1", QJsonArray::fromStringList(w.Memo1)},
        {"GroupBox1", QJsonObject{{"Visible", box}}},
        {"LProb", LabelJson(p.LProb, box && p.LProbVisible)},
        {"LWin", LabelJson(p.LWin, box && p.LWinVisible)},
        {"LLose", LabelJson(p.LLose, box && p.LLoseVisible)},
    };
}
