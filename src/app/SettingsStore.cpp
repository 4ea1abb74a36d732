#include "app/SettingsStore.h"

#include "app/SettingsFile.h"
#include "model/TSettings.h"

#include <algorithm>

namespace {
const char* const S = "Settings";
}

void ReadSettings(const SettingsFile& f, const QString& appFolder, TSettings& s,
                  TWindowSettings& w)
{
    const TSettings d;
    s.Debug = f.readBool(S, "Debug", d.Debug);
    s.HideShouts = f.readBool(S, "HideShouts", d.HideShouts);
    s.EnableSound = f.readBool(S, "EnableSound", d.EnableSound);
    s.SaveWatchedMatches = f.readBool(S, "Savewatchedmatches", d.SaveWatchedMatches);
    s.SavePlayedMatches = f.readBool(S, "Saveplayedmatches", d.SavePlayedMatches);
    s.ShowEndGameMessage = f.readBool(S, "ShowendGamemessage", d.ShowEndGameMessage);
    s.Autologin = f.readBool(S, "Autologin", d.Autologin);
    s.Server = f.readString("Connection", "Server", d.Server);
    s.Port = f.readString("Connection", "Port", d.Port);
    s.Username = f.readString("Account", "Username", d.Username);
    s.Password = f.readString("Account", "Password", d.Password);
    s.StorePassword = f.readBool("Account", "Storepassword", d.StorePassword);
    s.DefaultBoard = appFolder
        + f.readString("Board", "DefaultBoard", QStringLiteral("Themes\\Titanium\\Titatium.ini"));
    s.PlayWithBlueChecker = f.readBool("Board", "Playwithbluechecker", d.PlayWithBlueChecker);
    s.GreetingMessage = f.readString("Chat", "Greting", d.GreetingMessage);
    s.DeclineMessage = f.readString("Chat", "Decline", d.DeclineMessage);
    s.EndMessage = f.readString("Chat", "EndMessage", d.EndMessage);
    s.FirstName = f.readString("Profile", "FirstName", d.FirstName);
    s.LastName = f.readString("Profile", "LastName", d.LastName);
    s.Gender = f.readInt("Profile", "Gender", d.Gender);
    s.Country = f.readInt("Profile", "Country", d.Country);
    s.AnimationSpeed = f.readInt(S, "AnimationSpeed", d.AnimationSpeed);
    s.ShowChatTab = f.readBool(S, "ShowChatTab", d.ShowChatTab);
    s.EMail = f.readString("Profile", "EMail", d.EMail);
    s.FontSize = f.readString(S, "FontSize", d.FontSize);
    s.ConfirmDoubles = f.readBool(S, "ConfirmDoubles", d.ConfirmDoubles);
    w.TabSelected = f.readInt(S, "TabSelected", 0);
    w.ColumnSort = f.readInt(S, "ColumnSort", 0);
    // A hand-edited column number the players list does not have would sort by nothing.
    if (w.ColumnSort < 0 || w.ColumnSort > TWindowSettings::LastColumn)
        w.ColumnSort = 0;
    w.Descending = f.readBool(S, "Descending", false);
    // The button editor never writes more than ten buttons; a hand-edited count is clamped.
    s.NumberOfButtons =
        std::clamp(f.readInt("Buttons", "NumberOfButtons", 0), 0, TSettings::MaxButtons);
    for (int i = 0; i < s.NumberOfButtons; ++i) {
        const QString b = QStringLiteral("B") + QString::number(i);
        s.ButtonGlyph[std::size_t(i)] = f.readInt("Buttons", b + "Glyph", 0);
        s.ButtonAction[std::size_t(i)] = f.readString("Buttons", b + "Action", QString());
        s.ButtonHint[std::size_t(i)] = f.readString("Buttons", b + "Hint", QString());
    }
}

void WriteWindowSettings(SettingsFile& f, const TWindowSettings& w)
{
    f.writeInt(S, "TabSelected", w.TabSelected);
    f.writeInt(S, "ColumnSort", w.ColumnSort);
    f.writeBool(S, "Descending", w.Descending);
}
