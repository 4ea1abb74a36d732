#include "../protocol/SessionFixture.h"

#include "chat/ChatStretch.h"
#include "protocol/MatchStartStretch.h"
#include "protocol/StateJson.h"

#include <QDateTime>
#include <QJsonArray>
#include <QLocale>
#include <QSignalSpy>

namespace {

const QColor Black(0, 0, 0);
const QColor Green(0, 128, 0);

struct Shown {
    QString text;
    QColor colour;
    bool operator==(const Shown& o) const { return text == o.text && colour == o.colour; }
};

void PrintTo(const Shown& s, std::ostream* os)
{
    *os << '"' << s.text.toStdString() << "\" " << s.colour.name().toStdString();
}

QVector<Shown> shown(const TextLog& log)
{
    QVector<Shown> out;
    for (const TextLog::Line& l : log.lines())
        out.append({l.text, l.colour});
    return out;
}

class ChatTest : public SessionTest {
protected:
    void befriend(const QStringList& friends, const QStringList& villains)
    {
        for (const QString& name : friends)
            session->LVFriends.Add({name, "0", "0", "Offline"});
        for (const QString& name : villains)
            session->LVVilains.Add({name, "0", "0", "Offline"});
    }
    // Forgets what was sent so far (the first data asks for the saved games).
    void startSending()
    {
        rec.clock.runUntilIdle();
        rec.link.sent.clear();
    }
    QByteArray sent()
    {
        rec.clock.runUntilIdle();
        return rec.link.sent;
    }
    void seePlayer(const QString& name)
    {
        receive(QStringLiteral("5 %1 - - 1 0 1500.00 100 12 1593778125 host.example.net - -\r\n6\r\n")
                    .arg(name)
                    .toLatin1());
        SelectPlayer(*session, name);
        ASSERT_EQ(SelectedPlayerName(*session), name);
    }
};

const QStringList DefaultPrivate{"Kibitz", "Whisper"};

struct RoutingCase {
    const char* name;
    QStringList friends;
    QStringList villains;
    QByteArray lines;
    QVector<Shown> publicPane;
    QVector<Shown> privatePane;
    QStringList privateChoices;
    int privateSelected;
    // Text that must not reach the system memo.
    QString notInMemo;
};

class ChatRouting : public ChatTest, public ::testing::WithParamInterface<RoutingCase> {};

TEST_P(ChatRouting, RoutesColoursAndHides)
{
    const RoutingCase& c = GetParam();
    befriend(c.friends, c.villains);
    receive(c.lines);
    EXPECT_EQ(shown(session->MPublicMessages), c.publicPane);
    EXPECT_EQ(shown(session->MPrivateMessages), c.privatePane);
    EXPECT_EQ(session->CBPrivate.Items(), c.privateChoices);
    EXPECT_EQ(session->CBPrivate.ItemIndex(), c.privateSelected);
    if (!c.notInMemo.isEmpty())
        EXPECT_FALSE(memo().join('\n').contains(c.notInMemo)) << memo().join('\n').toStdString();
    EXPECT_FALSE(session->FFibsMessage.Visible());
}

const RoutingCase RoutingCases[] = {
    {"ShoutFromFriendInGreen", {"bob"}, {}, "13 bob hi all\r\n",
     {{"bob hi all", Green}}, {}, DefaultPrivate, 0, "hi all"},
    {"ShoutFromStrangerInBlack", {}, {}, "13 bob hi all\r\n",
     {{"bob hi all", Black}}, {}, DefaultPrivate, 0, "hi all"},
    {"ShoutFromVillainHidden", {}, {"bob"}, "13 bob hi all\r\n", {}, {}, DefaultPrivate, 0,
     "hi all"},
    {"OwnShoutEcho", {}, {}, "17 hello\r\n", {{"hello", Black}}, {}, DefaultPrivate, 0, "hello"},
    {"OwnShoutEchoGreenWhenFirstWordIsAFriend", {"hello"}, {}, "17 hello world\r\n",
     {{"hello world", Green}}, {}, DefaultPrivate, 0, {}},
    {"TellOffersReplyTarget", {}, {}, "12 bob see you\r\n", {}, {{"bob see you", Black}},
     {"Kibitz", "Whisper", "Tell bob"}, 2, "see you"},
    {"SecondTellSelectsExistingEntry", {}, {}, "12 bob see you\r\n12 carol hi\r\n12 bob again\r\n",
     {}, {{"bob see you", Black}, {"carol hi", Black}, {"bob again", Black}},
     {"Kibitz", "Whisper", "Tell bob", "Tell carol"}, 2, {}},
    {"TellFromFriendStaysBlack", {"bob"}, {}, "12 bob see you\r\n", {}, {{"bob see you", Black}},
     {"Kibitz", "Whisper", "Tell bob"}, 2, {}},
    {"TellMentioningRepBotNotShownButReplyTarget", {}, {}, "12 bob ask RepBot\r\n", {}, {},
     {"Kibitz", "Whisper", "Tell bob"}, 2, "ask RepBot"},
    {"RepBotIsNoReplyTarget", {}, {}, "12 RepBot bob is rated 3 stars\r\n", {}, {}, DefaultPrivate,
     0, "rated"},
    {"OwnTellEchoGreenThenReplyBlack", {}, {}, "16 bob see you\r\n12 bob ok\r\n", {},
     {{"You told : bob see you", Green}, {"bob ok", Black}}, {"Kibitz", "Whisper", "Tell bob"}, 2,
     {}},
    {"TellFromVillainHiddenEverywhere", {}, {"bob"}, "12 bob buy gold\r\n", {}, {}, DefaultPrivate,
     0, "buy gold"},
    {"OwnTellToVillainHidden", {}, {"bob"}, "16 bob go away\r\n", {}, {}, DefaultPrivate, 0,
     "go away"},
    {"WhisperFromVillainShown", {}, {"bob"}, "14 bob nice roll\r\n", {}, {{"bob nice roll", Black}},
     DefaultPrivate, 0, {}},
    {"KibitzFromVillainShown", {}, {"bob"}, "15 bob nice roll\r\n", {}, {{"bob nice roll", Black}},
     DefaultPrivate, 0, {}},
    {"WhisperAndKibitzEchoesGreen", {}, {}, "18 well played\r\n19 gg\r\n", {},
     {{"You whispered : well played", Green}, {"You kibitzed : gg", Green}}, DefaultPrivate, 0, {}},
    {"SenderMissingIsNobody", {"nil"}, {"nil"}, "12\r\n13\r\n", {{"", Black}}, {{"", Black}},
     DefaultPrivate, 0, {}},
    {"TextStartingWithDigitsIsNoChatLine", {}, {}, "19th hole\r\n1234 lines\r\n", {}, {},
     DefaultPrivate, 0, {}},
};

INSTANTIATE_TEST_SUITE_P(Lines, ChatRouting, ::testing::ValuesIn(RoutingCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChatTest, PrivateLinesBringChatTabForwardWhenAsked)
{
    struct {
        bool showChatTab;
        QByteArray lines;
        int wanted;
    } cases[] = {
        {true, "12 bob hi\r\n", 1},
        {true, "12 bob ask RepBot\r\n", 1},
        {true, "16 bob hi\r\n14 bob x\r\n15 bob y\r\n18 z\r\n19 w\r\n", 5},
        {true, "13 bob shout\r\n17 own shout\r\n10 bob\r\n", 0},
        {true, "12 carol hidden\r\n", 0},
        {false, "12 bob hi\r\n", 0},
    };
    befriend({}, {"carol"});
    for (const auto& c : cases) {
        session->Settings.ShowChatTab = c.showChatTab;
        QSignalSpy spy(session.get(), &ClientSession::chatPageWanted);
        receive(c.lines);
        EXPECT_EQ(spy.count(), c.wanted) << c.lines.constData();
    }
}

TEST_F(ChatTest, StoredMessageGoesToInBoxAndConsole)
{
    const QTime before = QTime::currentTime();
    receive("There are messages for you:\r\n9 bob 1593778125 call me\r\n");
    const QTime after = QTime::currentTime();

    const MessagesBox& box = session->FFibsMessage;
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.PageIndex(), MessagesBox::InBoxPage);
    ASSERT_EQ(box.LVInBox.Rows().size(), 1u);
    const TMessageRow& row = box.LVInBox.Rows()[0];
    EXPECT_EQ(row.Caption, "bob");
    EXPECT_EQ(row.Text, "call me ");
    const QLocale locale = QLocale::system();
    EXPECT_TRUE(row.Date == locale.toString(before, QLocale::LongFormat)
                || row.Date == locale.toString(after, QLocale::LongFormat))
        << row.Date.toStdString();
    EXPECT_EQ(memo(), (QStringList{"There are messages for you:", "call me "}));
}

TEST_F(ChatTest, StoredMessageHiddenWindowShownAgainInFront)
{
    session->FFibsMessage.Show(MessagesBox::SendPage);
    session->FFibsMessage.Hide();
    QSignalSpy spy(&session->FFibsMessage, &MessagesBox::showWanted);
    receive("9 bob 1 a\r\n9 carol 2 b\r\n");
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toInt(), MessagesBox::InBoxPage);
    EXPECT_TRUE(session->FFibsMessage.Visible());
    EXPECT_EQ(session->FFibsMessage.LVInBox.Rows().size(), 2u);
}

