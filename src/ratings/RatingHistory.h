#pragma once

#include <QByteArray>
#include <QString>

class QDateTime;

// One record of a user's rating history file (login name + ".rat").
struct TRatingRecord {
    double DateTime = 0; // local date and time in days since 30 December 1899
    qint32 Rating = 0;   // the rating's integer part
};

constexpr int RatingRecordSize = 16;

// A local date and time as days since 30 December 1899 00:00, the time of day as the fraction.
double DaysSince1899(const QDateTime& local);

// The record's 16 bytes: little-endian double, little-endian 32-bit rating, four zero bytes.
QByteArray EncodeRatingRecord(const TRatingRecord& record);

// Appends one record after the last whole record of the file, creating the file when it does
// not exist; false with a reason when the file could not be opened or written.
bool AppendRatingRecord(const QString& path, const TRatingRecord& record, QString* error);
