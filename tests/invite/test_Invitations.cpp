#include "../protocol/SessionFixture.h"

#include "invite/Invitations.h"
#include "protocol/MatchStartStretch.h"
#include "protocol/StateJson.h"

#include <QJsonArray>
#include <QSignalSpy>

namespace {

const QString Prob44 = QStringLiteral("Your probability to win this match is 44 %");
const QString Win1993 = QStringLiteral("If you win, your rating will increase by 19.93 points");

class InvitationsTest : public SessionTest {
protected:
    void SetUp() override
    {
        // The figures below are written with a decimal point, whatever the machine's locale.
        QLocale::setDefault(QLocale::c());
        SessionTest::SetUp();
        session->FirstDataSeen = true;
        session->OwnInfo.Name = QStringLiteral("alice");
        session->OwnInfo.Rating = 1500;
        session->OwnInfo.Experience = 100;
        session->Settings.DeclineMessage = QStringLiteral("Sorry playername, not now.");
    }

    void TearDown() override { QLocale::setDefault(systemLocale); }

    void line(const QByteArray& text) { receive(text + "\r\n"); }

    void who(const QByteArray& name, const QByteArray& opponent = "-",
             const QByteArray& rating = "1600.00")
    {
        line("5 " + name + " " + opponent + " - 1 0 " + rating + " 400 0 1593778125 host - -");
    }

    // Opens the invite window for name; the RepBot question is taken out of what was sent.
    void openInvite(const QByteArray& name)
    {
        SelectPlayer(*session, QString::fromLatin1(name));
        ASSERT_TRUE(Invite1Click(*session));
        rec.clock.runUntilIdle();
        EXPECT_EQ(sent(), "Tell RepBot ask " + QString::fromLatin1(name) + "\r\n");
        rec.link.sent.clear();
    }

    const QLocale systemLocale;

