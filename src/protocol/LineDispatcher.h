#pragma once

#include <QString>
#include <functional>
#include <vector>

class ClientSession;

// The ordered chain of tests every server line passes through. A row that consumes the line
// empties it; later rows see what earlier rows left (and must leave an empty line alone
// unless they are ending a listing). Rows owned by later subsystems pass the
// line on untouched until their handlers are built.
class LineDispatcher {
public:
    using Handler = std::function<void(QString& line)>;
    struct Row {
        const char* name;
        Handler handler;
    };

    explicit LineDispatcher(ClientSession& session);

    // Runs every row, then the final filters; returns what is left to show.
    QString Dispatch(const QString& line);

    // Replaces the handler of a named row (the stretches install theirs here).
    void SetHandler(const char* name, Handler handler);
    const std::vector<Row>& Rows() const { return rows_; }

    // True when the final filters hide the line.
    bool FinalFilterHides(const QString& line) const;

private:
    ClientSession& s_;
    std::vector<Row> rows_;
};
