#include "protocol/LineDispatcher.h"

#include "model/Words.h"
#include "protocol/ClientSession.h"

#include <cstring>
#include <exception>

namespace {
void passOn(QString&) {}
} // namespace

LineDispatcher::LineDispatcher(ClientSession& session) : s_(session)
{
    rows_ = {
        {"own-info", passOn},
        {"ratings-capture", passOn},
        {"gag-capture", passOn},
        {"blind-capture", passOn},
        {"toggle-confirmations", passOn},
        {"opponent-leaves", passOn},
        {"tourneybot", passOn},
        {"repbot", passOn},
        {"chat", passOn},
        {"login", passOn},
        // Protocol lines the program has no other use for, and the server's hint lines.
        {"protocol-numbers",
         [](QString& line) {
             if (!line.isEmpty() && QStringLiteral("41273").contains(line.at(0)))
                 line.clear();
             else if (GetWord(0, line, QStringLiteral(" ")) == QLatin1String("Please"))
                 line.clear();
         }},
        {"who-info", passOn},
        {"match-start", passOn},
        // Every remaining "**" notice is shown at once, past the game tests and the filters.
        {"notices",
         [this](QString& line) {
             if (line.startsWith(QLatin1String("**"))) {
                 s_.DisplayLine(line);
                 line.clear();
             }
         }},
        {"logout", passOn},
        {"board-line", passOn},
        {"game-events", passOn},
        {"saved-games", passOn},
    };
}

void LineDispatcher::SetHandler(const char* name, Handler handler)
{
    for (Row& row : rows_) {
        if (std::strcmp(row.name, name) == 0) {
            row.handler = std::move(handler);
            return;
        }
    }
}

bool LineDispatcher::FinalFilterHides(const QString& line) const
{
    static const char* const hidden[] = {"You double", "Bearing off", "waves goodbye",
                                         "You give up", "You want to resign",
                                         "The only possible move is", "wins a",
                                         "makes the first move"};
    for (const char* text : hidden) {
        if (line.contains(QLatin1String(text)))
            return true;
    }
    return line == QLatin1String("It's your turn to move.") || line.size() == 1;
}

QString LineDispatcher::Dispatch(const QString& received)
{
    QString line = received;
    // Every row sees the line, an emptied one too: a listing being read ends on any line.
    for (const Row& row : rows_) {
        try {
            row.handler(line);
        } catch (const std::exception& e) {
            s_.DebugWrite(QStringLiteral("** handler %1 failed on \"%2\": %3")
                              .arg(QLatin1String(row.name), received, QString::fromLocal8Bit(e.what())));
            line.clear();
        } catch (...) {
            s_.DebugWrite(QStringLiteral("** handler %1 failed on \"%2\"")
                              .arg(QLatin1String(row.name), received));
            line.clear();
        }
    }
    if (FinalFilterHides(line))
        line.clear();
    return line;
}
