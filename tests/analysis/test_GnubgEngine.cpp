#include "../TestApp.h"
#include "analysis/GnubgEngine.h"
#include "protocol/TextLog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int EngineWaitMs = 60000;


struct EngineFixture {
    QTemporaryDir folder;
    TextLog moves;
    TextLog cube;
    GnubgEngine engine{moves, cube};
    QString appFolder() const { return folder.path() + u'/'; }
};

// The real engine, as the Debian package installs it: its layout is what the parser reads.
TEST(GnubgEngine, TheRealEngineFillsBothBoxes)
{
    ensureApp();
    if (!QFile::exists(QStringLiteral("/usr/games/gnubg")))
        GTEST_SKIP() << "GNU Backgammon is not installed";
    EngineFixture f;
    ASSERT_TRUE(f.engine.StartEngine(f.appFolder()));
    EXPECT_TRUE(QFile(f.appFolder() + QStringLiteral("GNUBG/settings/gnubgrc")).exists());
    struct Case {
        bool secondColumn;
        const char* best;
    } cases[] = {{false, "1:8/3 6/3 "}, {true, "1:17/22 19/22 "}};
    for (const Case& c : cases) {
        QSignalSpy ready(&f.engine, &GnubgEngine::analysisReady);
        // 7-point match at 0-0, the opening position, 53 to play.
        f.engine.RequestAnalysis(QStringLiteral("4HPwATDgc/ABMA"), QStringLiteral("cInuAAAAAAAE"),
                                 c.secondColumn, false);
        ASSERT_TRUE(ready.wait(EngineWaitMs));
        const QStringList moves = f.moves.texts();
        ASSERT_GE(moves.size(), 2);
        EXPECT_TRUE(moves.first().startsWith(QLatin1String(c.best))) << moves.first().toStdString();
        EXPECT_TRUE(moves.first().contains(QLatin1String("MWC:"))) << moves.first().toStdString();
        const QStringList cube = f.cube.texts();
        ASSERT_EQ(cube.size(), 15);
        EXPECT_TRUE(cube.first().contains(QLatin1String("Win")));
        EXPECT_TRUE(cube.last().startsWith(QLatin1String("Proper cube action:")));
    }

    // An unlimited match goes to the engine as a money game, and the cube box says so.
    QSignalSpy ready(&f.engine, &GnubgEngine::analysisReady);
    f.engine.RequestAnalysis(QStringLiteral("4HPwATDgc/ABMA"), QStringLiteral("cIkOAAAAAAAA"),
                             false, true);
    ASSERT_TRUE(ready.wait(EngineWaitMs));
    EXPECT_TRUE(f.moves.texts().first().contains(QLatin1String("Eq.:")));
    EXPECT_EQ(f.cube.texts().last(), QStringLiteral("Unlimited match: analysed as a money game."));

    f.engine.StopEngine();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.engine.IsRunning(); }, EngineWaitMs));
    // Asked to quit, it ends without the boxes calling that a failure.
    EXPECT_FALSE(f.cube.texts().first().startsWith(QLatin1String("The analysis is unavailable")));
}

TEST(GnubgEngine, AnEngineThatDiesLeavesTheBoxesSayingSo)
{
    ensureApp();
    EngineFixture f;
    const QString program = f.appFolder() + QStringLiteral("GNUBG/gnubg-cli");
    ASSERT_TRUE(QDir().mkpath(f.appFolder() + QStringLiteral("GNUBG")));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexit 3\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    ASSERT_EQ(GnubgEngine::EngineProgram(f.appFolder()), program);

    ASSERT_TRUE(f.engine.StartEngine(f.appFolder()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.engine.IsRunning(); }, EngineWaitMs));
    const QStringList expected{QStringLiteral(
        "The analysis is unavailable: GNU Backgammon has ended (exit code 3).")};
    EXPECT_EQ(f.moves.texts(), expected);
    EXPECT_EQ(f.cube.texts(), expected);

    // The next request starts it again; it answers by dying once more, and nothing waits.
    QSignalSpy ready(&f.engine, &GnubgEngine::analysisReady);
    f.moves.clear();
    f.engine.RequestAnalysis(QStringLiteral("4HPwATDgc/ABMA"), QStringLiteral("cInuAAAAAAAE"),
                             false, false);
    ASSERT_TRUE(ready.wait(EngineWaitMs));
    EXPECT_EQ(f.moves.texts(), expected);

    // Without any engine at all the boxes say why.
    QFile::remove(program);
    EngineFixture none;
    QSignalSpy noneReady(&none.engine, &GnubgEngine::analysisReady);
    none.engine.RequestAnalysis(QStringLiteral("4HPwATDgc/ABMA"), QStringLiteral("cInuAAAAAAAE"),
                                false, false);
    EXPECT_EQ(noneReady.count(), 1);
    EXPECT_TRUE(none.cube.texts().first().startsWith(QLatin1String("The analysis is unavailable")));
}

} // namespace
