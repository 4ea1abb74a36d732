#include "ratings/RatingExpectation.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct StakesCase {
    const char* what;
    int n, r, e, s;
    const char* prob;
    const char* win;
    const char* lose;
};

const StakesCase stakesCases[] = {
    {"underdog, 100 points above", 5, 1500, 100, 1600, "44", "19.93", "15.4"},
    {"equal ratings, no experience", 1, 1500, 0, 1500, "50", "9.98", "9.98"},
    {"experience and length past 400 keep K at 1", 5, 1500, 1000, 1600, "44", "5.04", "3.9"},
    {"the user is the favourite", 7, 1650, 250, 1500, "61", "9.97", "15.75"},
    {"the unlimited setting counts as 100 points", 100, 1500, 100, 1600, "24", "91.17", "28.83"},
};

TEST(RatingExpectation, LabelsForTheStakes)
{
    const QLocale c(QLocale::C);
    for (const StakesCase& k : stakesCases) {
        SCOPED_TRACE(k.what);
        const TProbabilityLabels labels = ProbabilityLabels(k.n, k.r, k.e, k.s, c);
        EXPECT_TRUE(labels.Shown);
        EXPECT_EQ(labels.LProb,
                  QStringLiteral("Your probability to win this match is %1 %").arg(k.prob));
        EXPECT_EQ(labels.LWin,
                  QStringLiteral("If you win, your rating will increase by %1 points").arg(k.win));
        EXPECT_EQ(labels.LLose,
                  QStringLiteral("If you lose, your rating will decrease by %1 points").arg(k.lose));
    }
}

TEST(RatingExpectation, FormulaOfTheWorkedExample)
{
    const TRatingExpectation e = RatingExpectation(5, 1500, 100, 1600);
    EXPECT_NEAR(e.Probability, 0.43599, 1e-5);
    // K = 3.95: the stake is 4 K sqrt(5), shared out by the two chances.
    EXPECT_NEAR(e.Gain + e.Loss, 4 * 3.95 * std::sqrt(5.0), 1e-9);
    // Only the user's experience counts: the favourite's view is the mirror image.
    const TRatingExpectation other = RatingExpectation(5, 1600, 100, 1500);
    EXPECT_NEAR(other.Probability, 1 - e.Probability, 1e-12);
    EXPECT_NEAR(other.Gain, e.Loss, 1e-9);
}

TEST(RatingExpectation, NoLengthHidesTheLabels)
{
    for (int n : {0, -3}) {
        const TProbabilityLabels labels = ProbabilityLabels(n, 1500, 100, 1600, QLocale::c());
        EXPECT_FALSE(labels.Shown) << n;
        EXPECT_TRUE(labels.LProb.isEmpty()) << n;
    }
}

TEST(RatingExpectation, TheSystemsDecimalSeparator)
{
    const TProbabilityLabels labels =
        ProbabilityLabels(5, 1500, 100, 1600, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(labels.LWin, "If you win, your rating will increase by 19,93 points");
    EXPECT_EQ(labels.LLose, "If you lose, your rating will decrease by 15,4 points");
}

} // namespace
