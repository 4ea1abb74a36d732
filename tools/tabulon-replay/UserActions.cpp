#include "UserActions.h"

#include "protocol/ClientSession.h"
#include "protocol/GameCommands.h"
#include "invite/Invitations.h"
#include "protocol/MatchStartStretch.h"
#include "records/MatchRecord.h"

#include <QList>

#include <functional>
#include <map>

namespace {

const std::map<QString, std::function<void(ClientSession&)>>& Clickables()
{
    static const std::map<QString, std::function<void(ClientSession&)>> clickables = {
        {QStringLiteral("CB"), CBClick},
        {QStringLiteral("SpeedButton2"), SpeedButton2Click},
        {QStringLiteral("SpeedButton3"), SpeedButton3Click},
        {QStringLiteral("SpeedButton4"), SpeedButton4Click},
        {QStringLiteral("Watch2"), Watch1Click},
        {QStringLiteral("Unwatch1"), Unwatch1Click},
        {QStringLiteral("TBRefreshBoard"), TBRefreshBoardClick},
        {QStringLiteral("TBUndo"), TBUndoClick},
        {QStringLiteral("TBAccept"), TBAcceptClick},
        {QStringLiteral("TBReject"), TBRejectClick},
        {QStringLiteral("Roll1"), Roll1Click},
        {QStringLiteral("Double1"), Double1Click},
        {QStringLiteral("Leave1"), Leave1Click},
    };
    return clickables;
}

bool ToInt(const QByteArray& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

bool Select(ClientSession& s, const QByteArray& arguments, QString* error)
{
    const QList<QByteArray> words = arguments.split(' ');
    int col = 0;
    int row = 0;
    if (words.size() != 2 || !ToInt(words.at(0), &col) || !ToInt(words.at(1), &row)) {
        *error = QStringLiteral("!select takes a column and a row");
        return false;
    }
    if (col < 0 || col >= MovesListModel::ColCount || row < 0 || row >= s.SGMovesList.RowCount()) {
        *error = QStringLiteral("no such cell in the moves list");
        return false;
    }
    // The header row is no cell the current cell can move to.
    if (row == 0)
        SGMovesListSelectCell(s, col, row);
    else
        SGMovesListClick(s, col, row);
    return true;
}

bool ChooseGame(ClientSession& s, const QByteArray& argument, QString* error)
{
    int index = 0;
    if (!ToInt(argument, &index) || index < 0 || index >= s.CBGames.rowCount()) {
        *error = QStringLiteral("no such entry in the game list");
        return false;
    }
    CBGamesChange(s, index);
    return true;
}

bool Click(ClientSession& s, const QByteArray& argument, QString* error)
{
    const auto found = Clickables().find(QString::fromLatin1(argument));
    if (found == Clickables().end()) {
        *error = QStringLiteral("no control to click by that name");
        return false;
    }
    found->second(s);
    return true;
}

// "!mouse down|move|up X Y [left|right]": board pixels of the loaded theme; the left button
// when none is named.
bool Mouse(ClientSession& s, const QByteArray& arguments, QString* error)
{
    const QList<QByteArray> words = arguments.split(' ');
    int x = 0;
    int y = 0;
    const bool shaped = (words.size() == 3 || words.size() == 4) && ToInt(words.at(1), &x)
        && ToInt(words.at(2), &y);
    const QByteArray button = words.size() == 4 ? words.at(3) : QByteArray("left");
    const QByteArray& kind = words.at(0);
    if (!shaped || (kind != "down" && kind != "move" && kind != "up")
        || (button != "left" && button != "right")) {
        *error = QStringLiteral("!mouse takes down, move or up, X, Y and left or right");
        return false;
    }
    const Qt::MouseButton b = button == "left" ? Qt::LeftButton : Qt::RightButton;
    if (kind == "down")
        s.Mouse.IBoardMouseDown(b, x, y);
    else if (kind == "move")
        s.Mouse.IBoardMouseMove(x, y);
    else
        s.Mouse.IBoardMouseUp(b, x, y);
    return true;
}

// "!invite LENGTH": the invite window for the selected player, answered with that length; a
// busy player is kept for an automatic invitation, as the window's button then offers.
bool InviteAction(ClientSession& s, const QByteArray& argument, QString* error)
{
    int length = 0;
    if (!ToInt(argument, &length) || length < 0 || length > InviteWindowModel::MaxLength) {
        *error = QStringLiteral("!invite takes a length from 0 to 100");
        return false;
    }
    if (!Invite1Click(s)) {
        *error = QStringLiteral("no player selected, or not connected");
        return false;
    }
    InviteUpDownChanging(s, length);
    InviteFormClose(s, s.InviteWindow.Busy ? InviteResult::AutoInvite : InviteResult::Invite);
    return true;
}

} // namespace

bool IsUserAction(const QByteArray& line)
{
    return line.startsWith("!select ") || line.startsWith("!game ") || line.startsWith("!click ")
        || line.startsWith("!select-player ") || line.startsWith("!invite ") || line.startsWith("!mouse ");
}

bool RunUserAction(ClientSession& s, const QByteArray& line, QString* error)
{
    const qsizetype space = line.indexOf(' ');
    const QByteArray command = line.left(space);
    const QByteArray arguments = line.mid(space + 1).trimmed();
    if (command == "!select")
        return Select(s, arguments, error);
    if (command == "!game")
        return ChooseGame(s, arguments, error);
    if (command == "!click")
        return Click(s, arguments, error);
    if (command == "!invite")
        return InviteAction(s, arguments, error);
    if (command == "!mouse")
        return Mouse(s, arguments, error);
    if (command == "!select-player") {
        SelectPlayer(s, QString::fromLatin1(arguments));
        return true;
    }
    *error = QStringLiteral("not a user action");
    return false;
}