// Someone else's words are shown, never taken for what the server says.
TEST_F(ChatTest, StoredMessageTextIsNeverReadAsAServerLine)
{
    session->Watching = true;
    receive("9 mallory 1 2 o'clock?\r\n"
            "9 mallory 1 mallory bans you from watching.\r\n"
            "9 mallory 1 ** carol wants to play a 5 point match with you.\r\n");
    EXPECT_EQ(memo(), (QStringList{"2 o'clock? ", "mallory bans you from watching. ",
                                   "** carol wants to play a 5 point match with you. "}));
    EXPECT_TRUE(session->Watching);
    EXPECT_TRUE(rec.prompter.boxes.isEmpty());
}

TEST_F(ChatTest, StoredMessageWithoutTextAddsEmptyRow)
{
    receive("9 bob 1593778125\r\n");
    ASSERT_EQ(session->FFibsMessage.LVInBox.Rows().size(), 1u);
    EXPECT_EQ(session->FFibsMessage.LVInBox.Rows()[0].Text, "");
    EXPECT_TRUE(memo().isEmpty());
}

TEST_F(ChatTest, DeliveryNoticesFillSentList)
{
    const QDate today = QDate::currentDate();
    receive("10 bob\r\n11 carol\r\n");
    const QDate later = QDate::currentDate();
    const QLocale locale = QLocale::system();
    const auto& rows = session->FFibsMessage.LVSend.Rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Caption, "bob");
    EXPECT_EQ(rows[0].Text, "Message delivered");
    EXPECT_EQ(rows[1].Caption, "carol");
    EXPECT_EQ(rows[1].Text, "Message saved");
    for (const TMessageRow& row : rows)
        EXPECT_TRUE(row.Date == locale.toString(today, QLocale::ShortFormat)
                    || row.Date == locale.toString(later, QLocale::ShortFormat));
    EXPECT_FALSE(session->FFibsMessage.Visible());
    EXPECT_TRUE(memo().isEmpty());
}

