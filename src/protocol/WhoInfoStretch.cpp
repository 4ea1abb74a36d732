#include "protocol/WhoInfoStretch.h"

#include "invite/Invitations.h"
#include "model/Words.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"
#include "records/SavedGames.h"

#include <QPointer>

const QString NumberOfPlayersCaption = QStringLiteral("Number of players online  : ");

namespace {

const QString Dash = QStringLiteral("-");
const QString One = QStringLiteral("1");
const QString Playing = QStringLiteral("Playing");
const QString Away = QStringLiteral("Away");
const QString Ready = QStringLiteral("Ready");
const QString OnLine = QStringLiteral("On line");

const QColor OwnRowColour(166, 202, 240);
// The system's scroll-bar colour, which marks players with a saved match.
const QColor SavedMatchRowColour(200, 200, 200);
const QColor FriendRowColour(0, 128, 0);
const QColor VillainRowColour(255, 0, 0);
const QColor SavedMatchNoticeColour(185, 131, 1);

// Runs the settling of the lists once after the lines handled in one go.
class PlayersSettler : public QObject {
public:
    explicit PlayersSettler(ClientSession& session) : QObject(&session), s_(session) {}

    void schedule()
    {
        if (scheduled_)
            return;
        scheduled_ = true;
        QPointer<PlayersSettler> self(this);
        s_.Ports().clock->after(0, [self] {
            if (!self)
                return;
            self->scheduled_ = false;
            SettlePlayersLists(self->s_);
        });
    }

private:
    ClientSession& s_;
    bool scheduled_ = false;
};

// The fields of a who-info line that the lists use.
struct WhoInfo {
    QString name, opponent, ready, away, rating, experience, host, client, email;
    int ratingValue = 0;
};

QString FullStatus(const WhoInfo& w)
{
    if (w.opponent != Dash)
        return Playing;
    if (w.away == One)
        return Away;
    return w.ready == One ? Ready : OnLine;
}

int SortColumn(ClientSession& s)
{
    // A hand-edited settings file may hold any number here.
    if (s.WindowSettings.ColumnSort < 0 || s.WindowSettings.ColumnSort >= PlayerColumnCount)
        s.WindowSettings.ColumnSort = 0;
    return s.WindowSettings.ColumnSort;
}

bool PassesFilters(const ClientSession& s, const QString& status)
{
    return (status == OnLine && s.SBOnLine) || (status == Playing && s.SBPlaying)
        || (status == Ready && s.SBReady);
}

TPlayerRow VisibleCopy(const TPlayerRow& master)
{
    TPlayerRow copy = master;
    copy.OpponentImage = -1;
    return copy;
}

void UpdateFriends(FriendsListModel& list, const WhoInfo& w)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TFriendRow& row = list.Row(i);
        if (row.Name != w.name)
            continue;
        const int old = row.Rating.trimmed().toInt();
        const QString change =
            old != w.ratingValue ? QString::number(w.ratingValue - old) : row.RatingChange;
        list.SetCells(i, QString::number(w.ratingValue), change, FullStatus(w));
    }
}

void SetOpponentImages(PlayersListModel& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        const TPlayerRow& row = list.Row(i);
        const QString& opponent = row.Cell(ColOpponent);
        if (opponent == Dash) {
            if (row.OpponentImage != -1)
                list.EditRow(i).OpponentImage = -1;
            continue;
        }
        const int other = list.Find(opponent);
        if (other < 0)
            continue;
        int image = row.OpponentImage;
        SetRatingImage(image, list.Row(other).Cell(ColRating).toInt());
        if (image != row.OpponentImage)
            list.EditRow(i).OpponentImage = image;
    }
}

