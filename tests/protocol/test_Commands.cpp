#include "SessionFixture.h"

TEST_F(SessionTest, CommandsGoOutOnlyWhileConnected)
{
    session->BSendCommandClick("who");
    session->Ongoinggames1Click();
    session->Watchers1Click();
    session->ime1Click();
    session->Averageusers1Click();
    session->Fibsversion1Click();
    rec.clock.runUntilIdle();
    EXPECT_EQ(rec.link.sent,
              QByteArray("who\r\nshow games\r\nshow watchers\r\ntime\r\nAverage\r\nversion\r\n"));
    rec.link.connected = false;
    rec.link.sent.clear();
    session->BSendCommandClick("who");
    session->ime1Click();
    rec.clock.runUntilIdle();
    EXPECT_TRUE(rec.link.sent.isEmpty());
}

TEST_F(SessionTest, PacedSequenceKeepsOrderAndSpacing)
{
    QList<QPair<qint64, QByteArray>> sends;
    rec.link.onSend = [&](const QByteArray& b) { sends.append({rec.clock.now(), b}); };
    session->SendCommand("toggle autodouble");
    session->SendCommand("toggle automove", 200);
    session->SendCommand("typed meanwhile");
    session->SendCommand("toggle crawford", 200);
    rec.clock.runUntilIdle();
    const QList<QPair<qint64, QByteArray>> expected{{0, "toggle autodouble\r\n"},
                                                    {200, "toggle automove\r\n"},
                                                    {200, "typed meanwhile\r\n"},
                                                    {400, "toggle crawford\r\n"}};
    EXPECT_EQ(sends, expected);
}

TEST_F(SessionTest, ConnectionPollShowsTheStateAndEndsPlayOnClose)
{
    session->Playing = session->Watching = true;
    session->Timer2Timer();
    EXPECT_EQ(session->Status.SBAdversaire[2], "Connected");
    EXPECT_TRUE(session->Playing);
    rec.link.connected = false;
    session->Timer2Timer();
    EXPECT_EQ(session->Status.SBAdversaire[2], "Not Connected");
    EXPECT_FALSE(session->Playing);
    EXPECT_FALSE(session->Watching);
}

TEST_F(SessionTest, LoginSequenceAfterTheConnectionOpens)
{
    session->Settings.Username = "alice";
    session->Settings.Password = "secret";
    session->ToggleMoreboardsAfterLogin = true;
    QList<QPair<qint64, QByteArray>> sends;
    rec.link.onSend = [&](const QByteArray& b) { sends.append({rec.clock.now(), b}); };
    session->idTelnetSessionConnected(0, QString());
    rec.clock.runUntilIdle();
    const QList<QPair<qint64, QByteArray>> expected{
        {0, "login ?________________T 1008 alice secret\r\n"},
        {200, "set boardstyle 3\r\n"},
        {1200, "toggle moreboards\r\n"},
        // the players-list refresh
        {1200, "rawwho\r\n"},
        {1500, "set sortwho name\r\n"},
        {1600, "rawwho\r\n"},
        {1900, "set sortwho rrating\r\n"},
        {2000, "rawwho\r\n"},
        {2300, "set sortwho rating\r\n"}};
    EXPECT_EQ(sends, expected);
    EXPECT_FALSE(session->ToggleMoreboardsAfterLogin);
    EXPECT_EQ(session->Status.SBAdversaire[2], "Connected");
    EXPECT_TRUE(memo().contains("**Connected to FIBS**"));
}

TEST_F(SessionTest, FailedConnectionsAreReported)
{
    rec.link.connected = false;
    rec.link.failConnect = true;
    session->StartConnection("nowhere.invalid", "4321");
    EXPECT_EQ(memo(), (QStringList{"**Trying to connect to FIBS**",
                                   "**Error connecting to FIBS, check your internet connection "
                                   "and retry**"}));
    session->DisplayMemo.clear();
    session->idTelnetSessionConnected(1, "Connection refused");
    EXPECT_EQ(memo(), QStringList{"**Could not connect to FIBS: Connection refused**"});
    EXPECT_TRUE(rec.link.sent.isEmpty());
}

TEST_F(SessionTest, ClientIdCarriesTheProfile)
{
    writeFile("countriescodes.txt", "France FR\nGermany DE\n");
    session->FormCreate();
    struct Case {
        int gender, country;
        QString first, last, expected;
    };
    const QString dupont = QString(QChar('D' - 30)) + "upont";
    const Case cases[] = {
        {0, 0, "", "", "?NT________________T"},
        {1, 1, "Jean", dupont, ">FRJean" + QString(QChar('&')) + "upont______T"},
        {2, 2, "Abcdefghijklmnopq", "Zed", "<DEAbcdefghijklmnopT"},
        {3, 7, "A", "", "=A_______________T"},
    };
    for (const Case& c : cases) {
        session->Settings.Gender = c.gender;
        session->Settings.Country = c.country;
        session->Settings.FirstName = c.first;
        session->Settings.LastName = c.last;
        EXPECT_EQ(session->ClientId(), c.expected) << c.expected.toStdString();
    }
}

TEST_F(SessionTest, ClientIdWithoutCountryTableIsShorter)
{
    session->FormCreate();
    EXPECT_EQ(session->ClientId(), "?________________T");
}
