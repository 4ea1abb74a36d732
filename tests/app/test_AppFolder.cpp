#include "app/AppFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString& path, const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(contents);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class AppFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = root.filePath(QStringLiteral("program"));
        user = root.filePath(QStringLiteral("user/Tabulon"));
        writeFile(program + QStringLiteral("/countriescodes.txt"), "fr France\n");
        writeFile(program + QStringLiteral("/Themes/Walnut.ini"), "[Board]\n");
        writeFile(program + QStringLiteral("/Themes/Walnut/board.png"), "png");
        writeFile(program + QStringLiteral("/tabulon.ini"), "not shipped data");
    }
    QTemporaryDir root;
    QString program, user;
};

TEST_F(AppFolderTest, AWritableProgramFolderIsUsedAsItIs)
{
    QString error;
    EXPECT_EQ(ChooseAppFolder(program, user, &error), program);
    EXPECT_FALSE(QFileInfo::exists(user));
}

TEST_F(AppFolderTest, TheUserFolderGetsTheShippedDataOnceAndKeepsTheUsersChanges)
{
    QString error;
    ASSERT_TRUE(SeedUserFolder(program, user, &error)) << error.toStdString();
    EXPECT_EQ(readFile(user + QStringLiteral("/Themes/Walnut/board.png")), "png");
    EXPECT_EQ(readFile(user + QStringLiteral("/countriescodes.txt")), "fr France\n");
    EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("/tabulon.ini")));

    // The user edits a theme; a half copy left by a start cut short is replaced whole.
    writeFile(user + QStringLiteral("/Themes/Walnut.ini"), "[Board]\nmine\n");
    QFile::remove(user + QStringLiteral("/countriescodes.txt"));
    writeFile(user + QStringLiteral("/countriescodes.txt.partial"), "fr Fr");
    ASSERT_TRUE(SeedUserFolder(program, user, &error)) << error.toStdString();
    EXPECT_EQ(readFile(user + QStringLiteral("/Themes/Walnut.ini")), "[Board]\nmine\n");
    EXPECT_EQ(readFile(user + QStringLiteral("/countriescodes.txt")), "fr France\n");
    EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("/countriescodes.txt.partial")));
}

TEST_F(AppFolderTest, AUserFolderThatCannotBeCreatedIsReported)
{
    writeFile(root.filePath(QStringLiteral("blocker")), "a file, not a folder");
    QString error;
    EXPECT_FALSE(SeedUserFolder(program, root.filePath(QStringLiteral("blocker/Tabulon")), &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
