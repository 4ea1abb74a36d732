#include "../protocol/SessionFixture.h"

#include "app/PreferencesStore.h"
#include "app/SettingsFile.h"
#include "app/SettingsStore.h"

#include <QDir>
#include <QSignalSpy>

namespace {

QString ini(const QTemporaryDir& folder)
{
    QFile f(folder.filePath("tabulon.ini"));
    return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

// Every send with the virtual time it left at.
struct SendLog {
    explicit SendLog(RecordingPorts& rec)
    {
        rec.link.onSend = [this, &rec](const QByteArray& b) { sends.append({rec.clock.now(), b}); };
    }
    QList<QPair<qint64, QByteArray>> sends;
};

} // namespace

TEST(ProfileNames, StoredWithBlanksAsUnderscoresAndTheLastNameMarked)
{
    struct Case {
        QString first, last, storedFirst, storedLast;
    };
    const Case cases[] = {
        {"Jean", "Dupont", "Jean", "&upont"},
        {"Jean Paul", "van der Berg", "Jean_Paul", "Xan_der_Berg"},
        {"", "", "", ""},
        // A blank that becomes a mark character is still stored as "_" after lowering.
        {"A", ">x", "A", "_x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeFirstName(c.first), c.storedFirst);
        EXPECT_EQ(EncodeLastName(c.last), c.storedLast) << c.last.toStdString();
    }
    EXPECT_EQ(DecodeFirstName("Jean_Paul"), "Jean Paul");
    EXPECT_EQ(DecodeLastName("Xan_der_Berg"), "van der Berg");
    EXPECT_EQ(DecodeLastName("&upont"), "Dupont");
    EXPECT_EQ(DecodeLastName(""), "");
}

TEST_F(SessionTest, OkWritesTheKeysWithTheirOwnSpellingAndReadsBack)
{
    // A file in the spelling the program reads: the write must update these keys, not add others.
    writeFile("tabulon.ini", "[Settings]\r\nEnableSound=1\r\nColumnSort=3\r\n");
    session->FormCreate();
    TPreferencesValues v = PreferencesValuesOf(*session);
    v.EnableSound = false;
    v.ShowEndGameMessage = false;
    v.SaveWatchedMatches = false;
    v.Autologin = true;
    v.HideShouts = true;
    v.ShowChatTab = false;
    v.ConfirmDoubles = false;
    v.FontSize = "10";
    v.GreetingMessage = "Hello playername";
    v.DeclineMessage = "Later, maybe";
    v.EndMessage = "gg";
    v.FirstName = "Jean Paul";
    v.LastName = "van Berg";
    v.Gender = 2;
    v.Country = 5;
    v.EMail = "jp@example.org";
    ApplyPreferences(*session, v);

    const QString text = ini(folder);
    EXPECT_TRUE(text.contains("EnableSound=0")) << text.toStdString();
    EXPECT_FALSE(text.contains("Enablesound")) << text.toStdString();
    EXPECT_TRUE(text.contains("Showendgamemessage=0")) << text.toStdString();
    EXPECT_TRUE(text.contains("Savewatchedmatches=0"));
    EXPECT_TRUE(text.contains("Greting=Hello playername"));
    EXPECT_TRUE(text.contains("FirstName=Jean_Paul"));
    EXPECT_TRUE(text.contains("LastName=Xan_Berg"));
    EXPECT_TRUE(text.contains("ColumnSort=3"));

    TSettings read;
    TWindowSettings window;
    ReadSettings(SettingsFile(folder.filePath("tabulon.ini")), session->AppFolder, read, window);
    EXPECT_FALSE(read.EnableSound);
    EXPECT_FALSE(read.ShowEndGameMessage);
    EXPECT_FALSE(read.SaveWatchedMatches);
    EXPECT_TRUE(read.SavePlayedMatches);
    EXPECT_TRUE(read.Autologin);
    EXPECT_TRUE(read.HideShouts);
    EXPECT_FALSE(read.ShowChatTab);
    EXPECT_FALSE(read.ConfirmDoubles);
    EXPECT_EQ(read.FontSize, "10");
    EXPECT_EQ(read.GreetingMessage, "Hello playername");
    EXPECT_EQ(read.DeclineMessage, "Later, maybe");
    EXPECT_EQ(read.EndMessage, "gg");
    EXPECT_EQ(read.FirstName, "Jean_Paul");
    EXPECT_EQ(read.LastName, "Xan_Berg");
    EXPECT_EQ(read.Gender, 2);
    EXPECT_EQ(read.Country, 5);
    EXPECT_EQ(read.EMail, "jp@example.org");
    EXPECT_EQ(window.ColumnSort, 3);
    // The window shows the stored names as they were typed.
    session->Settings = read;
    EXPECT_EQ(PreferencesValuesOf(*session).LastName, "van Berg");
    EXPECT_EQ(PreferencesValuesOf(*session).FirstName, "Jean Paul");
}

TEST_F(SessionTest, FreshFileGetsTheSpellingsTheOkPathWrites)
{
    session->FormCreate();
    TPreferencesValues v = PreferencesValuesOf(*session);
    v.EnableSound = false;
    ApplyPreferences(*session, v);
    const QString text = ini(folder);
    for (const char* key : {"Enablesound=0", "Showendgamemessage=1", "Saveplayedmatches=1",
                            "Decline=Sorry, not now.", "FontSize=Default", "NumberOfButtons=0"})
        EXPECT_TRUE(text.contains(QLatin1String(key))) << key << "\n" << text.toStdString();
    // The e-mail address did not change, so it is not written.
    EXPECT_FALSE(text.contains("EMail")) << text.toStdString();
    TSettings read;
    TWindowSettings window;
    ReadSettings(SettingsFile(folder.filePath("tabulon.ini")), session->AppFolder, read, window);
    EXPECT_FALSE(read.EnableSound);
}

TEST_F(SessionTest, OkWithoutChangesSendsNoToggleButKeepsItsPauses)
{
    SendLog log(rec);
    session->FormCreate();
    ApplyPreferences(*session, PreferencesValuesOf(*session));
    session->SendCommand("who");
    rec.clock.runUntilIdle();
    const QList<QPair<qint64, QByteArray>> expected{{1400, "who\r\n"}};
    EXPECT_EQ(log.sends, expected);
}

TEST_F(SessionTest, OkSendsChangedTogglesInOrderWithTheirSpacing)
{
    SendLog log(rec);
    session->FormCreate();
    session->OwnInfo.Greedy = true;
    TPreferencesValues v = PreferencesValuesOf(*session);
    v.AutoDouble = true; // check 1
    v.Greedy = false;    // check 5
    v.Ratings = true;    // check 7
    v.Silent = true;     // check 8, after the last pause
    v.EMail = "me@example.org";
    ApplyPreferences(*session, v);
    // The boxes are in OwnInfo at once, before the server confirms anything.
    EXPECT_TRUE(session->OwnInfo.AutoDouble);
    EXPECT_FALSE(session->OwnInfo.Greedy);
    EXPECT_TRUE(session->OwnInfo.Silent);
    rec.clock.runUntilIdle();
    const QList<QPair<qint64, QByteArray>> expected{{0, "toggle autodouble\r\n"},
                                                    {800, "toggle greedy\r\n"},
                                                    {1200, "toggle ratings\r\n"},
                                                    {1400, "toggle silent\r\n"},
                                                    {1400, "address me@example.org\r\n"}};
    EXPECT_EQ(log.sends, expected);
    EXPECT_TRUE(ini(folder).contains("EMail=me@example.org"));
}

TEST_F(SessionTest, OkWhileNotConnectedSendsNothingButCopiesTheBoxes)
{
    rec.link.connected = false;
    session->FormCreate();
    TPreferencesValues v = PreferencesValuesOf(*session);
    v.Ready = true;
    v.EMail = "x@example.org";
    ApplyPreferences(*session, v);
    rec.clock.runUntilIdle();
    EXPECT_TRUE(rec.link.sent.isEmpty());
    EXPECT_TRUE(session->OwnInfo.Ready);
    EXPECT_EQ(session->Settings.EMail, "x@example.org");
}

TEST_F(SessionTest, OkShowsOrHidesTheDebugWindowAndRunsTheBoardStepIntoTheSameFile)
{
    session->FormCreate();
    QSignalSpy debug(session.get(), &ClientSession::debugWindowWanted);
    TPreferencesValues v = PreferencesValuesOf(*session);
    v.Debug = true;
    ApplyPreferences(*session, v, [](TSettings& s, SettingsFile& file) {
        s.AnimationSpeed = 9;
        file.writeInt("Settings", "AnimationSpeed", 9);
    });
    ASSERT_EQ(debug.count(), 1);
    EXPECT_TRUE(debug.at(0).at(0).toBool());
    EXPECT_EQ(session->Settings.AnimationSpeed, 9);
    EXPECT_TRUE(ini(folder).contains("AnimationSpeed=9"));
    EXPECT_TRUE(ini(folder).contains("Debug=1"));
}

TEST_F(SessionTest, SettingsThatCannotBeWrittenAreReported)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir("tabulon.ini"));
    QSignalSpy errors(session.get(), &ClientSession::settingsError);
    ApplyPreferences(*session, PreferencesValuesOf(*session));
    SaveConnectSettings(*session, ConnectValuesOf(session->Settings));
    EXPECT_EQ(errors.count(), 2);
}

