#pragma once

#include <QLocale>
#include <QString>

// What a match would mean for the user under the server's rating formula.
struct TRatingExpectation {
    double Probability = 0; // the user's chance to win the match
    double Gain = 0;        // points won with a win
    double Loss = 0;        // points lost with a loss
};

// matchLength > 0; the ratings are the integer parts, experience the user's own.
TRatingExpectation RatingExpectation(int matchLength, int userRating, int userExperience,
                                     int otherRating);

// The three texts of a "Probabilities" box; Shown is false for a match length of 0 or less
// (the texts are then empty). The default locale is the system's: its decimal separator.
struct TProbabilityLabels {
    bool Shown = false;
    QString LProb;
    QString LWin;
    QString LLose;
};

TProbabilityLabels ProbabilityLabels(int matchLength, int userRating, int userExperience,
                                     int otherRating, const QLocale& locale = QLocale());
