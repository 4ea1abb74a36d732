#pragma once

#include <QString>
#include <array>

// The program settings kept in tabulon.ini.
struct TSettings {
    static constexpr int MaxButtons = 10;

    bool EnableSound = true;
    bool SaveWatchedMatches = true;
    bool SavePlayedMatches = true;
    bool ShowEndGameMessage = true;
    QString DeclineMessage = QStringLiteral("Sorry, not now.");
    QString GreetingMessage = QStringLiteral("Hi");
    QString EndMessage = QStringLiteral("Thanks for the match.");
    bool Autologin = false;
    QString Server = QStringLiteral("fibs.com");
    QString Port = QStringLiteral("4321");
    QString Username;
    QString Password;
    bool StorePassword = true;
    QString DefaultBoard; // full path of the theme description file
    bool PlayWithBlueChecker = true;
    int Gender = 0;       // 0 Unknown, 1 Female, 2 Male, 3 Computer
    QString FirstName;    // blanks stored as "_"
    QString LastName;     // blanks as "_", first character lowered by 30
    int Country = 0;      // index into the country table
    int NumberOfButtons = 0;
    std::array<int, MaxButtons> ButtonGlyph{};
    std::array<QString, MaxButtons> ButtonHint;
    std::array<QString, MaxButtons> ButtonAction;
    int AnimationSpeed = 5;
    bool HideShouts = false;
    bool Debug = false;
    bool ShowChatTab = true;
    QString EMail;
    QString FontSize = QStringLiteral("Default");
    bool ConfirmDoubles = true;
};
