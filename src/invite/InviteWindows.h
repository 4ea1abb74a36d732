#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The "Probabilities" group box of the invite and join windows.
struct TProbabilitiesBox {
    bool GroupBox1Visible = true;
    QString LProb;
    QString LWin;
    QString LLose;
    bool LProbVisible = true;
    bool LWinVisible = true;
    bool LLoseVisible = true;
};

// What the join window shows. There is one for the program's life; the window follows it.
class JoinWindowModel : public QObject {
    Q_OBJECT
public:
    explicit JoinWindowModel(QObject* parent = nullptr) : QObject(parent) {}

    bool Visible = false;
    QString Caption;
    QString Label1; // the invitation as received
    QString Label2;
    QString Label3; // the inviter, answered by the buttons
    QString ESavedGames;
    bool ESavedGamesVisible = false;
    QStringList Memo1;
    TProbabilitiesBox Probabilities;

    void Changed() { emit changed(); }

signals:
    void changed();
};

// What the invite window shows while it is open.
class InviteWindowModel : public QObject {
    Q_OBJECT
public:
    static constexpr int DefaultLength = 5;
    static constexpr int MaxLength = 100;

    explicit InviteWindowModel(QObject* parent = nullptr) : QObject(parent) {}

    bool Open = false;
    QString Name;
    QString Caption;
    QString Label2;
    QStringList Memo1;
    // The players-list row's "Rating" column, the other side of the stakes.
    QString OpponentRating;
    // The player is busy: the button offers an automatic invitation instead.
    bool Busy = false;
    QString BInvite;
    int Length = DefaultLength; // the UpDown's position
    QString EMatchLength;
    TProbabilitiesBox Probabilities;

    void Changed() { emit changed(); }

signals:
    void changed();
};
