#pragma once

#include "model/TPositions.h"

#include <QString>

// The engine's Position ID and Match ID of a recorded position. The near side is the
// engine's player 1, the far side its player 0.

// The binary digits of value, lowest first, exactly width of them: higher bits are dropped so
// that a field can never push the fields after it out of place.
QString BinaryDigits(unsigned value, int width);

// 14 characters.
QString PositionId(const TPositions& position);

// 12 characters. A position without dice is taken as a double being offered, its Cube holding
// the doubled value. An unlimited match (length 9999) is written as a money game, always without
// the Jacoby rule.
QString MatchId(const TPositions& position);

// The match length written for an unlimited match.
inline constexpr int UnlimitedMatchLength = 9999;