    QString sent() const { return QString::fromLatin1(rec.link.sent); }
    QString sentNow()
    {
        rec.clock.runUntilIdle();
        const QString text = sent();
        rec.link.sent.clear();
        return text;
    }
};

TEST_F(InvitationsTest, InviteWindowShowsTheProfileAndTheStakes)
{
    who("bob");
    who("carol", "dave");
    openInvite("bob");
    const InviteWindowModel& w = session->InviteWindow;
    EXPECT_TRUE(w.Open);
    EXPECT_TRUE(session->InviteAwaitsRepBot);
    EXPECT_EQ(w.Caption, "Invite bob");
    EXPECT_EQ(w.Label2, "bob profile :");
    EXPECT_EQ(w.Memo1, QStringList({"Name : bob", "Rating : 1600", "Experience : 400"}));
    EXPECT_EQ(w.BInvite, "Invite");
    EXPECT_EQ(w.EMatchLength, "5");
    EXPECT_EQ(w.Probabilities.LProb, Prob44);
    EXPECT_EQ(w.Probabilities.LWin, Win1993);
    EXPECT_TRUE(w.Probabilities.LWinVisible);

    // The selector: out of range refused, 0 resumes and hides the stakes, 100 is unlimited.
    EXPECT_FALSE(InviteUpDownChanging(*session, -1));
    EXPECT_FALSE(InviteUpDownChanging(*session, 101));
    EXPECT_EQ(w.Length, 5);
    ASSERT_TRUE(InviteUpDownChanging(*session, 0));
    EXPECT_EQ(w.EMatchLength, "Resume saved game");
    EXPECT_FALSE(w.Probabilities.LProbVisible);
    EXPECT_FALSE(w.Probabilities.LLoseVisible);
    ASSERT_TRUE(InviteUpDownChanging(*session, 100));
    EXPECT_EQ(w.EMatchLength, "Unlimited match");
    EXPECT_TRUE(w.Probabilities.LProbVisible);
    EXPECT_EQ(w.Probabilities.LProb, "Your probability to win this match is 24 %");
    InviteFormClose(*session, InviteResult::Cancel);
    EXPECT_FALSE(w.Open);
    EXPECT_FALSE(session->InviteAwaitsRepBot);
    EXPECT_TRUE(sentNow().isEmpty());

    // A busy player: the button offers an automatic invitation.
    openInvite("carol");
    EXPECT_EQ(w.BInvite, "AutoInvite");
    InviteFormClose(*session, InviteResult::Cancel);
}

TEST_F(InvitationsTest, InviteCommandsForEachLength)
{
    who("bob");
    const struct {
        int length;
        const char* command;
    } cases[] = {{0, "Invite bob\r\n"}, {5, "Invite bob 5\r\n"}, {100, "Invite bob unlimited\r\n"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        EXPECT_EQ(InviteCommand(QStringLiteral("bob"), c.length) + "\r\n", c.command);
        session->ToolButtons.setPressed(QStringLiteral("TBReady"), false);
        session->OwnInfo.Ready = false;
        openInvite("bob");
        ASSERT_TRUE(InviteUpDownChanging(*session, c.length));
        InviteFormClose(*session, InviteResult::Invite);
        EXPECT_EQ(sentNow(), c.command);
        EXPECT_TRUE(session->OwnInfo.Ready);
        EXPECT_TRUE(session->ToolButtons.TBReady);
    }
    EXPECT_TRUE(session->AutoInviteNames.isEmpty());
}

TEST_F(InvitationsTest, InviteNeedsASelectedPlayerAndTheConnection)
{
    who("bob");
    EXPECT_FALSE(Invite1Click(*session)) << "nothing selected";
    SelectPlayer(*session, QStringLiteral("bob"));
    rec.link.connected = false;
    EXPECT_FALSE(Invite1Click(*session));
    EXPECT_FALSE(session->InviteAwaitsRepBot);
    EXPECT_TRUE(sentNow().isEmpty());
}

TEST_F(InvitationsTest, AutoInviteSendsEveryEntryWhenThePlayerIsFree)
{
    who("bob", "dave");
    openInvite("bob");
    ASSERT_TRUE(InviteUpDownChanging(*session, 0));
    InviteFormClose(*session, InviteResult::AutoInvite);
    openInvite("bob");
    ASSERT_TRUE(InviteUpDownChanging(*session, 100));
    InviteFormClose(*session, InviteResult::AutoInvite);
    EXPECT_EQ(session->AutoInviteNames, QStringList({"bob", "bob"}));
    EXPECT_EQ(session->AutoInviteLengths, QStringList({"0", "100"}));
    EXPECT_TRUE(sentNow().isEmpty()) << "nothing is sent while bob plays";

    who("carol");
    EXPECT_TRUE(sentNow().isEmpty()) << "another player";
    who("bob");
    EXPECT_EQ(sentNow(), "Invite bob\r\nInvite bob 100\r\n") << "100 is sent as the number";
    EXPECT_TRUE(session->OwnInfo.Ready);
    EXPECT_EQ(session->AutoInviteNames.size(), 2) << "entries stay until a match starts";

    session->Playing = true;
    who("bob");
    EXPECT_TRUE(sentNow().isEmpty()) << "not while playing";
    session->Playing = false;

    // The match with bob removes one entry; the window's Delete the other.
    line("** Player bob has joined you for a 5 point match.");
    EXPECT_EQ(session->AutoInviteLengths, QStringList({"100"}));
    AutoInviteDelete(*session, 1);
    AutoInviteDelete(*session, -1);
    EXPECT_EQ(session->AutoInviteNames.size(), 1) << "no such row";
    AutoInviteDelete(*session, 0);
    EXPECT_TRUE(session->AutoInviteNames.isEmpty());
    EXPECT_TRUE(session->AutoInviteLengths.isEmpty());
}

TEST_F(InvitationsTest, AnInvitationOpensTheJoinWindow)
{
    who("bob");
    session->SavedGames = {{QStringLiteral("bob"), QStringLiteral("3"), QStringLiteral("1 - 0")}};
    QSignalSpy wanted(session.get(), &ClientSession::joinWindowWanted);
    line("bob wants to play a 5 point match with you.");
    const JoinWindowModel& w = session->JoinWindow;
    EXPECT_EQ(wanted.count(), 1);
    EXPECT_TRUE(w.Visible);
    EXPECT_EQ(w.Caption, "Join bob");
    EXPECT_EQ(w.Label1, "bob wants to play a 5 point match with you.");
    EXPECT_EQ(w.Label2, "bob profile :");
    EXPECT_EQ(w.Label3, "bob");
    EXPECT_EQ(w.Memo1, QStringList({"Name : bob", "Rating : 1600", "Experience : 400"}));
    EXPECT_TRUE(w.ESavedGamesVisible);
    EXPECT_EQ(w.ESavedGames, "Warning : You have a saved game with bob");
    EXPECT_TRUE(w.Probabilities.GroupBox1Visible);
    EXPECT_EQ(w.Probabilities.LProb, Prob44);
    EXPECT_EQ(w.Probabilities.LWin, Win1993);
    EXPECT_EQ(session->JoinOpponent, "bob");
    EXPECT_EQ(session->JoinOpponentRating, 1600);
    EXPECT_TRUE(session->JoinAwaitsRepBot);
    EXPECT_EQ(sentNow(), "whois bob\r\nTell RepBot ask bob\r\n");
    EXPECT_TRUE(memo().isEmpty());

    JoinBOkClick(*session);
    EXPECT_EQ(sentNow(), "Join bob\r\n");
    EXPECT_FALSE(w.Visible);
    EXPECT_FALSE(session->JoinAwaitsRepBot);
}

TEST_F(InvitationsTest, ASecondInvitationRefreshesTheJoinWindow)
{
    who("bob");
    who("carol", "-", "1500.00");
    session->SavedGames = {{QStringLiteral("bob"), QStringLiteral("3"), QStringLiteral("1 - 0")}};
    line("bob wants to play a 5 point match with you.");
    line("carol wants to play a 1 point match with you.");
    const JoinWindowModel& w = session->JoinWindow;
    EXPECT_TRUE(w.Visible);
    EXPECT_EQ(w.Caption, "Join carol");
    EXPECT_EQ(w.Label1, "carol wants to play a 1 point match with you.");
    EXPECT_EQ(w.Label3, "carol");
    EXPECT_EQ(w.Memo1, QStringList({"Name : carol", "Rating : 1500", "Experience : 400"}));
    EXPECT_FALSE(w.ESavedGamesVisible);
    // The stakes are carol's, not bob's.
    EXPECT_EQ(session->JoinOpponent, "carol");
    EXPECT_EQ(session->JoinOpponentRating, 1500);
    EXPECT_EQ(w.Probabilities.LProb, "Your probability to win this match is 50 %");
    EXPECT_EQ(w.Probabilities.LWin, "If you win, your rating will increase by 7.98 points");

    // Decline: the message names the inviter and stays one line.
    session->Settings.DeclineMessage = QStringLiteral("Sorry playername,\r\nbye playername");
    JoinButton2Click(*session);
    EXPECT_EQ(sentNow().section("\r\n", -2, -2), "tell carol Sorry carol,  bye carol");
    EXPECT_FALSE(w.Visible);
    EXPECT_FALSE(session->JoinAwaitsRepBot);
}

TEST_F(InvitationsTest, StakesThatCannotBeKnownAreHidden)
{
    who("bob");
    const struct {
        const char* invitation;
        bool shown;
        const char* memoRating;
        bool warning;
    } cases[] = {
        {"bob wants to resume a saved match with you.", false, "Rating : 1600", false},
        {"bob wants to play an unlimited match with you.", true, "Rating : 1600", true},
        {"zoe wants to play a 5 point match with you.", false, "Rating : ", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.invitation);
        session->SavedGames = {{QStringLiteral("bob"), QStringLiteral("3"), QStringLiteral("1 - 0")}};
        line(c.invitation);
        const JoinWindowModel& w = session->JoinWindow;
        EXPECT_TRUE(w.Visible);
        EXPECT_EQ(w.Probabilities.GroupBox1Visible, c.shown);
        EXPECT_EQ(w.Memo1.value(1), c.memoRating);
        EXPECT_EQ(w.ESavedGamesVisible, c.warning);
        JoinFormClose(*session);
        EXPECT_FALSE(w.Visible);
    }
    // The unlimited match counts as 100 points.
    line("bob wants to play an unlimited match with you.");
    EXPECT_EQ(session->JoinWindow.Probabilities.LProb,
              "Your probability to win this match is 24 %");

    JoinFormClose(*session);
    rec.link.connected = false;
    line("bob wants to play a 3 point match with you.");
    EXPECT_FALSE(session->JoinWindow.Visible) << "only while connected";
}

TEST_F(InvitationsTest, StateShowsTheJoinWindowAndTheAutoInviteLists)
{
    who("bob");
    session->AutoInviteNames = {QStringLiteral("carol")};
    session->AutoInviteLengths = {QStringLiteral("7")};
    line("bob wants to resume a saved match with you.");
    const QJsonObject state = SessionStateJson(*session);
    EXPECT_EQ(state.value("AutoInviteNames").toArray(), QJsonArray({"carol"}));
    EXPECT_EQ(state.value("AutoInviteLengths").toArray(), QJsonArray({"7"}));
    EXPECT_TRUE(state.value("JoinAwaitsRepBot").toBool());
    const QJsonObject join = state.value("FJoin").toObject();
    EXPECT_TRUE(join.value("Visible").toBool());
    EXPECT_EQ(join.value("Caption").toString(), "Join bob");
    EXPECT_EQ(join.value("Label1").toString(), "bob wants to resume a saved match with you.");
    EXPECT_EQ(join.value("Memo1").toArray().at(0).toString(), "Name : bob");
    EXPECT_FALSE(join.value("LProb").toObject().value("Visible").toBool()) << "a resume";
}

} // namespace