TEST_F(SessionTest, ConnectWindowKeepsThePasswordOnlyWhileItIsToBeStored)
{
    TConnectValues v{"127.0.0.1", "4000", "newbie", "pw12", true};
    SaveConnectSettings(*session, v);
    EXPECT_TRUE(ini(folder).contains("Password=pw12"));
    EXPECT_EQ(session->Settings.Server, "127.0.0.1");
    EXPECT_EQ(session->Settings.Port, "4000");
    EXPECT_EQ(session->Settings.Username, "newbie");

    v.StorePassword = false;
    v.Username = "other";
    SaveConnectSettings(*session, v);
    const QString text = ini(folder);
    EXPECT_FALSE(text.contains("Password=")) << text.toStdString();
    EXPECT_TRUE(text.contains("Storepassword=0"));
    EXPECT_TRUE(text.contains("Username=other"));
    EXPECT_FALSE(session->Settings.StorePassword);

    TSettings read;
    TWindowSettings window;
    ReadSettings(SettingsFile(folder.filePath("tabulon.ini")), session->AppFolder, read, window);
    EXPECT_EQ(read.Password, "");
    EXPECT_EQ(read.Username, "other");
    EXPECT_EQ(read.Port, "4000");
}

TEST(SettingsFile, ColumnSortOutsideTheColumnsReadsAsTheFirst)
{
    QTemporaryDir dir;
    for (const auto& [stored, read] : {std::pair{"12", 12}, {"13", 0}, {"-1", 0}, {"x", 0}}) {
        QFile f(dir.filePath("tabulon.ini"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("[Settings]\nColumnSort=") + stored + "\n");
        f.close();
        TSettings s;
        TWindowSettings w;
        ReadSettings(SettingsFile(f.fileName()), "/app/", s, w);
        EXPECT_EQ(w.ColumnSort, read) << stored;
    }
}
