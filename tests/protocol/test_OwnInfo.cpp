#include "SessionFixture.h"

#include "protocol/OwnInfoStretch.h"
#include "ratings/RatingHistory.h"

#include <QDateTime>
#include <QDir>
#include <QtEndian>

#include <cstring>

namespace {

const QByteArray OwnInfoLine = "2 alice 1 1 0 1 0 0 1 0 245 1 0 0 1 1523.10 0 1 0 0 1 UTC";

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

double recordDate(const QByteArray& record)
{
    const quint64 bits = qFromLittleEndian<quint64>(record.constData());
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

TEST_F(SessionTest, OwnInfoLineFillsOwnInfoAndTheToggleButtons)
{
    for (const QByteArray& tail : {QByteArray(), QByteArray("   ")}) {
        session->OwnInfo = TOwnInfo();
        session->ToolButtons.setPressed("TBDouble", true);
        receive(OwnInfoLine + tail + "\r\n");
        const TOwnInfo& o = session->OwnInfo;
        EXPECT_EQ(o.Name, "alice");
        EXPECT_TRUE(o.AllowPip);
        EXPECT_TRUE(o.AutoBoard);
        EXPECT_FALSE(o.AutoDouble);
        EXPECT_TRUE(o.AutoMove);
        EXPECT_FALSE(o.Away);
        EXPECT_TRUE(o.Crawford);
        EXPECT_FALSE(o.Double);
        EXPECT_EQ(o.Experience, 245);
        EXPECT_TRUE(o.Greedy);
        EXPECT_TRUE(o.Notify);
        EXPECT_EQ(o.Rating, 1523);
        EXPECT_FALSE(o.Ratings);
        EXPECT_TRUE(o.Ready);
        EXPECT_EQ(o.Redoubles, 0);
        EXPECT_TRUE(o.Silent);
        EXPECT_EQ(o.Timezone, "UTC");
        EXPECT_TRUE(session->ToolButtons.TBAutomove);
        EXPECT_FALSE(session->ToolButtons.TBDouble);
        EXPECT_TRUE(session->ToolButtons.TBGreedy);
        EXPECT_TRUE(session->ToolButtons.TBReady);
    }
    EXPECT_TRUE(memo().isEmpty()) << memo().join("|").toStdString();
}

TEST_F(SessionTest, UnlimitedRedoublesDoNotLoseTheSettingsAfterThem)
{
    receive("2 bob 1 1 0 0 0 0 1 1 3021 0 1 0 1 1544.21 0 0 unlimited 1 1 Europe/Sofia\r\n");
    EXPECT_EQ(session->OwnInfo.Rating, 1544);
    EXPECT_TRUE(session->OwnInfo.Report);
    EXPECT_TRUE(session->OwnInfo.Silent);
    EXPECT_EQ(session->OwnInfo.Timezone, "Europe/Sofia");
}

TEST_F(SessionTest, ACutOwnInfoLineSetsWhatItHasAndWritesNoRecord)
{
    session->OwnInfo.Timezone = "UTC";
    session->OwnInfo.Rating = 1500;
    session->Settings.Debug = true;
    receive("2 carol 1 0 1\r\nnext\r\n");
    EXPECT_EQ(session->OwnInfo.Name, "carol");
    EXPECT_TRUE(session->OwnInfo.AllowPip);
    EXPECT_TRUE(session->OwnInfo.AutoDouble);
    EXPECT_EQ(session->OwnInfo.Rating, 1500);
    EXPECT_EQ(session->OwnInfo.Timezone, "UTC");
    EXPECT_FALSE(QFile::exists(folder.filePath("carol.rat")));
    EXPECT_EQ(memo(), QStringList{"next"});
    EXPECT_TRUE(session->MDebug.texts().join("\n").contains("own information: word 4"));
}

TEST_F(SessionTest, EveryOwnInfoLineAppendsARatingRecord)
{
    const double before = DaysSince1899(QDateTime::currentDateTime());
    receive(OwnInfoLine + "\r\n");
    receive("2 alice 1 1 0 1 0 0 1 0 246 1 0 0 1 1531.92 0 1 0 0 1 UTC\r\n");
    const double after = DaysSince1899(QDateTime::currentDateTime());
    const QByteArray file = readFile(folder.filePath("alice.rat"));
    ASSERT_EQ(file.size(), 2 * RatingRecordSize);
    EXPECT_EQ(qFromLittleEndian<qint32>(file.constData() + 8), 1523);
    EXPECT_EQ(qFromLittleEndian<qint32>(file.constData() + 24), 1531);
    EXPECT_EQ(file.mid(12, 4), QByteArray(4, '\0'));
    EXPECT_GE(recordDate(file), before);
    EXPECT_LE(recordDate(file.mid(16)), after);
}

TEST(RatingHistory, RecordBytesAndDates)
{
    EXPECT_EQ(EncodeRatingRecord({44015.5, 1523}).toHex(), "00000000f07de540f305000000000000");
    EXPECT_DOUBLE_EQ(DaysSince1899(QDateTime(QDate(2020, 7, 3), QTime(12, 0))), 44015.5);
    EXPECT_DOUBLE_EQ(DaysSince1899(QDateTime(QDate(1899, 12, 31), QTime(6, 0))), 1.25);
}

TEST(RatingHistory, AppendsAfterTheLastWholeRecord)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("bob.rat");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(EncodeRatingRecord({1.0, 1500}) + QByteArray(5, 'x'));
    }
    QString error;
    ASSERT_TRUE(AppendRatingRecord(path, {2.0, 1510}, &error)) << error.toStdString();
    EXPECT_EQ(readFile(path), EncodeRatingRecord({1.0, 1500}) + EncodeRatingRecord({2.0, 1510}));
}

