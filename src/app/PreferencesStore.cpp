#include "app/PreferencesStore.h"

#include "app/SettingsFile.h"
#include "protocol/ClientSession.h"

namespace {

constexpr int LastNameMark = 30;
constexpr int TogglePauseMs = 200;
const char* const S = "Settings";

QString settingsPath(const ClientSession& session)
{
    return session.AppFolder + QStringLiteral("tabulon.ini");
}

void save(ClientSession& session, const SettingsFile& file)
{
    QString error;
    if (!file.save(&error))
        emit session.settingsError(QStringLiteral("The settings could not be saved to %1: %2")
                                       .arg(file.path(), error));
}

// Step 1 of the Ok path: the changed own-info boxes as toggle commands, in a fixed order,
// with a pause after each of the first seven checks whether or not it sent anything.
void sendToggles(ClientSession& session, const TPreferencesValues& v)
{
    const TOwnInfo& o = session.OwnInfo;
    const struct {
        bool wanted;
        bool current;
        const char* command;
    } toggles[] = {
        {v.AutoDouble, o.AutoDouble, "toggle autodouble"},
        {v.AutoMove, o.AutoMove, "toggle automove"},
        {v.Crawford, o.Crawford, "toggle crawford"},
        {v.Double, o.Double, "toggle double"},
        {v.Greedy, o.Greedy, "toggle greedy"},
        {v.Ready, o.Ready, "toggle ready"},
        {v.Ratings, o.Ratings, "toggle ratings"},
        {v.Silent, o.Silent, "toggle silent"},
    };
    const bool connected = session.IsConnected();
    int pause = 0;
    for (std::size_t i = 0; i < std::size(toggles); ++i) {
        if (connected && toggles[i].wanted != toggles[i].current) {
            session.SendCommand(QLatin1String(toggles[i].command), pause);
            pause = 0;
        }
        if (i + 1 < std::size(toggles))
            pause += TogglePauseMs;
    }
    if (pause > 0)
        session.Later(pause, [] {});
}

} // namespace

QString EncodeFirstName(const QString& shown)
{
    return QString(shown).replace(QChar(' '), QChar('_'));
}

QString EncodeLastName(const QString& shown)
{
    QString stored = shown;
    if (!stored.isEmpty())
        stored[0] = QChar(stored.at(0).unicode() - LastNameMark);
    return stored.replace(QChar(' '), QChar('_'));
}

QString DecodeFirstName(const QString& stored)
{
    return QString(stored).replace(QChar('_'), QChar(' '));
}

QString DecodeLastName(const QString& stored)
{
    QString shown = stored;
    if (!shown.isEmpty())
        shown[0] = QChar(shown.at(0).unicode() + LastNameMark);
    return shown.replace(QChar('_'), QChar(' '));
}

TPreferencesValues PreferencesValuesOf(const ClientSession& session)
{
    const TSettings& s = session.Settings;
    const TOwnInfo& o = session.OwnInfo;
    TPreferencesValues v;
    v.EnableSound = s.EnableSound;
    v.ConfirmDoubles = s.ConfirmDoubles;
    v.SaveWatchedMatches = s.SaveWatchedMatches;
    v.SavePlayedMatches = s.SavePlayedMatches;
    v.ShowEndGameMessage = s.ShowEndGameMessage;
    v.Autologin = s.Autologin;
    v.HideShouts = s.HideShouts;
    v.ShowChatTab = s.ShowChatTab;
    v.Debug = s.Debug;
    v.FontSize = s.FontSize;
    v.AutoDouble = o.AutoDouble;
    v.AutoMove = o.AutoMove;
    v.Crawford = o.Crawford;
    v.Double = o.Double;
    v.Greedy = o.Greedy;
    v.Ready = o.Ready;
    v.Silent = o.Silent;
    v.Ratings = o.Ratings;
    v.DeclineMessage = s.DeclineMessage;
    v.GreetingMessage = s.GreetingMessage;
    v.EndMessage = s.EndMessage;
    v.FirstName = DecodeFirstName(s.FirstName);
    v.LastName = DecodeLastName(s.LastName);
    v.Gender = s.Gender;
    v.Country = s.Country;
    v.EMail = s.EMail;
    return v;
}

