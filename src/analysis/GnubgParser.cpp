#include "analysis/GnubgParser.h"

#include "protocol/TextLog.h"

#include <QRegularExpression>

namespace {

constexpr int MoveColumn = 24;   // 0-based start of the move text
constexpr int MoveWidth = 28;
constexpr int EquityColumn = 52; // 0-based start of the equity text

// Match play prints "MWC", money play "Eq.".
bool HasEquity(const QString& text)
{
    return text.contains(QLatin1String("MWC")) || text.contains(QLatin1String("Eq."));
}

QString RemoveFirst(QString text, QChar c)
{
    const qsizetype at = text.indexOf(c);
    if (at >= 0)
        text.remove(at, 1);
    return text;
}

// "rank:move  equity difference": the rank may take two columns (10).
QString Candidate(const QString& text)
{
    const QString equity = RemoveFirst(RemoveFirst(text.mid(EquityColumn), u'('), u')');
    return text.mid(3, 2).trimmed() + u':' + text.mid(MoveColumn, MoveWidth) + equity;
}

// The move text in the other side's numbering: point numbers are mirrored, a repeat count
// such as "(2)" stays.
QString MirrorMoves(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (!c.isDigit()) {
            out += c;
        } else if (i + 1 < field.size() && field.at(i + 1).isDigit()) {
            out += QString::number(MirrorPoint(field.mid(i, 2).toInt()));
            ++i;
        } else if (i > 0 && field.at(i - 1) == u'(') {
            out += c;
        } else {
            out += QString::number(MirrorPoint(c.digitValue()));
        }
    }
    return out;
}

// Through a terminal the engine starts its first candidate after its prompt "(name) ".
QString StripPrompt(const QString& raw)
{
    static const QRegularExpression prompt(QStringLiteral("^\\([^()\\s]+\\) "));
    QString text = raw;
    const QRegularExpressionMatch m = prompt.match(text);
    if (m.hasMatch())
        text.remove(0, m.capturedLength());
    return text;
}

} // namespace

int MirrorPoint(int n)
{
    if (n >= 0 && n <= 25)
        return 25 - n;
    if (n == -1)
        return 26;
    return -1;
}

void GnubgOutputParser::ReceiveLine(const QString& raw)
{
    QString text = raw;
    if (raw.contains(QLatin1String("There are no"))) {
        MMoves.clear();
        MMoves.addLine(QStringLiteral("There are no legal moves."));
    }
    if (raw.contains(QLatin1String("1. Cubeful"))) {
        MovesListening = true;
        MovesLineCount = 0;
        MMoves.clear();
        text = StripPrompt(raw);
    }
    if (MovesListening) {
        MovesLineCount += 1;
        const bool moveLine = MovesLineCount % 3 == 1;
        if (moveLine && !text.contains(QLatin1String(". Cubeful"))) {
            MovesListening = false;
        } else if (!text.contains(QLatin1String("prune"))) {
            if (moveLine && AnalysingSecondColumn) {
                QString mirrored = (text.left(MoveColumn)
                                    + MirrorMoves(text.mid(MoveColumn, EquityColumn - MoveColumn + 1)))
                                       .leftJustified(EquityColumn, u' ', true)
                                   + text.mid(EquityColumn);
                MMoves.addLine(HasEquity(mirrored) ? Candidate(mirrored) : QString());
            } else {
                MMoves.addLine(HasEquity(text) ? Candidate(text) : text);
            }
            if (MovesLineCount == 30)
                MovesListening = false;
        }
    }
    if (raw.contains(QLatin1String("Win"))) {
        CubeListening = true;
        CubeLineCount = 0;
        MCube.clear();
    }
    if (CubeListening) {
        CubeLineCount += 1;
        if (CubeLineCount == 6 && !raw.isEmpty()) {
            CubeListening = false;
        } else {
            MCube.addLine(text);
            if (CubeLineCount == 15)
                CubeListening = false;
        }
    }
}
