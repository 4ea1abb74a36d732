#include "ratings/RatingExpectation.h"

#include <cmath>
#include <cstdlib>

namespace {

// Rounds to the nearest whole number, halves to even.
double RoundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

// Shortest general form, without trailing zeros or group separators.
QString Number(double value, QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', QLocale::FloatingPointShortest);
}

} // namespace

TRatingExpectation RatingExpectation(int matchLength, int userRating, int userExperience,
                                     int otherRating)
{
    const double rootN = std::sqrt(double(matchLength));
    const double d = std::abs(otherRating - userRating);
    const double underdog = 1.0 / (std::pow(10.0, d * rootN / 2000.0) + 1.0);
    const double favourite = 1.0 - underdog;
    double k = 5.0 - (double(userExperience) + double(matchLength)) / 100.0;
    if (k <= 1.0)
        k = 1.0;
    const double stake = 4.0 * k * rootN;

    TRatingExpectation e;
    e.Probability = userRating < otherRating ? underdog : favourite;
    const bool userFavourite = userRating > otherRating;
    e.Gain = stake * (userFavourite ? underdog : favourite);
    e.Loss = stake * (userFavourite ? favourite : underdog);
    return e;
}

TProbabilityLabels ProbabilityLabels(int matchLength, int userRating, int userExperience,
                                     int otherRating, const QLocale& locale)
{
    TProbabilityLabels labels;
    if (matchLength <= 0)
        return labels;
    const TRatingExpectation e =
        RatingExpectation(matchLength, userRating, userExperience, otherRating);
    labels.Shown = true;
    labels.LProb = QStringLiteral("Your probability to win this match is ")
        + Number(RoundHalfEven(100.0 * e.Probability), locale) + QStringLiteral(" %");
    labels.LWin = QStringLiteral("If you win, your rating will increase by ")
        + Number(RoundHalfEven(100.0 * e.Gain) / 100.0, locale) + QStringLiteral(" points");
    labels.LLose = QStringLiteral("If you lose, your rating will decrease by ")
        + Number(RoundHalfEven(100.0 * e.Loss) / 100.0, locale) + QStringLiteral(" points");
    return labels;
}