void ApplyPreferences(ClientSession& session, const TPreferencesValues& v,
                      const BoardSettingsStep& boardStep)
{
    sendToggles(session, v);

    TSettings& s = session.Settings;
    SettingsFile file(settingsPath(session));
    const auto setBool = [&file](bool& field, bool value, const char* section, const char* key) {
        field = value;
        file.writeBool(section, QLatin1String(key), value);
    };
    const auto setString = [&file](QString& field, const QString& value, const char* section,
                                   const char* key) {
        file.writeString(section, QLatin1String(key), value);
        field = value;
    };
    setBool(s.EnableSound, v.EnableSound, S, "Enablesound");
    setBool(s.SaveWatchedMatches, v.SaveWatchedMatches, S, "Savewatchedmatches");
    setBool(s.SavePlayedMatches, v.SavePlayedMatches, S, "Saveplayedmatches");
    setBool(s.ShowEndGameMessage, v.ShowEndGameMessage, S, "Showendgamemessage");
    setBool(s.Autologin, v.Autologin, S, "Autologin");
    setString(s.DeclineMessage, v.DeclineMessage, "Chat", "Decline");
    setString(s.GreetingMessage, v.GreetingMessage, "Chat", "Greting");
    setString(s.EndMessage, v.EndMessage, "Chat", "EndMessage");
    setBool(s.HideShouts, v.HideShouts, S, "HideShouts");
    setBool(s.Debug, v.Debug, S, "Debug");
    setBool(s.ShowChatTab, v.ShowChatTab, S, "ShowChatTab");
    setString(s.FontSize, v.FontSize, S, "FontSize");
    setBool(s.ConfirmDoubles, v.ConfirmDoubles, S, "ConfirmDoubles");

    emit session.debugWindowWanted(s.Debug);

    if (boardStep)
        boardStep(s, file);

    TOwnInfo& o = session.OwnInfo;
    o.AutoDouble = v.AutoDouble;
    o.AutoMove = v.AutoMove;
    o.Crawford = v.Crawford;
    o.Double = v.Double;
    o.Greedy = v.Greedy;
    o.Ready = v.Ready;
    o.Ratings = v.Ratings;
    o.Silent = v.Silent;

    setString(s.FirstName, EncodeFirstName(v.FirstName), "Profile", "FirstName");
    setString(s.LastName, EncodeLastName(v.LastName), "Profile", "LastName");
    s.Country = v.Country;
    file.writeInt("Profile", QStringLiteral("Country"), s.Country);
    s.Gender = v.Gender;
    file.writeInt("Profile", QStringLiteral("Gender"), s.Gender);
    if (v.EMail != s.EMail) {
        setString(s.EMail, v.EMail, "Profile", "EMail");
        if (session.IsConnected())
            session.SendCommand(QStringLiteral("address ") + s.EMail);
    }

    file.writeInt("Buttons", QStringLiteral("NumberOfButtons"), s.NumberOfButtons);
    for (int i = 0; i < s.NumberOfButtons; ++i) {
        const QString b = QStringLiteral("B") + QString::number(i);
        file.writeInt("Buttons", b + QStringLiteral("Glyph"), s.ButtonGlyph[std::size_t(i)]);
        file.writeString("Buttons", b + QStringLiteral("Action"), s.ButtonAction[std::size_t(i)]);
        file.writeString("Buttons", b + QStringLiteral("Hint"), s.ButtonHint[std::size_t(i)]);
    }

    save(session, file);
}

TConnectValues ConnectValuesOf(const TSettings& settings)
{
    return {settings.Server, settings.Port, settings.Username, settings.Password,
            settings.StorePassword};
}

void SaveConnectSettings(ClientSession& session, const TConnectValues& v)
{
    TSettings& s = session.Settings;
    SettingsFile file(settingsPath(session));
    file.writeString("Connection", QStringLiteral("Server"), v.Server);
    s.Server = v.Server;
    file.writeString("Connection", QStringLiteral("Port"), v.Port);
    s.Port = v.Port;
    file.writeString("Account", QStringLiteral("Username"), v.Username);
    s.Username = v.Username;
    // A password the user chose not to keep must not stay behind from an earlier choice.
    if (v.StorePassword)
        file.writeString("Account", QStringLiteral("Password"), v.Password);
    else
        file.remove("Account", QStringLiteral("Password"));
    file.writeBool("Account", QStringLiteral("Storepassword"), v.StorePassword);
    s.StorePassword = v.StorePassword;
    save(session, file);
}