TEST_F(SessionTest, RatingFileThatCannotBeWrittenIsReportedOnceAndLinesGoOn)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("alice.rat"));
    receive(OwnInfoLine + "\r\n");
    receive("2 alice 1 1 0 1 0 0 1 0 246 1 0 0 1 1531.92 0 1 0 0 1 UTC\r\nhello\r\n");
    ASSERT_EQ(memo().size(), 2) << memo().join("|").toStdString();
    EXPECT_TRUE(memo().at(0).startsWith("**Your rating history could not be written to "));
    EXPECT_EQ(memo().at(1), "hello");
    EXPECT_EQ(session->OwnInfo.Rating, 1531);
    EXPECT_EQ(session->OwnInfo.Experience, 246);
}

TEST_F(SessionTest, ALoginNameThatIsNoFileNameWritesNothingOutsideTheFolder)
{
    receive("2 ../evil 1 1 0 1 0 0 1 0 245 1 0 0 1 1523.10 0 1 0 0 1 UTC\r\n");
    EXPECT_FALSE(QFile::exists(folder.filePath("../evil.rat")));
    ASSERT_EQ(memo().size(), 1);
    EXPECT_TRUE(memo().at(0).startsWith("**Your rating history could not be written"));
}

TEST_F(SessionTest, ToggleConfirmationsAreShownInABoxAndChangeNothing)
{
    session->OwnInfo.Ready = false;
    for (const QString& text : ToggleConfirmations)
        receive(text.toLatin1() + "\r\n");
    ASSERT_EQ(rec.prompter.boxes.size(), 8);
    EXPECT_EQ(rec.prompter.boxes.at(0), "Tabulon | You're now refusing to play with someone.");
    EXPECT_EQ(rec.prompter.boxes.at(1), "Tabulon | You're now ready to invite or join someone.");
    EXPECT_EQ(rec.prompter.boxes.at(7), "Tabulon | You will be asked if you want to double.");
    EXPECT_FALSE(session->OwnInfo.Ready);
    EXPECT_TRUE(memo().isEmpty());
    // Other toggles' confirmations are ordinary notices.
    receive("** You won't hear what other players shout.\r\n");
    EXPECT_EQ(rec.prompter.boxes.size(), 8);
    EXPECT_EQ(memo(), QStringList{"** You won't hear what other players shout."});
}

TEST_F(SessionTest, ToggleButtonsSendWithTheirWaitsThenTakeThePressedState)
{
    QList<QPair<qint64, QByteArray>> sends;
    rec.link.onSend = [&](const QByteArray& b) { sends.append({rec.clock.now(), b}); };
    session->ToolButtons.setPressed("TBReady", true);
    TBReadyClick(*session);
    session->ToolButtons.setPressed("TBGreedy", true);
    TBGreedyClick(*session);
    EXPECT_FALSE(session->OwnInfo.Ready);
    rec.clock.advance(999);
    EXPECT_FALSE(session->OwnInfo.Ready);
    rec.clock.runUntilIdle();
    EXPECT_TRUE(session->OwnInfo.Ready);
    EXPECT_TRUE(session->OwnInfo.Greedy);
    // The menu item leaves the button as it is and copies its state.
    session->ToolButtons.setPressed("TBDouble", false);
    session->OwnInfo.Double = true;
    TBDoubleClick(*session);
    TBAutomoveClick(*session);
    rec.clock.runUntilIdle();
    EXPECT_FALSE(session->OwnInfo.Double);
    const QList<QPair<qint64, QByteArray>> expected{{500, "toggle ready\r\n"},
                                                    {1500, "toggle greedy\r\n"},
                                                    {2500, "toggle double\r\n"},
                                                    {3500, "toggle automove\r\n"}};
    EXPECT_EQ(sends, expected);

    rec.link.connected = false;
    session->OwnInfo.Ready = false;
    TBReadyClick(*session);
    rec.clock.runUntilIdle();
    EXPECT_FALSE(session->OwnInfo.Ready);
}