void AddNewPlayer(ClientSession& s, const WhoInfo& w)
{
    TPlayerRow row;
    row.Caption = w.name;
    row.SetCell(ColOpponent, w.opponent);
    row.SetCell(ColStatus, w.opponent != Dash ? Playing : w.ready == One ? Ready : OnLine);
    row.SetCell(ColRating, w.rating);
    row.SetCell(ColExperience, w.experience);
    const TClientIdInfo id = DecodeClientId(w.client, s.CountryCodes, s.CountryNames);
    row.GenderImage = id.GenderImage;
    row.SetCell(ColCountry, id.Country);
    row.SetCell(ColEmail, w.email);
    row.SetCell(ColSavedGames, QStringLiteral("None"));
    row.SetCell(ColClient, id.Client);
    row.SetCell(ColFirstName, id.FirstName);
    row.SetCell(ColLastName, id.LastName);
    row.SetCell(ColHost, w.host);
    SetRatingImage(row.StateIndex, w.ratingValue);

    for (const TSavedgame& game : s.SavedGames) {
        if (game.opponent != w.name)
            continue;
        row.SetCell(ColSavedGames, QStringLiteral("ML : ") + game.length + QStringLiteral(" Score : ")
                                       + game.score);
        s.MPrivateMessages.addLine(
            w.name + QStringLiteral(" with whom you have a saved match as just logs in."),
            SavedMatchNoticeColour);
        s.MPrivateMessages.addLine(QStringLiteral("MatchLength : ") + game.length,
                                   SavedMatchNoticeColour);
        s.MPrivateMessages.addLine(QStringLiteral("Score (Your score first) : ") + game.score,
                                   SavedMatchNoticeColour);
        s.MPrivateMessages.addLine(QString(), SavedMatchNoticeColour);
    }

    s.LVTemp.Append(row);
    s.LNbPlayers.setText(NumberOfPlayersCaption + QString::number(s.LVTemp.Count()));
    if (PassesFilters(s, row.Cell(ColStatus))) {
        s.LVPlayers.Append(VisibleCopy(row));
        s.LVPlayers.RequestSort();
    }
}

void UpdateKnownPlayer(ClientSession& s, const WhoInfo& w, int masterAt)
{
    const QString status = FullStatus(w);
    TPlayerRow& master = s.LVTemp.EditRow(masterAt);
    master.SetCell(ColStatus, status);
    master.SetCell(ColRating, w.rating);
    master.SetCell(ColExperience, w.experience);
    master.SetCell(ColOpponent, w.opponent);
    SetRatingImage(master.StateIndex, w.ratingValue);

    const int shownAt = s.LVPlayers.Find(w.name);
    if (shownAt < 0) {
        if ((status == Ready && s.SBReady) || (status == OnLine && s.SBOnLine)
            || (w.opponent != Dash && s.SBPlaying)) {
            s.LVPlayers.Append(VisibleCopy(master));
            s.LVPlayers.RequestSort();
        }
        return;
    }

    TPlayerRow& shown = s.LVPlayers.EditRow(shownAt);
    shown.SetCell(ColRating, w.rating);
    shown.SetCell(ColExperience, w.experience);
    shown.SetCell(ColOpponent, w.opponent);
    s.LVPlayers.RequestSort();
    SetRatingImage(shown.StateIndex, w.ratingValue);
    bool keep = true;
    if (w.opponent != Dash) {
        keep = s.SBPlaying;
        shown.SetCell(ColStatus, Playing);
    } else if (w.away == One) {
        shown.SetCell(ColStatus, Away);
    } else if (w.ready == One) {
        keep = s.SBReady;
        shown.SetCell(ColStatus, Ready);
    } else {
        keep = s.SBOnLine;
        shown.SetCell(ColStatus, OnLine);
    }
    if (!keep)
        s.LVPlayers.RemoveAt(shownAt);
}

