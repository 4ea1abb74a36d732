#pragma once

#include <QString>
#include <array>

// A board theme's description: its pictures and the pixel geometry of everything drawn on the
// board. Coordinates are pixels in the board picture, origin at its top left corner.
// The initial values are what a missing key reads as.
struct TBoardDescription {
    QString BoardName; // also the name of the folder holding the pictures
    QString BoardImage;
    int BoardSize_X = 0;
    int BoardSize_Y = 0;
    QString Dice_Blue; // the first "?" stands for the face value
    QString Dice_Red;
    QString Checker_Blue;
    QString Checker_Red;
    QString Ghost_Blue;
    QString Ghost_Red;
    // Point[0] tray column, [1..6] right half from the outside in, [7] bar, [8..13] left half
    // from the bar outwards, [14] the cube's hit area. Point13 and Point14 default to 10 and 11.
    std::array<int, 15> Point{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 10, 11};
    int Point_Blue_Y = 0;
    int Point_Red_Y = 0;
    int PointHeigth = 0;
    int Bar_Blue_Y = 0;
    int Bar_Red_Y = 0;
    int Checker_Size = 0;
    int Dice1_Left_X = 0;
    int Dice2_Left_X = 0;
    int Dice1_Right_X = 0;
    int Dice2_Right_X = 0;
    int Dice_Y = 0;
    QString Cube_Image; // the first "?" stands for the cube value
    int Cube_Center_Pos_X = 0;
    int Cube_Center_Pos_Y = 0;
    int Cube_Take_Pl1_Y = 0;
    int Cube_Take_Pl2_Y = 0;
    int Cube_Left_Pos_X = 0;
    int Cube_Left_Pos_Y = 0;
    int Cube_Right_Pos_X = 0;
    int Cube_Right_Pos_Y = 0;
    QString Indicator_Blue_Image;
    QString Indicator_Red_Image;
    int Indicator_Red_X = 0;
    int Indicator_Red_Y = 0;
    int Indicator_Blue_X = 0;
    int Indicator_Blue_Y = 0;

    bool operator==(const TBoardDescription&) const = default;
};