TEST_F(ChatTest, BanFromWatchingStopsWatchingWithABox)
{
    session->Watching = true;
    receive("bob bans you from watching.\r\n");
    EXPECT_FALSE(session->Watching);
    EXPECT_EQ(rec.prompter.boxes, QStringList{"Tabulon | bob bans you from watching."});
    EXPECT_TRUE(memo().isEmpty());
}

TEST_F(ChatTest, BanQuotedInChatIsNoBan)
{
    befriend({}, {"mallory"});
    session->Watching = true;
    receive("12 mallory bans you from watching.\r\n"
            "12 bob RepBot bans you from watching.\r\n"
            "14 mallory bans you from watching.\r\n");
    EXPECT_TRUE(session->Watching);
    EXPECT_TRUE(rec.prompter.boxes.isEmpty());
}

struct CommandCase {
    const char* name;
    bool connected;
    // Selects a private command: an entry, "" for Kibitz, or text the user typed ("typed:").
    QString privateChoice;
    QString shout;
    QString privateText;
    QByteArray expected;
};

class ChatCommands : public ChatTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(ChatCommands, SendsOneLinePerInput)
{
    const CommandCase& c = GetParam();
    receive("12 bob hello\r\n");
    if (c.privateChoice.startsWith("typed:"))
        session->CBPrivate.EditText(c.privateChoice.mid(6));
    else if (!c.privateChoice.isEmpty())
        session->CBPrivate.SelectOrAdd(c.privateChoice);
    else
        session->CBPrivate.SetItemIndex(0);
    startSending();
    rec.link.connected = c.connected;
    EShoutKeyDown(*session, c.shout);
    EKibitzKeyDown(*session, c.privateText);
    EXPECT_EQ(sent(), c.expected);
}