void HandleWhoInfo(ClientSession& s, const QString& received)
{
    if (CountChar(received, QChar(' ')) <= 11)
        return;
    const QString line = received + QChar(' ');
    const QString blank = QStringLiteral(" ");
    WhoInfo w;
    w.name = GetWord(1, line, blank);
    w.opponent = GetWord(2, line, blank);
    w.ready = GetWord(4, line, blank);
    w.away = GetWord(5, line, blank);
    const QString rating = GetWord(6, line, blank);
    w.experience = GetWord(7, line, blank);
    w.host = GetWord(10, line, blank);
    w.client = GetWord(11, line, blank);
    w.email = GetWord(12, line, blank);
    bool ok = false;
    w.ratingValue = rating.left(rating.size() - 3).toInt(&ok);
    if (!ok) {
        // A line the lists cannot take; the rest of the batch still can.
        s.DebugWrite(QStringLiteral("** who-info line without a rating: %1").arg(received));
        return;
    }
    w.rating = QString::number(w.ratingValue);

    if (!s.OwnInfo.Name.isEmpty() && w.name == s.OwnInfo.Name) {
        s.OwnInfo.Experience = w.experience.toInt();
        s.OwnInfo.Rating = w.ratingValue;
    }
    UpdateFriends(s.LVFriends, w);
    UpdateFriends(s.LVVilains, w);

    const int masterAt = s.LVTemp.Find(w.name);
    if (masterAt < 0)
        AddNewPlayer(s, w);
    else
        UpdateKnownPlayer(s, w, masterAt);
    if (w.opponent == Dash)
        CheckAutoInvite(s, w.name);
}

void RemoveFirstNamed(PlayersListModel& list, const QString& name)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (list.Row(i).Caption == name) {
            list.RemoveAt(i);
            return;
        }
    }
}

} // namespace

TClientIdInfo DecodeClientId(const QString& word, const QStringList& countryCodes,
                             const QStringList& countryNames)
{
    TClientIdInfo info;
    if (word.size() != 20 || !QStringLiteral("<>?=").contains(word.at(0))) {
        info.Country = Dash;
        info.Client = word;
        return info;
    }
    info.Decoded = true;
    QString id = word;
    id.replace(QChar('_'), QChar(' '));
    switch (id.at(0).toLatin1()) {
    case '>':
        info.GenderImage = 8;
        break;
    case '<':
        info.GenderImage = 9;
        break;
    case '?':
        info.GenderImage = 7;
        break;
    default:
        info.GenderImage = 10;
        break;
    }
    const int country = int(countryCodes.indexOf(id.mid(1, 2)));
    info.Country = country >= 0 && country < countryNames.size() ? countryNames.at(country)
                                                                 : QStringLiteral("Unknowed");
    // The last name's first letter was stored 30 below its code, under "A": that is the cut.
    const QString names = id.mid(3, 16);
    qsizetype cut = -1;
    for (qsizetype i = 0; i < names.size() && cut < 0; ++i) {
        if (names.at(i).unicode() < 65 && names.at(i) != QChar(' '))
            cut = i;
    }
    if (cut < 0) {
        info.FirstName = names;
    } else {
        info.FirstName = names.left(cut);
        info.LastName = names.mid(cut);
        info.LastName[0] = QChar(info.LastName.at(0).unicode() + 30);
    }
    info.Client = id.at(19) == QChar('T') ? QStringLiteral("Tabulon") : QStringLiteral("JavaFibs");
    return info;
}

void InstallWhoInfoStretch(ClientSession& session)
{
    auto* settler = new PlayersSettler(session);
    for (PlayersListModel* list : {&session.LVTemp, &session.LVPlayers})
        QObject::connect(list, &PlayersListModel::changesPending, settler,
                         &PlayersSettler::schedule);
    session.LVPlayers.SetRowColours(
        [&session](const TPlayerRow& row) { return PlayerRowColour(session, row); });

    session.Dispatcher().SetHandler("who-info", [&session](QString& line) {
        ReadMarkedSavedGamesLine(session, line);
        if (line.startsWith(QChar('5'))) {
            HandleWhoInfo(session, line);
            line.clear();
        } else if (line.startsWith(QChar('6'))) {
            SetOpponentImages(session.LVPlayers);
            line.clear();
        }
    });
    session.Dispatcher().SetHandler("logout", [&session](QString& line) {
        if (!line.startsWith(QChar('8')))
            return;
        const QString name = GetWord(1, line, QStringLiteral(" "));
        RemoveFirstNamed(session.LVPlayers, name);
        RemoveFirstNamed(session.LVTemp, name);
        line.clear();
    });
}

