#pragma once

#include "model/TPositions.h"
#include "protocol/Ports.h"

#include <QStringList>

// A board port that keeps the last position drawn and ends every slide at once.
class KeepingBoard : public BoardPort {
public:
    void drawPosition(const TPositions& position) override
    {
        last = position;
        ++draws;
    }
    void animateChecker(const TPositions&, int from, int to, std::function<void()> done) override
    {
        animations.append(QStringLiteral("%1-%2").arg(from).arg(to));
        done();
    }
    TPositions last;
    int draws = 0;
    QStringList animations;
};
