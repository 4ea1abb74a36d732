#include "protocol/TextLog.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QStringList>

namespace {

// What a listener sees: every added line read at its announced index, and the drops.
struct Listener {
    explicit Listener(TextLog& log)
    {
        QObject::connect(&log, &TextLog::lineAdded, [this, &log](int index) {
            added.append(log.lines().at(index).text);
        });
        QObject::connect(&log, &TextLog::linesDropped, [this](int count) { dropped += count; });
    }
    QStringList added;
    int dropped = 0;
};

TEST(TextLogLimit, KeepsTheNewestLinesAndTellsWhatWentFirst)
{
    struct Case {
        const char* name;
        void (*feed)(TextLog&);
        QStringList kept;
        QStringList added;
        QString open;
    };
    const Case cases[] = {
        {"one line at a time",
         [](TextLog& log) {
             for (const char* t : {"a", "b", "c", "d", "e"})
                 log.addLine(QString::fromLatin1(t));
         },
         {"c", "d", "e"}, {"a", "b", "c", "d", "e"}, {}},
        {"many lines in one chunk, the last one open",
         [](TextLog& log) { log.appendText(QStringLiteral("a\r\nb\r\nc\r\nd\r\ne\r\nf")); },
         {"c", "d", "e"}, {"a", "b", "c", "d", "e"}, QStringLiteral("f")},
        {"an open line completed by an added line",
         [](TextLog& log) {
             log.appendText(QStringLiteral("a\r\nb\r\nc\r\nop"));
             log.addLine(QStringLiteral("z"));
         },
         {"c", "op", "z"}, {"a", "b", "c", "op", "z"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TextLog log;
        log.setMaxLines(3);
        Listener listener(log);
        c.feed(log);
        EXPECT_EQ(log.texts(), c.kept);
        EXPECT_EQ(listener.added, c.added);
        EXPECT_EQ(listener.dropped, int(c.added.size()) - 3);
        EXPECT_EQ(log.openLine(), c.open);
    }
}

TEST(TextLogLimit, ChangesAfterADropReachTheRightLine)
{
    TextLog log;
    log.setMaxLines(2);
    for (const char* t : {"a", "b", "c"})
        log.addLine(QString::fromLatin1(t));
    int changed = -1;
    QObject::connect(&log, &TextLog::lineChanged, [&changed](int index) { changed = index; });
    log.replaceLastLine(QStringLiteral("C"), QColor());
    EXPECT_EQ(log.texts(), (QStringList{"b", "C"}));
    EXPECT_EQ(changed, 1);
}

TEST(TextLogLimit, ALowerLimitTrimsAtOnceAndOneLineAlwaysStays)
{
    TextLog log;
    Listener listener(log);
    for (int i = 0; i < 10; ++i)
        log.addLine(QString::number(i));
    log.setMaxLines(4);
    EXPECT_EQ(log.texts(), (QStringList{"6", "7", "8", "9"}));
    EXPECT_EQ(listener.dropped, 6);
    log.setMaxLines(0);
    EXPECT_EQ(log.maxLines(), 1);
    EXPECT_EQ(log.texts(), QStringList{"9"});
}

TEST(TextLogLimit, AFloodLeavesTheDefaultNumberOfLines)
{
    TextLog log;
    for (int i = 0; i < TextLog::DefaultMaxLines * 3; ++i)
        log.appendText(QStringLiteral("line %1\r\n").arg(i));
    ASSERT_EQ(log.lines().size(), TextLog::DefaultMaxLines);
    EXPECT_EQ(log.lines().last().text, QStringLiteral("line %1").arg(TextLog::DefaultMaxLines * 3 - 1));
    EXPECT_EQ(log.lines().first().text, QStringLiteral("line %1").arg(TextLog::DefaultMaxLines * 2));
}

} // namespace