const CommandCase CommandCases[] = {
    {"ShoutAndKibitz", true, "", "hi all", "nice", "shout hi all\r\nKibitz nice\r\n"},
    {"EmptyInputsStillSent", true, "", "", "", "shout \r\nKibitz \r\n"},
    {"WhisperEntry", true, "Whisper", "x", "gg", "shout x\r\nWhisper gg\r\n"},
    {"ReplyTargetTells", true, "Tell bob", "x", "see you", "shout x\r\nTell bob see you\r\n"},
    {"LineBreaksBecomeBlanks", true, "Tell bob", "a\r\nb\nc\rd", "one\ntwo\r\nshout three",
     "shout a b c d\r\nTell bob one two shout three\r\n"},
    {"TypedPrivateCommandSendsNothing", true, "typed:Tell carol", "x", "hi", "shout x\r\n"},
    {"NothingWhileDisconnected", false, "", "hi", "nice", ""},
};

INSTANTIATE_TEST_SUITE_P(Inputs, ChatCommands, ::testing::ValuesIn(CommandCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChatTest, TellCommandAddsEntryOnce)
{
    seePlayer("bob");
    Tell1Click(*session);
    session->CBPrivate.SetItemIndex(0);
    Tell1Click(*session);
    EXPECT_EQ(session->CBPrivate.Items(), (QStringList{"Kibitz", "Whisper", "Tell bob"}));
    EXPECT_EQ(session->CBPrivate.Text(), "Tell bob");

    SelectPlayer(*session, QString());
    session->CBPrivate.SetItemIndex(1);
    Tell1Click(*session);
    EXPECT_EQ(session->CBPrivate.Text(), "Whisper");
}

TEST_F(ChatTest, SendMessageCommandOpensWritePageForPlayer)
{
    seePlayer("bob");
    MessagesBox& box = session->FFibsMessage;
    QSignalSpy focus(&box, &MessagesBox::writeFocusWanted);

    rec.link.connected = false;
    Message2Click(*session);
    EXPECT_FALSE(box.Visible());

    rec.link.connected = true;
    Message2Click(*session);
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.PageIndex(), MessagesBox::WritePage);
    EXPECT_EQ(box.CBRecipient.Text(), "bob");
    EXPECT_EQ(focus.count(), 1);
}

TEST_F(ChatTest, MessagesBoxOffersEachFriendOnce)
{
    befriend({"carol", "alice"}, {"mallory"});
    MessagesBox& box = session->FFibsMessage;
    box.CBRecipient.SetText("bob");
    Showmessagesbox1Click(*session);
    Showmessagesbox1Click(*session);
    EXPECT_EQ(box.CBRecipient.Items(), (QStringList{"alice", "carol"}));
    EXPECT_EQ(box.CBRecipient.Text(), "alice");
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.PageIndex(), MessagesBox::InBoxPage);
}

