#include "model/GnubgIds.h"

#include "model/Positions.h"

#include <QByteArray>
#include <cstdlib>

namespace {

constexpr int PositionIdBits = 80;
constexpr int MatchIdBits = 72;

// Bit k of the string becomes bit k mod 8 of byte k div 8; Base64 without padding.
QString Pack(const QString& bits)
{
    QByteArray bytes((bits.size() + 7) / 8, '\0');
    for (int k = 0; k < bits.size(); ++k) {
        if (bits.at(k) == QLatin1Char('1'))
            bytes[k / 8] = char(uchar(bytes.at(k / 8)) | (1u << (k % 8)));
    }
    return QString::fromLatin1(bytes.toBase64(QByteArray::OmitTrailingEquals));
}

QString FixedWidth(QString bits, int width)
{
    bits = bits.left(width);
    return bits.leftJustified(width, QLatin1Char('0'));
}

// Half to even, as the cube before a double is restored from the doubled value.
int HalveToEven(int c)
{
    const int half = c / 2;
    if (c % 2 == 0)
        return half;
    return half % 2 == 0 ? half : half + 1;
}

int Log2(int c)
{
    int log = 0;
    while (c > 1) {
        c /= 2;
        ++log;
    }
    return log;
}

int CubeOwner(const TPositions& p)
{
    if (p.Cube == 0)
        return 3;
    if (p.PlayerMayDouble && !p.OpponentMayDouble)
        return 1;
    if (p.OpponentMayDouble && !p.PlayerMayDouble)
        return 0;
    // Both may double, or neither may (the Crawford game): the cube is in the middle.
    return 3;
}

} // namespace

QString BinaryDigits(unsigned value, int width)
{
    QString digits;
    digits.reserve(width);
    for (int i = 0; i < width; ++i)
        digits += QLatin1Char(((value >> i) & 1u) ? '1' : '0');
    return digits;
}

QString PositionId(const TPositions& p)
{
    QString nearSide;
    for (int i = 1; i <= 25; ++i) {
        const int n = p.Board(MirrorIndex(i, p)) * p.Colour;
        if (n > 0)
            nearSide += QString(n, QLatin1Char('1'));
        nearSide += QLatin1Char('0');
    }
    QString farSide;
    for (int i = 24; i >= 0; --i) {
        const int n = p.Board(MirrorIndex(i, p)) * p.Colour;
        if (n < 0)
            farSide += QString(-n, QLatin1Char('1'));
        farSide += QLatin1Char('0');
    }
    // The side not on roll comes first.
    const QString bits = p.Turn == p.Colour && p.Turn != 0 ? farSide + nearSide : nearSide + farSide;
    return Pack(FixedWidth(bits, PositionIdBits));
}

QString MatchId(const TPositions& p)
{
    const bool nearOnRoll = p.Turn * p.Colour > 0;
    const bool doubleOffered = p.PlayerDie1 == 0 && p.OpponentDie1 == 0;
    const bool money = p.MatchLength == UnlimitedMatchLength;

    int cube = std::abs(p.Cube);
    if (doubleOffered)
        cube = HalveToEven(cube);
    if (cube == 1)
        cube = 0;
    const int die1 = nearOnRoll ? p.PlayerDie1 : p.OpponentDie1;
    const int die2 = nearOnRoll ? p.PlayerDie2 : p.OpponentDie2;

    QString bits;
    bits += BinaryDigits(cube == 0 ? 0 : Log2(cube), 4);
    bits += BinaryDigits(CubeOwner(p), 2);
    bits += BinaryDigits(nearOnRoll, 1);
    bits += BinaryDigits(p.Crawford && !money, 1);
    bits += BinaryDigits(1, 3);
    // While a double is offered the turn is the side that must answer it.
    bits += BinaryDigits(doubleOffered ? !nearOnRoll : nearOnRoll, 1);
    bits += BinaryDigits(doubleOffered, 1);
    bits += BinaryDigits(0, 2);
    bits += BinaryDigits(unsigned(die1), 3);
    bits += BinaryDigits(unsigned(die2), 3);
    bits += BinaryDigits(money ? 0 : unsigned(p.MatchLength), 15);
    bits += BinaryDigits(money ? 0 : unsigned(p.OpponentScore), 15);
    bits += BinaryDigits(money ? 0 : unsigned(p.PlayerScore), 15);
    // The engine's next bit turns the Jacoby rule off. The server plays without it, and the
    // engine writes the same bit in every match of its own.
    bits += BinaryDigits(1, 1);
    return Pack(FixedWidth(bits, MatchIdBits));
}
