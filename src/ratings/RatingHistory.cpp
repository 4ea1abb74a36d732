#include "ratings/RatingHistory.h"

#include <QDateTime>
#include <QFile>
#include <QtEndian>

#include <cstring>

double DaysSince1899(const QDateTime& local)
{
    static const QDate origin(1899, 12, 30);
    constexpr double msPerDay = 86400000.0;
    return double(origin.daysTo(local.date())) + local.time().msecsSinceStartOfDay() / msPerDay;
}

QByteArray EncodeRatingRecord(const TRatingRecord& record)
{
    QByteArray bytes(RatingRecordSize, '\0');
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof record.DateTime);
    std::memcpy(&bits, &record.DateTime, sizeof bits);
    qToLittleEndian<quint64>(bits, bytes.data());
    qToLittleEndian<qint32>(record.Rating, bytes.data() + 8);
    return bytes;
}

bool AppendRatingRecord(const QString& path, const TRatingRecord& record, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // A record cut short by an earlier failure is overwritten, so the records stay aligned.
    const qint64 end = file.size() / RatingRecordSize * RatingRecordSize;
    const QByteArray bytes = EncodeRatingRecord(record);
    if (!file.seek(end) || file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