TEST_F(ChatTest, MessagesBoxWithoutFriendsSelectsNoRecipient)
{
    MessagesBox& box = session->FFibsMessage;
    box.CBRecipient.SetText("bob");
    Showmessagesbox1Click(*session);
    EXPECT_TRUE(box.CBRecipient.Items().isEmpty());
    EXPECT_EQ(box.CBRecipient.ItemIndex(), -1);
    EXPECT_EQ(box.CBRecipient.Text(), "");
}

TEST_F(ChatTest, SendWritesLineBreaksAsUnderscores)
{
    struct {
        const char* name;
        bool connected;
        QString recipient;
        QString written;
        QString memoAfter;
        QByteArray expected;
    } cases[] = {
        {"three lines", true, "bob", "see\r\nyou\nsoon", "see_you_soon", "message bob see_you_soon\r\n"},
        {"paragraph separators", true, "bob", QString("a") + QChar::ParagraphSeparator + "b", "a_b",
         "message bob a_b\r\n"},
        {"no recipient", true, "", "hi\nthere", "hi_there", ""},
        {"blank recipient", true, "  ", "hi", "hi", ""},
        {"recipient cannot add a command", true, "bob\r\nshout x", "hi", "hi",
         "message bob shout x hi\r\n"},
        {"disconnected", false, "bob", "hi\nthere", "hi_there", ""},
    };
    MessagesBox& box = session->FFibsMessage;
    for (const auto& c : cases) {
        startSending();
        rec.link.connected = c.connected;
        box.CBRecipient.SetText(c.recipient);
        box.SetWriteMessage(c.written);
        BSendClick(*session);
        EXPECT_EQ(box.MWriteMessage(), c.memoAfter) << c.name;
        EXPECT_EQ(sent(), c.expected) << c.name;
    }
}

TEST_F(ChatTest, ReceivedUnderscoresShownAsLineBreaks)
{
    receive("9 bob 1 see_you_soon\r\n9 carol 1 plain\r\n");
    MessagesBox& box = session->FFibsMessage;
    box.SelectInBoxRow(0);
    EXPECT_EQ(box.MMessage(), "see\r\nyou\r\nsoon ");
    box.SelectInBoxRow(1);
    EXPECT_EQ(box.MMessage(), "plain ");
    box.SelectInBoxRow(5);
    EXPECT_EQ(box.MMessage(), "plain ");
}

TEST_F(ChatTest, StateShowsPanesChoicesAndMessagesWindow)
{
    befriend({"bob"}, {});
    receive("13 bob hi all\r\n12 carol psst\r\n9 dave 1 call_me\r\n11 erin\r\n");
    const QJsonObject state = SessionStateJson(*session);
    EXPECT_EQ(state["MPublicMessages"].toArray(),
              (QJsonArray{QJsonObject{{"text", "bob hi all"}, {"colour", "#008000"}}}));
    EXPECT_EQ(state["MPrivateMessages"].toArray(),
              (QJsonArray{QJsonObject{{"text", "carol psst"}, {"colour", "#000000"}}}));
    EXPECT_EQ(state["CBPrivate"].toObject(),
              (QJsonObject{{"items", QJsonArray{"Kibitz", "Whisper", "Tell carol"}},
                           {"selected", 2},
                           {"text", "Tell carol"}}));
    const QJsonObject box = state["FFibsMessage"].toObject();
    EXPECT_TRUE(box["Visible"].toBool());
    EXPECT_EQ(box["PageIndex"].toInt(), 0);
    const QJsonArray inBox = box["LVInBox"].toArray();
    ASSERT_EQ(inBox.size(), 1);
    EXPECT_EQ(inBox[0].toArray()[0].toString(), "dave");
    EXPECT_EQ(inBox[0].toArray()[2].toString(), "call_me ");
    const QJsonArray sentList = box["LVSend"].toArray();
    ASSERT_EQ(sentList.size(), 1);
    EXPECT_EQ(sentList[0].toArray()[2].toString(), "Message saved");
}

} // namespace
