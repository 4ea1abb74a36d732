#include "SessionFixture.h"

#include "app/PreferencesStore.h"
#include "protocol/LoginStretch.h"

#include <QSignalSpy>

namespace {

const QByteArray GuestText =
    "\r\nWelcome to FIBS. You just logged in as guest.\r\n"
    "Please register before using this server:\r\n\r\n"
    "Type 'name username' where 'username' is the name you want to use.\r\n"
    "The username may only contain letters and the underscore character _ .\r\n"
    "The server will then ask for your password twice.\r\n\r\n"
    "One account per person only!\r\n"
    "Please type 'bye' if you don't want to register now.\r\n> ";

} // namespace

class LoginTest : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        session->Settings.Username = "newbie";
        session->Settings.Password = "pw12";
        // The first chunk's request for saved games is not what these tests look at.
        session->FirstDataSeen = true;
    }

    // What the session sends in answer to one piece of server text.
    QByteArray answer(const QByteArray& received)
    {
        rec.link.sent.clear();
        receive(received);
        return rec.link.sent;
    }
};

TEST_F(LoginTest, RegistrationDialogueIsAnsweredForTheUser)
{
    session->Registering = true;
    session->ConnectionHost = "127.0.0.1";
    session->ConnectionPort = "4321";
    session->idTelnetSessionConnected(0, QString());
    rec.clock.runUntilIdle();
    EXPECT_EQ(rec.link.sent, "login guest\r\n");

    const std::pair<QByteArray, QByteArray> steps[] = {
        {"\r\n           LOGIN AS guest IF YOU ARE NEW TO THIS SERVER!\r\nlogin: login: ", "guest\r\n"},
        {GuestText, "name newbie\r\n"},
        {"Your name will be newbie\r\nPlease give your password: ", "pw12\r\n"},
        {"Please retype your password: ", "pw12\r\n"},
    };
    for (const auto& [received, sent] : steps)
        EXPECT_EQ(answer(received), sent) << received.toStdString();

    rec.link.sent.clear();
    session->DisplayMemo.clear();
    // The "bye" must leave on the guest connection, before the new one is opened.
    bool reconnectedBeforeBye = false;
    rec.link.onSend = [&](const QByteArray&) {
        reconnectedBeforeBye = memo().contains("Trying to connect to Fibs with your new account");
    };
    receive("You are registered.\r\n> ");
    rec.link.onSend = nullptr;
    EXPECT_EQ(rec.link.sent, "bye\r\n");
    EXPECT_FALSE(reconnectedBeforeBye);
    EXPECT_FALSE(session->Registering);
    EXPECT_TRUE(session->ToggleMoreboardsAfterLogin);
    EXPECT_EQ(memo().mid(0, 2), (QStringList{"You are registered",
                                             "New acount created. Now disconecting from Fibs"}));
    EXPECT_TRUE(memo().contains("Trying to connect to Fibs with your new account"));

    rec.link.sent.clear();
    session->idTelnetSessionConnected(0, QString());
    rec.clock.runUntilIdle();
    EXPECT_TRUE(rec.link.sent.startsWith(
        "login ?________________T 1008 newbie pw12\r\nset boardstyle 3\r\ntoggle moreboards\r\n"))
        << rec.link.sent.toStdString();
    EXPECT_FALSE(session->ToggleMoreboardsAfterLogin);
}

TEST_F(LoginTest, GuestPromptsHandledOneByOneStillCountAsARefusedLogin)
{
    // On a slow link the two prompts are handled apart; a line in between breaks the pair.
    const std::pair<QByteArray, QByteArray> steps[] = {
        {"login: ", ""}, {"login: ", "guest\r\n"},
        {"login: ", ""}, {"Welcome\r\n", ""}, {"login: ", ""},
    };
    for (const auto& [received, sent] : steps) {
        rec.link.sent.clear();
        session->IdTelnetDataAvailable(received);
        rec.clock.advance(150);
        rec.clock.runUntilIdle();
        EXPECT_EQ(rec.link.sent, sent) << received.toStdString();
    }
}

TEST_F(LoginTest, RefusedNamesAreShownAndTheConnectWindowOpensAgain)
{
    QSignalSpy again(session.get(), &ClientSession::connectWindowWanted);
    const QByteArray refusals[] = {
        "** Please use another name. 'alice' is already used by someone else.",
        "** Your name may only contain letters and the underscore character _ .",
    };
    for (const QByteArray& refusal : refusals)
        EXPECT_EQ(answer(refusal + "\r\n> "), "");
    EXPECT_EQ(again.count(), 2);
    EXPECT_EQ(rec.prompter.boxes,
              (QStringList{"Tabulon | " + QString::fromLatin1(refusals[0]),
                           "Tabulon | " + QString::fromLatin1(refusals[1])}));
    EXPECT_EQ(memo(), (QStringList{"> ", "> "}));
}

TEST_F(LoginTest, TheRegistrationHintInANormalLoginStillSendsTheName)
{
    EXPECT_EQ(answer("Please type 'bye' if you don't want to register now.\r\n"), "name newbie\r\n");
}

TEST_F(LoginTest, ConnectWindowChoices)
{
    rec.link.connected = false;
    const TConnectValues values{"127.0.0.1", "4000", "carol", "secret", true};
    ConnectWindowClosed(*session, ConnectChoice::Cancel, values);
    EXPECT_FALSE(rec.link.connected);
    EXPECT_TRUE(memo().isEmpty());
    EXPECT_EQ(session->Settings.Username, "newbie");

    ConnectWindowClosed(*session, ConnectChoice::Connect, values);
    EXPECT_TRUE(rec.link.connected);
    EXPECT_FALSE(session->Registering);
    EXPECT_EQ(session->Settings.Username, "carol");
    EXPECT_EQ(session->Settings.Password, "secret");
    EXPECT_EQ(session->ConnectionHost, "127.0.0.1");
    EXPECT_EQ(session->ConnectionPort, "4000");
    EXPECT_EQ(memo(), QStringList{"**Trying to connect to FIBS**"});

    ConnectWindowClosed(*session, ConnectChoice::CreateAccount, values);
    EXPECT_TRUE(session->Registering);
}

TEST_F(LoginTest, DisconnectEmptiesThePlayersList)
{
    TPlayerRow row;
    row.Caption = "bob";
    session->LVPlayers.Append(row);
    session->Disconnect();
    EXPECT_FALSE(rec.link.connected);
    EXPECT_EQ(session->LVPlayers.Count(), 0);
    EXPECT_EQ(memo(), QStringList{"**Disconnected**"});
    session->Disconnect();
    EXPECT_EQ(memo().size(), 2);
}