TEST_F(SessionTest, RatingsListingIsCapturedWhileItsWindowAsksForIt)
{
    const QByteArray header = " rank name            rating    Experience\r\n";
    const QByteArray row = "    1 carol           1811.02      15022\r\n";
    const QByteArray own = "*  457 alice           1623.47        245\r\n";
    // Without the window the header is an ordinary line.
    receive(header);
    EXPECT_EQ(memo().size(), 1);
    session->DisplayMemo.clear();

    session->Captures.RatingsWindowExists = true;
    session->RatingsRowsExpected = 1;
    receive(header + row + own + row);
    ASSERT_EQ(session->Captures.LVRating.size(), 2);
    const TRatingRow& first = session->Captures.LVRating.at(0);
    EXPECT_EQ(first.Rank, "1");
    EXPECT_EQ(first.Name, "carol");
    EXPECT_EQ(first.Rating, " 1811.02");
    EXPECT_EQ(first.Experience, "  15022");
    const TRatingRow& mine = session->Captures.LVRating.at(1);
    EXPECT_EQ(mine.Rank, "457");
    EXPECT_EQ(mine.Name, "alice");
    EXPECT_EQ(mine.Experience, "    245");
    EXPECT_FALSE(session->RatingsCapture);
    // The row after the user's own is no longer captured.
    EXPECT_EQ(memo(), QStringList{QString::fromLatin1(row.chopped(2))});
}

TEST_F(SessionTest, GagAndBlindListingsFillTheirListsWhileTheirWindowsAreOpen)
{
    receive("** Gagged users: bob, carol\r\n");
    EXPECT_TRUE(session->Captures.LVGaggedPlayers.isEmpty());
    EXPECT_EQ(memo().size(), 1);

    session->GagListCapture = true;
    session->BlindListCapture = true;
    receive("** Gagged users: bob, carol\r\n** Blinded users: dave\r\n");
    EXPECT_EQ(session->Captures.LVGaggedPlayers, (QStringList{"bob", " carol"}));
    EXPECT_EQ(session->Captures.LVBlindedPlayers, QStringList{"dave"});
    EXPECT_EQ(memo().size(), 1);
}

TEST_F(SessionTest, OpponentLeavingEndsTheMatchAndMarksItSaved)
{
    const QByteArray lines[] = {"bob drops connection. The game was saved.\r\n",
                                "** Player bob has left the game. The game was saved.\r\n"};
    for (const QByteArray& line : lines) {
        session->SavedGames.clear();
        session->LVPlayers.Clear();
        TPlayerRow row;
        row.Caption = "bob";
        session->LVPlayers.Append(row);
        row.Caption = "carol";
        row.SetCell(ColOpponent, "bob");
        session->LVPlayers.Append(row);
        row.Caption = "dave";
        row.SetCell(ColOpponent, "-");
        session->LVPlayers.Append(row);
        session->CurrentPosition.Opponent = "bob";
        session->CurrentPosition.MatchLength = 5;
        session->CurrentPosition.PlayerScore = 2;
        session->CurrentPosition.OpponentScore = 3;
        session->Playing = session->Watching = true;
        session->OwnInfo.Ready = false;
        session->ToolButtons.setPressed("TBReady", false);
        session->SavedListHeaderSeen = true;
        rec.prompter.boxes.clear();

        receive(line);
        EXPECT_FALSE(session->Playing);
        EXPECT_FALSE(session->Watching);
        EXPECT_TRUE(session->OwnInfo.Ready);
        EXPECT_TRUE(session->ToolButtons.TBReady);
        EXPECT_FALSE(session->SavedListHeaderSeen);
        EXPECT_EQ(rec.prompter.boxes, QStringList{"Tabulon | " + QString::fromLatin1(line.chopped(2))});
        ASSERT_EQ(session->SavedGames.size(), 1);
        EXPECT_EQ(session->SavedGames.at(0).opponent, "bob");
        EXPECT_EQ(session->SavedGames.at(0).length, "5");
        EXPECT_EQ(session->SavedGames.at(0).score, "2-3");
        EXPECT_EQ(session->LVPlayers.Row(0).Cell(ColSavedGames), "ML: 5 Score 2-3");
        EXPECT_EQ(session->LVPlayers.Row(1).Cell(ColSavedGames), "ML: 5 Score 2-3");
        EXPECT_EQ(session->LVPlayers.Row(2).Cell(ColSavedGames), "");
    }
    EXPECT_TRUE(memo().isEmpty());
    // Someone else leaving his game is no concern of ours.
    receive("carol drops connection. The game was saved.\r\n");
    EXPECT_EQ(session->SavedGames.size(), 1);
}
