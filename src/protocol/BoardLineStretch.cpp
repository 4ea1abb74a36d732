#include "protocol/BoardLineStretch.h"

#include "model/Positions.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"
#include "protocol/ScorePanel.h"

namespace {

void HandleBoardLine(ClientSession& session, const QString& line)
{
    QString error;
    if (!ParseBoardLine(line, session.CurrentPosition, &error)) {
        // The last good position stays on the board; a broken line is not worth the user's eye.
        session.DebugWrite(QStringLiteral("** board line ignored (%1): %2").arg(error, line));
        return;
    }
    session.SGMovesList.SetCell(1, 0, session.CurrentPosition.Player);
    session.SGMovesList.SetCell(2, 0, session.CurrentPosition.Opponent);
    session.BoardLinePosition = session.CurrentPosition;
    session.CommittedPosition = session.CurrentPosition;
    if (session.ShowingStoredPosition || session.BrowsingOldGame)
        return;
    if (BoardPort* board = session.Ports().board)
        board->drawPosition(session.CurrentPosition);
    ShowScorePanel(session);
}

} // namespace

void InstallBoardLineStretch(ClientSession& session)
{
    session.Dispatcher().SetHandler("board-line", [&session](QString& line) {
        if (!line.startsWith(QLatin1String("board")))
            return;
        HandleBoardLine(session, line);
        line.clear();
    });
}
