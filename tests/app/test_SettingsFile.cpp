#include "app/CountryTable.h"
#include "app/SettingsFile.h"
#include "app/SettingsStore.h"
#include "model/TSettings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString writeIni(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath("tabulon.ini");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    return path;
}

} // namespace

TEST(SettingsFile, MissingFileGivesEveryDefault)
{
    QTemporaryDir dir;
    TSettings s;
    TWindowSettings w;
    ReadSettings(SettingsFile(dir.filePath("tabulon.ini")), "/app/", s, w);
    const TSettings d;
    EXPECT_TRUE(s.EnableSound);
    EXPECT_FALSE(s.Autologin);
    EXPECT_EQ(s.Port, "4321");
    EXPECT_EQ(s.DefaultBoard, "/app/Themes\\Titanium\\Titatium.ini");
    EXPECT_EQ(s.GreetingMessage, "Hi");
    EXPECT_EQ(s.DeclineMessage, "Sorry, not now.");
    EXPECT_EQ(s.EndMessage, "Thanks for the match.");
    EXPECT_EQ(s.AnimationSpeed, 5);
    EXPECT_EQ(s.FontSize, "Default");
    EXPECT_EQ(s.NumberOfButtons, 0);
    EXPECT_EQ(w.TabSelected, 0);
    EXPECT_FALSE(w.Descending);
}

TEST(SettingsFile, KeysMatchWithoutCaseAndValuesStayAsTyped)
{
    QTemporaryDir dir;
    const QString path = writeIni(dir,
        "; kept comment\r\n"
        "[settings]\r\nenablesound=0\r\nDEBUG=7\r\nAnimationSpeed=fast\r\nFontSize=10\r\n"
        "ShowEndGameMessage=0\r\n"
        "[Connection]\r\nServer=localhost\r\nPort=4322\r\n"
        "[Board]\r\nDefaultBoard=Themes\\Wood\\Wood.ini\r\n"
        "[Chat]\r\nGreting=Hello, playername ; welcome\r\n"
        "[Profile]\r\nLastName=&upont\r\nCountry=x12\r\n"
        "[Buttons]\r\nNumberOfButtons=2\r\nb0glyph=3\r\nB0Action=invite %p 5\r\nB1Hint=Hi\r\n"
        "B5Action=never read\r\n");
    TSettings s;
    TWindowSettings w;
    ReadSettings(SettingsFile(path), "/app/", s, w);
    EXPECT_FALSE(s.EnableSound);
    EXPECT_TRUE(s.Debug);
    EXPECT_FALSE(s.ShowEndGameMessage);
    EXPECT_EQ(s.AnimationSpeed, 5) << "a value that is not a number reads as the default";
    EXPECT_EQ(s.Country, 0);
    EXPECT_EQ(s.FontSize, "10");
    EXPECT_EQ(s.Server, "localhost");
    EXPECT_EQ(s.Port, "4322");
    EXPECT_EQ(s.DefaultBoard, "/app/Themes\\Wood\\Wood.ini");
    EXPECT_EQ(s.GreetingMessage, "Hello, playername ; welcome");
    EXPECT_EQ(s.LastName, "&upont");
    EXPECT_EQ(s.NumberOfButtons, 2);
    EXPECT_EQ(s.ButtonGlyph[0], 3);
    EXPECT_EQ(s.ButtonAction[0], "invite %p 5");
    EXPECT_EQ(s.ButtonHint[1], "Hi");
    EXPECT_EQ(s.ButtonAction[5], "");
}

TEST(SettingsFile, ButtonCountAboveTenIsClamped)
{
    QTemporaryDir dir;
    TSettings s;
    TWindowSettings w;
    ReadSettings(SettingsFile(writeIni(dir, "[Buttons]\nNumberOfButtons=99\nB9Hint=last\n")),
                 "/", s, w);
    EXPECT_EQ(s.NumberOfButtons, 10);
    EXPECT_EQ(s.ButtonHint[9], "last");
}

TEST(SettingsFile, WritingKeepsOtherKeysAndCommentsAndRoundTrips)
{
    QTemporaryDir dir;
    const QString path = writeIni(dir, "; mine\n[Settings]\nDebug=1\n[Account]\nUsername=bob\n");
    SettingsFile file(path);
    WriteWindowSettings(file, {2, 4, true});
    file.writeBool("Settings", "Enablesound", false);
    QString error;
    ASSERT_TRUE(file.save(&error)) << error.toStdString();

    QFile raw(path);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray text = raw.readAll();
    EXPECT_TRUE(text.contains("; mine"));
    EXPECT_TRUE(text.contains("TabSelected=2"));
    EXPECT_TRUE(text.contains("Descending=1"));

    TSettings s;
    TWindowSettings w;
    ReadSettings(SettingsFile(path), "/", s, w);
    EXPECT_FALSE(s.EnableSound) << "written as Enablesound, read as EnableSound";
    EXPECT_TRUE(s.Debug);
    EXPECT_EQ(s.Username, "bob");
    EXPECT_EQ(w.TabSelected, 2);
    EXPECT_EQ(w.ColumnSort, 4);
    EXPECT_TRUE(w.Descending);
}

TEST(SettingsFile, SaveThatCannotWriteSaysSo)
{
    QTemporaryDir dir;
    SettingsFile file(dir.filePath("missing-folder/tabulon.ini"));
    file.writeBool("Settings", "Debug", true);
    QString error;
    EXPECT_FALSE(file.save(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(CountryTable, FillsFromTheFileWithTheNeutralEntryFirst)
{
    QTemporaryDir dir;
    QStringList names, codes;
    LoadCountryTable(dir.filePath("countriescodes.txt"), names, codes);
    EXPECT_TRUE(names.isEmpty());
    EXPECT_TRUE(codes.isEmpty());

    QFile f(dir.filePath("countriescodes.txt"));
    f.open(QIODevice::WriteOnly);
    f.write("Bosnia and Herzegovina BA\r\n\r\nFrance FR\r\n");
    f.close();
    LoadCountryTable(f.fileName(), names, codes);
    EXPECT_EQ(names, (QStringList{"Neutral Zone", "Bosnia and Herzegovina"}));
    EXPECT_EQ(codes, (QStringList{"NT", "BA"}));
}

TEST(CountryTable, StopsAtTheTablesRoom)
{
    QTemporaryDir dir;
    QFile f(dir.filePath("c.txt"));
    f.open(QIODevice::WriteOnly);
    for (int i = 0; i < 300; ++i)
        f.write("Land" + QByteArray::number(i) + " XX\n");
    f.close();
    QStringList names, codes;
    LoadCountryTable(f.fileName(), names, codes);
    EXPECT_EQ(names.size(), 242);
    EXPECT_EQ(names.last(), "Land240");
}

TEST(CountryTable, ShippedTableIsARealOne)
{
    QStringList names, codes;
    LoadCountryTable(QStringLiteral(TABULON_SOURCE_DIR "/data/countriescodes.txt"), names, codes);
    ASSERT_GT(names.size(), 200);
    EXPECT_LE(names.size(), 242);
    EXPECT_TRUE(names.contains("France"));
    EXPECT_EQ(codes.at(names.indexOf("France")), "FR");
    for (const QString& code : codes)
        EXPECT_TRUE(code.size() == 2 && code.at(0).isUpper() && code.at(1).isUpper()) << code.toStdString();
}
