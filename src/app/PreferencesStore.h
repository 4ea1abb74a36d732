#pragma once

#include <QString>
#include <functional>

class ClientSession;
class SettingsFile;
struct TSettings;

// Profile names as tabulon.ini keeps them: blanks as "_", and the last name's first character
// lowered by 30, which marks where the last name begins inside the login line's name field.
QString EncodeFirstName(const QString& shown);
QString EncodeLastName(const QString& shown);
QString DecodeFirstName(const QString& stored);
QString DecodeLastName(const QString& stored);

// What the Preferences window shows and the user may change, outside the Board tab.
// Names are as shown (blanks, the last name's first character as typed).
struct TPreferencesValues {
    bool EnableSound = true;
    bool ConfirmDoubles = true;
    bool SaveWatchedMatches = true;
    bool SavePlayedMatches = true;
    bool ShowEndGameMessage = true;
    bool Autologin = false;
    bool HideShouts = false;
    bool ShowChatTab = true;
    bool Debug = false;
    QString FontSize;

    bool AutoDouble = false;
    bool AutoMove = false;
    bool Crawford = false;
    bool Double = false;
    bool Greedy = false;
    bool Ready = false;
    bool Silent = false;
    bool Ratings = false;

    QString DeclineMessage;
    QString GreetingMessage;
    QString EndMessage;

    QString FirstName;
    QString LastName;
    int Gender = 0;
    int Country = 0;
    QString EMail;
};

// The values the window opens with: the settings and the last own information.
TPreferencesValues PreferencesValuesOf(const ClientSession& session);

// The Board tab's share of the Ok path (animation speed, theme, checkers), written into the
// open settings file.
using BoardSettingsStep = std::function<void(TSettings&, SettingsFile&)>;

// The Ok path of the Preferences window: the own-info toggles the user changed go to the
// server 200 ms apart, the settings are stored and written, the own-info boxes are copied
// into OwnInfo at once, and a changed e-mail address is sent. The file is written once.
void ApplyPreferences(ClientSession& session, const TPreferencesValues& values,
                      const BoardSettingsStep& boardStep = {});

// The Connect window's fields.
struct TConnectValues {
    QString Server;
    QString Port;
    QString Username;
    QString Password;
    bool StorePassword = true;
};

TConnectValues ConnectValuesOf(const TSettings& settings);

// Run whichever way the Connect window closes: stores and writes server, port, user name and
// the store-password choice. The password is kept in the file only while it is to be stored.
void SaveConnectSettings(ClientSession& session, const TConnectValues& values);
