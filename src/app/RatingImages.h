#pragma once

#include <QImage>
#include <QVector>

// The eleven pictures of ILRating, drawn at size x size pixels (16 in the list, 32 for
// high-density screens): 0 blank; 1..6 the rating badges grey, green, blue, purple, orange,
// red; 7 gender unknown; 8 female; 9 male; 10 computer.
constexpr int RatingImageCount = 11;
QVector<QImage> DrawRatingImages(int size);