void SettlePlayersLists(ClientSession& s)
{
    if (s.LVPlayers.TakeSortRequest())
        s.LVPlayers.Sort(SortColumn(s), s.WindowSettings.Descending);
    s.LVTemp.Publish();
    s.LVPlayers.Publish();
}

void PlayersRefresh(ClientSession& s)
{
    if (!s.IsConnected())
        return;
    s.LVPlayers.Clear();
    s.LVTemp.Clear();
    SettlePlayersLists(s);
    s.SendCommand(QStringLiteral("rawwho"));
    s.SendCommand(QStringLiteral("set sortwho name"), 300);
    s.SendCommand(QStringLiteral("rawwho"), 100);
    s.SendCommand(QStringLiteral("set sortwho rrating"), 300);
    s.SendCommand(QStringLiteral("rawwho"), 100);
    s.SendCommand(QStringLiteral("set sortwho rating"), 300);
}

void ApplyPlayerFilters(ClientSession& s)
{
    s.LVPlayers.Clear();
    for (const TPlayerRow& row : s.LVTemp.Rows()) {
        if (PassesFilters(s, row.Cell(ColStatus)))
            s.LVPlayers.Append(VisibleCopy(row));
    }
    SetOpponentImages(s.LVPlayers);
    s.LVPlayers.RequestSort();
    SettlePlayersLists(s);
}

void SBReadyClick(ClientSession& s)
{
    s.SBReady = !s.SBReady;
    ApplyPlayerFilters(s);
}

void SBPlayingClick(ClientSession& s)
{
    s.SBPlaying = !s.SBPlaying;
    ApplyPlayerFilters(s);
}

void SBOnLineClick(ClientSession& s)
{
    s.SBOnLine = !s.SBOnLine;
    ApplyPlayerFilters(s);
}

void LVPlayersColumnClick(ClientSession& s, int column)
{
    if (column < 0 || column >= PlayerColumnCount)
        return;
    TWindowSettings& w = s.WindowSettings;
    w.Descending = column == SortColumn(s) ? !w.Descending : true;
    w.ColumnSort = column;
    s.LVPlayers.Sort(column, w.Descending);
    s.LVPlayers.TakeSortRequest();
    SettlePlayersLists(s);
}

void Profile1Click(ClientSession& s, const TPlayerRow* row)
{
    if (!row || !s.Ports().prompter)
        return;
    QString gender;
    switch (row->GenderImage) {
    case 7:
        gender = QStringLiteral("Unknown");
        break;
    case 8:
        gender = QStringLiteral("Female");
        break;
    case 9:
        gender = QStringLiteral("Male");
        break;
    case 10:
        gender = QStringLiteral("Computer");
        break;
    default:
        break;
    }
    const QString text = QStringLiteral("Fisrt name :") + row->Cell(ColFirstName)
        + QStringLiteral("\rLast Name :") + row->Cell(ColLastName) + QStringLiteral("\rGender :")
        + gender + QStringLiteral("\rCountry :") + row->Cell(ColCountry);
    s.Ports().prompter->information(row->Caption + QStringLiteral(" Profile"), text);
}

QColor PlayerRowColour(const ClientSession& s, const TPlayerRow& row)
{
    QColor colour;
    if (!s.OwnInfo.Name.isEmpty() && row.Caption == s.OwnInfo.Name)
        colour = OwnRowColour;
    if (row.Cell(ColSavedGames) != QLatin1String("None"))
        colour = SavedMatchRowColour;
    if (s.LVFriends.Contains(row.Caption))
        colour = FriendRowColour;
    if (s.LVVilains.Contains(row.Caption))
        colour = VillainRowColour;
    return colour;
}
