#include "../protocol/SessionFixture.h"
#include "MatchRecordFixture.h"

#include "protocol/StateJson.h"
#include "records/MatchFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

// The file's lines, CR LF line ends checked and stripped.
QStringList fileLines(const QByteArray& text)
{
    EXPECT_TRUE(text.endsWith("\r\n"));
    QStringList lines = QString::fromLatin1(text).split(QStringLiteral("\r\n"));
    lines.removeLast();
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains(QChar('\n')) || line.contains(QChar('\r')))
            << line.toStdString();
    return lines;
}

// The move lines of a one-game match with these rows.
QStringList moveLines(const QVector<RecordRow>& rows)
{
    const TPositions start = GameStart("You", 0, "someone", 0, 5);
    return fileLines(MatchFileText({MakeGame(start, rows)}, start)).mid(4);
}

QString pad33(const QString& text)
{
    return text.leftJustified(33, QChar(' '));
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(MatchFileText, WorkedExampleOfTheLayout)
{
    const TPositions start = GameStart("You", 0, "someone", 0, 5);
    const QVector<TGames> games {MakeGame(start,
        {
            {"53 13/8 13/10", "64 1/7 12/16"},
            {"Doubles", "Gives up"},
            {"Wins 1 points", ""},
        })};
    // The result line is padded like every first-column text; everything else is byte for byte.
    const QByteArray expected = " 5 point match\r\n"
                                " \r\n"
                                " Game 1\r\n"
                                " You : 0                         someone : 0\r\n"
                                "  1) 53: 13/8 13/10              64: 24/18 13/9\r\n"
                                "  2)   Doubles => 2              Drops\r\n"
                                " \r\n"
                                " Wins 1 points                   \r\n";
    EXPECT_EQ(MatchFileText(games, start), expected);
}

TEST(MatchFileText, HalfMovesOfBothColumns)
{
    struct Case {
        const char* what;
        RecordRow row;
        QString line;
    };
    const QVector<Case> cases {
        {"bar and off in the first column", {"64 bar/21 6/off", ""}, pad33("  1) 64: 25/21 6/0")},
        {"second column flipped, bar and off kept", {"-", "31 bar/3 21/off"},
            pad33("  1)  ") + "31: 25/22 4/0"},
        {"second player moving with colour 1", {"-", "63 13/7 7/4"},
            pad33("  1)  ") + "63: 12/18 18/21"},
        {"second player moving with colour -1", {"-", "63 12/18 18/21"},
            pad33("  1)  ") + "63: 13/7 7/4"},
        {"blocked rolls", {"65 Can't move", "43 Can't move"}, pad33("  1) 65:") + "43:"},
        {"a double taken", {"Doubles", "Accepts"}, pad33("  1)   Doubles => 2") + " Takes"},
        {"a double after a move", {"21 13/11 6/5", "Doubles"},
            pad33("  1) 21: 13/11 6/5") + "  Doubles => 2"},
        {"the first player takes", {"Accepts", ""}, pad33("  1)  Takes")},
        {"a double refused in the first column", {"Gives up", ""}, pad33("  1) Drops")},
        {"a double refused in the second column", {"Doubles", "Gives up"},
            pad33("  1)   Doubles => 2") + "Drops"},
        {"a roll kept without its move", {"Dice: 6 4", "Dice: 2 1"}, pad33("  1) 64:") + "21:"},
        {"an empty row", {"", ""}, pad33("  1) ")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(moveLines({c.row}), QStringList {c.line}) << c.what;
}

TEST(MatchFileText, CubeValueIsTheCubeAfterTheDouble)
{
    const QStringList lines = moveLines({
        {"Doubles", "Accepts"},
        {"21 13/11 6/5", "Doubles"},
        {"Accepts", "31 1/4 1/2"},
        {"Doubles", "Gives up"},
    });
    EXPECT_EQ(lines.at(0), pad33("  1)   Doubles => 2") + " Takes");
    EXPECT_EQ(lines.at(1), pad33("  2) 21: 13/11 6/5") + "  Doubles => 4");
    EXPECT_EQ(lines.at(3), pad33("  4)   Doubles => 8") + "Drops");
    // The sign the record gives the cube (who owns it) is not written.
    const TPositions start = GameStart("You", 0, "someone", 0, 5);
    TGames game = MakeGame(start, {{"Doubles", ""}});
    game.PlayerPositions[0].Cube = -2;
    EXPECT_EQ(fileLines(MatchFileText({game}, start)).at(4), pad33("  1)   Doubles => 2"));
}

TEST(MatchFileText, RowNumbersAndLongFirstHalves)
{
    // Ninety-nine placeholder rows, then a hundredth whose first half is 33 characters long.
    QVector<RecordRow> rows(99, {"-", "11 1/2 1/2 1/2 1/2"});
    rows.append(RecordRow {"66 24/18 24/18 24/18 24/18", "51 1/6 6/7"});
    const QStringList lines = moveLines(rows);
    EXPECT_EQ(lines.at(8), pad33("  9)  ") + "11: 24/23 24/23 24/23 24/23");
    EXPECT_EQ(lines.at(9), pad33(" 10)  ") + "11: 24/23 24/23 24/23 24/23");
    EXPECT_EQ(lines.at(99), " 100) 66: 24/18 24/18 24/18 24/1851: 24/19 19/18");
}

TEST(MatchFileText, ResultRows)
{
    // A result in the second column drops its row's first half but still counts the row.
    EXPECT_EQ(moveLines({
                  {"53 13/8 13/10", "64 1/7 12/16"},
                  {"62 6/off 2/off", "Wins 2 points"},
              }),
        (QStringList {"  1) 53: 13/8 13/10              64: 24/18 13/9", " ",
            QString(34, QChar(' ')) + "Wins 2 points"}));
    EXPECT_EQ(moveLines({
                            {"Gives up", ""},
                            {"", "Wins 1 points"},
                            {"21 13/11 6/5", ""},
                        })
                  .last(),
        pad33("  3) 21: 13/11 6/5"));
    // A result in the first column ignores the second.
    EXPECT_EQ(moveLines({{"Wins 4 points and the match", "64 1/7 12/16"}}),
        (QStringList {" ", pad33(" Wins 4 points and the match")}));
}

TEST(MatchFileText, GamesInOrderWithHeadersFromTheSecondRow)
{
    const TPositions current = GameStart("alice", 3, "bob", 2, 3);
    // The first row of game 1 was copied before the score of the new game was known.
    TGames first = MakeGame(GameStart("alice", 0, "bob", 0, 3),
        {
            {"31 8/5 6/5", "42 1/5 1/3"},
            {"Wins 1 points", ""},
        });
    first.PlayerPositions[0].PlayerScore = 7;
    const QVector<TGames> games {
        first,
        MakeGame(GameStart("alice", 1, "bob", 0, 3), {{"-", "21 1/3 1/2"}, {"", "Wins 2 points"}}),
        MakeGame(GameStart("alice", 1, "bob", 2, 3), {{"Wins 2 points and the match", ""}}),
        TGames(),
    };
    const QStringList lines = fileLines(MatchFileText(games, current));
    const QStringList expected {
        " 3 point match",
        " ",
        " Game 1",
        pad33(" alice : 0") + "bob : 0",
        pad33("  1) 31: 8/5 6/5") + "42: 24/20 24/22",
        " ",
        pad33(" Wins 1 points"),
        " Game 2",
        pad33(" alice : 1") + "bob : 0",
        pad33("  1)  ") + "21: 24/22 24/23",
        " ",
        QString(34, QChar(' ')) + "Wins 2 points",
        " Game 3",
        pad33(" alice : 1") + "bob : 2",
        " ",
        pad33(" Wins 2 points and the match"),
        " Game 4",
        pad33(" alice : 3") + "bob : 2",
    };
    EXPECT_EQ(lines, expected);
}

TEST(MatchFile, FlipPoint)
{
    const QVector<std::pair<QString, QString>> cases {
        {"1", "24"},
        {"24", "1"},
        {"13", "12"},
        {"7", "18"},
        {"0", "0"},
        {"25", "25"},
        {"bar", "bar"},
        {"off", "off"},
        {"", ""},
        {"-3", "-3"},
        {"07", "07"},
        {"x1", "x1"},
    };
    for (const auto& [point, flipped] : cases)
        EXPECT_EQ(FlipPoint(point), flipped) << point.toStdString();
}

TEST(MatchFile, FileName)
{
    const TPositions p = GameStart("You", 0, "someone", 0, 5);
    const QDateTime at(QDate(2024, 3, 7), QTime(14, 5, 9));
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(MatchFileName(p, at, us), "3_7_24 2_05_09 PMYou_someone.mat");
    EXPECT_EQ(MatchFileName(p, at, de), "07.03.24 14_05_09You_someone.mat");
    EXPECT_EQ(
        MatchFileName(p, QDateTime(QDate(2024, 3, 7), QTime(0, 0)), de), "07.03.24You_someone.mat");
    EXPECT_EQ(MatchFileName(p, QDateTime(QDate(2024, 3, 7), QTime(0, 0, 0, 1)), de),
        "07.03.24 00_00_00You_someone.mat");
    // Names never lead out of the folder.
    EXPECT_EQ(
        MatchFileName(GameStart("../x", 0, "a\\b", 0, 1), at, de), "07.03.24 14_05_09.._x_a_b.mat");
}

class MatchFileSession : public SessionTest {
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        session->CurrentPosition = GameStart("alice", 0, "bob", 0, 1);
        session->Games = {MakeGame(session->CurrentPosition,
            {
                {"53 13/8 13/10", "64 1/7 12/16"},
                {"", "Wins 1 points and the match"},
            })};
    }

    QString savedFolder() const { return folder.filePath("Saved"); }
    QStringList savedFiles() const
    {
        return QDir(savedFolder()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    const QDateTime endedAt {QDate(2024, 3, 7), QTime(14, 5, 9)};
};

TEST_F(MatchFileSession, CreatesTheSavedFolderAndRecordsThePath)
{
    ASSERT_FALSE(QFileInfo::exists(savedFolder()));
    QString error;
    const QString path = WriteMatchFile(*session, endedAt, &error);
    ASSERT_FALSE(path.isEmpty()) << error.toStdString();
    EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(savedFolder()).absoluteFilePath());
    EXPECT_EQ(QFileInfo(path).fileName(),
        MatchFileName(session->CurrentPosition, endedAt, QLocale::system()));
    EXPECT_EQ(readAll(path), MatchFileText(session->Games, session->CurrentPosition));
    EXPECT_EQ(session->LastMatchFile, path);
    EXPECT_EQ(SessionStateJson(*session).value("LastMatchFile").toString(), path);
}

TEST_F(MatchFileSession, MatchesEndingInTheSameSecondKeepTheirOwnFiles)
{
    const QString first = WriteMatchFile(*session, endedAt, nullptr);
    const QByteArray firstText = readAll(first);
    session->Games[0].OpponentPositions[1].MoveText = "Wins 2 points and the match";
    const QString second = WriteMatchFile(*session, endedAt, nullptr);
    const QString third = WriteMatchFile(*session, endedAt, nullptr);
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(QFileInfo(second).fileName(), QFileInfo(first).completeBaseName() + " (2).mat");
    EXPECT_EQ(QFileInfo(third).fileName(), QFileInfo(first).completeBaseName() + " (3).mat");
    EXPECT_EQ(readAll(first), firstText);
    EXPECT_TRUE(readAll(second).contains("Wins 2 points"));
    EXPECT_EQ(session->LastMatchFile, third);
    EXPECT_EQ(savedFiles().size(), 3);
}

TEST_F(MatchFileSession, AFailedWriteIsReportedAndTheIntakeGoesOn)
{
    session->Watching = true;
    writeFile("Saved", "not a folder");
    WriteMatchFileAtMatchEnd(*session);
    ASSERT_EQ(memo().size(), 1);
    EXPECT_TRUE(memo().at(0).startsWith("**The match file could not be written: "))
        << memo().at(0).toStdString();
    EXPECT_TRUE(session->LastMatchFile.isEmpty());
    EXPECT_TRUE(rec.prompter.boxes.isEmpty());
    // The next server line is handled as usual.
    receive("hello\r\n");
    EXPECT_EQ(memo().size(), 2);
    EXPECT_EQ(memo().last(), "hello");
}

TEST_F(MatchFileSession, AReadOnlyFolderLeavesNoFile)
{
    ASSERT_TRUE(QDir().mkpath(savedFolder()));
    QFile::setPermissions(savedFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (access(QFile::encodeName(savedFolder()).constData(), W_OK) == 0) {
        QFile::setPermissions(savedFolder(),
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        GTEST_SKIP() << "this user can write into read-only folders";
    }
    session->Playing = true;
    WriteMatchFileAtMatchEnd(*session);
    QFile::setPermissions(
        savedFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(memo().size(), 1);
    EXPECT_TRUE(memo().at(0).contains(savedFolder())) << memo().at(0).toStdString();
    EXPECT_TRUE(savedFiles().isEmpty()) << savedFiles().join(",").toStdString();
    EXPECT_TRUE(session->LastMatchFile.isEmpty());
}

TEST_F(MatchFileSession, SettingsDecideWhetherTheMatchIsSaved)
{
    struct Case {
        bool playing, watching, savePlayed, saveWatched, written;
    };
    const QVector<Case> cases {
        {true, false, true, false, true},
        {true, false, false, true, false},
        {false, true, false, true, true},
        {false, true, true, false, false},
        {false, false, true, true, false},
        {true, true, false, true, true},
    };
    for (const Case& c : cases) {
        session->LastMatchFile.clear();
        session->Playing = c.playing;
        session->Watching = c.watching;
        session->Settings.SavePlayedMatches = c.savePlayed;
        session->Settings.SaveWatchedMatches = c.saveWatched;
        WriteMatchFileAtMatchEnd(*session);
        EXPECT_EQ(!session->LastMatchFile.isEmpty(), c.written)
            << c.playing << c.watching << c.savePlayed << c.saveWatched;
    }
    EXPECT_EQ(savedFiles().size(), 3);
    EXPECT_TRUE(memo().isEmpty());
}
