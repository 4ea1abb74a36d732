#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

// One row of the ratings window's list.
struct TRatingRow {
    QString Rank;
    QString Name;
    QString Rating;
    QString Experience;
};

// What the replies to a ratings query and to the gag and blind listings fill, kept here until
// their windows show it. Each window clears its list when it opens.
class ListCaptures : public QObject {
    Q_OBJECT
public:
    explicit ListCaptures(QObject* parent = nullptr) : QObject(parent) {}

    // The ratings window is open: its listing's header starts a capture.
    bool RatingsWindowExists = false;

    QVector<TRatingRow> LVRating;
    QStringList LVGaggedPlayers;
    QStringList LVBlindedPlayers;

    void addRating(const TRatingRow& row)
    {
        LVRating.append(row);
        emit ratingAdded(int(LVRating.size()) - 1);
    }
    void addGagged(const QString& name)
    {
        LVGaggedPlayers.append(name);
        emit gaggedAdded(int(LVGaggedPlayers.size()) - 1);
    }
    void addBlinded(const QString& name)
    {
        LVBlindedPlayers.append(name);
        emit blindedAdded(int(LVBlindedPlayers.size()) - 1);
    }

signals:
    void ratingAdded(int index);
    void gaggedAdded(int index);
    void blindedAdded(int index);
};
