#include "app/TFDEbug.h"
#include "protocol/TextLog.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

// A memo bound to a log that keeps only its newest lines: the memo drops the same lines, so
// its blocks stay one per kept line and later changes land on the right block.
class TestTextLogView : public QObject {
    Q_OBJECT
private slots:
    void memoDropsWhatTheLogDrops_data();
    void memoDropsWhatTheLogDrops();
    void changeAfterADropReachesItsBlock();
    void aFloodLeavesABoundedMemo();
};

void TestTextLogView::memoDropsWhatTheLogDrops_data()
{
    QTest::addColumn<QStringList>("chunks");
    QTest::addColumn<QString>("shown");
    QTest::newRow("whole lines") << QStringList{"a\r\nb\r\n", "c\r\nd\r\ne\r\n"}
                                 << QStringLiteral("c\nd\ne");
    QTest::newRow("an open line stays last") << QStringList{"a\r\nb\r\nc\r\nd\r\nop"}
                                             << QStringLiteral("b\nc\nd\nop");
    QTest::newRow("the open line completed")
        << QStringList{"a\r\nb\r\nc\r\nd\r\nop", "en\r\nf\r\n"} << QStringLiteral("d\nopen\nf");
    QTest::newRow("all at once, more than the limit")
        << QStringList{"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n"} << QStringLiteral("5\n6\n7");
}

void TestTextLogView::memoDropsWhatTheLogDrops()
{
    QFETCH(QStringList, chunks);
    QFETCH(QString, shown);
    TextLog log;
    log.setMaxLines(3);
    QPlainTextEdit memo;
    new TextLogView(log, &memo);
    for (const QString& chunk : chunks)
        log.appendText(chunk);
    QCOMPARE(memo.toPlainText(), shown);
    QCOMPARE(memo.document()->blockCount(),
             int(log.lines().size()) + (log.openLine().isEmpty() ? 0 : 1));
}

void TestTextLogView::changeAfterADropReachesItsBlock()
{
    TextLog log;
    log.setMaxLines(2);
    QPlainTextEdit memo;
    new TextLogView(log, &memo);
    for (const char* t : {"a", "b", "c", "d"})
        log.addLine(QString::fromLatin1(t));
    log.replaceLastLine(QStringLiteral("D"), QColor(Qt::red));
    QCOMPARE(memo.toPlainText(), QStringLiteral("c\nD"));
    QCOMPARE(memo.document()->findBlockByNumber(1).begin().fragment().charFormat().foreground()
                 .color(),
             QColor(Qt::red));
    log.setMaxLines(1);
    QCOMPARE(memo.toPlainText(), QStringLiteral("D"));
}

void TestTextLogView::aFloodLeavesABoundedMemo()
{
    TextLog log;
    QPlainTextEdit memo;
    new TextLogView(log, &memo);
    const int lines = TextLog::DefaultMaxLines + 500;
    for (int i = 0; i < lines; ++i)
        log.addLine(QStringLiteral("flood %1").arg(i));
    QCOMPARE(memo.document()->blockCount(), TextLog::DefaultMaxLines);
    QCOMPARE(memo.document()->firstBlock().text(), QStringLiteral("flood 500"));
    QCOMPARE(memo.document()->lastBlock().text(), QStringLiteral("flood %1").arg(lines - 1));
}

QTEST_MAIN(TestTextLogView)
#include "qt_TextLogView.moc"
