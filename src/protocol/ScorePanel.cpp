#include "protocol/ScorePanel.h"

#include "model/PipCount.h"
#include "protocol/ClientSession.h"

void ShowScorePanel(ClientSession& session, const TPositions& position)
{
    const QString top = QStringLiteral("SBAdversaire");
    const QString bottom = QStringLiteral("SBJoueur");
    const int matchLength = session.CurrentPosition.MatchLength;
    StatusBars& bars = session.Status;
    bars.setPanel(top, 0, position.Opponent);
    bars.setPanel(bottom, 0, position.Player);
    bars.setPanel(top, 1, QStringLiteral("Score : ") + QString::number(position.OpponentScore)
                              + QStringLiteral("  LP : ") + QString::number(matchLength));
    bars.setPanel(bottom, 1, QStringLiteral("Score : ") + QString::number(position.PlayerScore)
                                 + QStringLiteral("  LP : ") + QString::number(matchLength));
    // Names are joined, not formatted: a name may hold a '%'.
    const TThorpCounts thorp = ThorpCounts(position);
    bars.setPanel(bottom, 0, position.Player + QStringLiteral(" Pips:") + QString::number(PipCount(position, 1))
                                 + QStringLiteral(" Thorp:") + QString::number(thorp.Player));
    bars.setPanel(top, 0, position.Opponent + QStringLiteral(" Pips:") + QString::number(PipCount(position, 2))
                              + QStringLiteral(" Thorp:") + QString::number(thorp.Opponent));
}

void ShowScorePanel(ClientSession& session)
{
    ShowScorePanel(session, session.CurrentPosition);
}
