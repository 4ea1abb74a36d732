#include "../TestApp.h"
#include "analysis/GnubgEngine.h"
#include "protocol/TextLog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr int EngineWaitMs = 60000;

// The children of this test program.
QList<pid_t> Children()
{
    QList<pid_t> found;
    const QString parent = QString::number(getpid());
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromLatin1(stat.readAll());
        // pid (name) state ppid ...: the name may hold spaces, so read after its last ')'.
        const QStringList fields = text.mid(text.lastIndexOf(u')') + 2).split(u' ');
        if (fields.size() > 1 && fields.at(1) == parent)
            found.append(pid_t(entry.toInt()));
    }
    return found;
}

// The engine killed while it works on a position: the boxes say so, nothing waits for the
// lost answer, and the next analysis starts a new engine that answers.
TEST(GnubgEngineKilled, KilledDuringAnAnalysisItIsStartedAgain)
{
    ensureApp();
    if (!QFile::exists(QStringLiteral("/usr/games/gnubg")))
        GTEST_SKIP() << "GNU Backgammon is not installed";
    QTemporaryDir folder;
    const QString appFolder = folder.path() + u'/';
    // The shipped launcher's place, so the engine is this program's own child.
    ASSERT_TRUE(QDir().mkpath(appFolder + QStringLiteral("GNUBG")));
    QFile launcher(appFolder + QStringLiteral("GNUBG/gnubg-cli"));
    ASSERT_TRUE(launcher.open(QIODevice::WriteOnly));
    launcher.write("#!/bin/sh\nexec /usr/games/gnubg \"$@\"\n");
    launcher.close();
    launcher.setPermissions(launcher.permissions() | QFileDevice::ExeOwner);

    TextLog moves;
    TextLog cube;
    GnubgEngine engine(moves, cube);
    const QList<pid_t> before = Children();
    ASSERT_TRUE(engine.StartEngine(appFolder));
    QList<pid_t> children = Children();
    children.removeIf([&before](pid_t pid) { return before.contains(pid); });
    ASSERT_EQ(children.size(), 1);

    QSignalSpy ready(&engine, &GnubgEngine::analysisReady);
    // 7-point match at 0-0, the opening position, 53 to play.
    const QString posId = QStringLiteral("4HPwATDgc/ABMA");
    const QString matchId = QStringLiteral("cInuAAAAAAAE");
    engine.RequestAnalysis(posId, matchId, false, false);
    ASSERT_EQ(engine.PendingAnswers(), 1);
    ASSERT_EQ(kill(children.first(), SIGKILL), 0);
    ASSERT_TRUE(ready.wait(EngineWaitMs));
    EXPECT_FALSE(engine.IsRunning());
    EXPECT_EQ(engine.PendingAnswers(), 0);
    for (const TextLog* box : {&moves, &cube}) {
        ASSERT_EQ(box->lines().size(), 1);
        EXPECT_TRUE(box->lines().first().text.startsWith(
            QLatin1String("The analysis is unavailable: GNU Backgammon has ended")))
            << box->lines().first().text.toStdString();
    }

    ready.clear();
    engine.RequestAnalysis(posId, matchId, false, false);
    EXPECT_TRUE(engine.IsRunning());
    ASSERT_TRUE(ready.wait(EngineWaitMs));
    ASSERT_GE(moves.lines().size(), 2);
    EXPECT_TRUE(moves.lines().first().text.startsWith(QLatin1String("1:8/3 6/3 ")))
        << moves.lines().first().text.toStdString();
    EXPECT_TRUE(cube.lines().last().text.startsWith(QLatin1String("Proper cube action:")));

    engine.StopEngine();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !engine.IsRunning(); }, EngineWaitMs));
}

} // namespace
