#include "protocol/LoginStretch.h"

#include "app/PreferencesStore.h"
#include "protocol/ClientSession.h"
#include "protocol/LineDispatcher.h"

#include <memory>

namespace {

const QString BoxTitle = QStringLiteral("Tabulon");

// One answer of the registration dialogue; true when the line was the one it answers.
bool registrationStep(ClientSession& s, const QString& line)
{
    const auto has = [&line](const char* text) { return line.contains(QLatin1String(text)); };
    if (has("login: login:")) {
        s.SendCommand(QStringLiteral("guest"));
    } else if (has("Please type 'bye' if")) {
        s.SendCommand(QStringLiteral("name ") + s.Settings.Username);
    } else if (has("use another name") || has("name may only contain")) {
        s.Ports().prompter->information(BoxTitle, line);
        emit s.connectWindowWanted();
    } else if (has("Please give your password:") || has("Please retype your password")) {
        s.SendCommand(s.Settings.Password);
    } else if (has("You are registered")) {
        s.DisplayMemo.addLine(QStringLiteral("You are registered"));
        s.DisplayMemo.addLine(QStringLiteral("New acount created. Now disconecting from Fibs"));
        s.SendCommand(QStringLiteral("bye"));
        s.Registering = false;
        s.ToggleMoreboardsAfterLogin = true;
        s.Later(0, [&s] {
            s.DisplayMemo.addLine(
                QStringLiteral("Trying to connect to Fibs with your new account"));
            QString error;
            ServerLink* link = s.Ports().link;
            if (!link || !link->connectTo(s.ConnectionHost, s.ConnectionPort, &error))
                s.DisplayMemo.addLine(QStringLiteral(
                    "**Error connecting to FIBS, check your internet connection and retry**"));
        });
    } else {
        return false;
    }
    return true;
}

} // namespace

void ConnectWindowClosed(ClientSession& s, ConnectChoice choice, const TConnectValues& values)
{
    if (choice == ConnectChoice::Cancel)
        return;
    s.Settings.Username = values.Username;
    s.Settings.Password = values.Password;
    s.StartConnection(values.Server, values.Port);
    // The connection completes later, so its session-connected handler sees this.
    if (choice == ConnectChoice::CreateAccount)
        s.Registering = true;
}

void InstallLoginStretch(ClientSession& session)
{
    // Two bare prompts arrive glued as "login: login: " only when the second comes before the
    // first was handled; on a slow link each is handled alone, which must mean the same.
    auto promptPending = std::make_shared<bool>(false);
    session.Dispatcher().SetHandler("login", [&session, promptPending](QString& line) {
        if (line.isEmpty())
            return;
        const bool barePrompt = line == QLatin1String("login: ");
        const QString text = barePrompt && *promptPending ? QStringLiteral("login: login: ") : line;
        *promptPending = barePrompt && !*promptPending;
        if (registrationStep(session, text))
            line.clear();
    });
}
