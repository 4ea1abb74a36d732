#include "app/TFTabulon.h"
#include "protocol/RecordingPorts.h"
#include "protocol/WhoInfoStretch.h"
#include "records/TFSavedGames.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QtTest>

#include <functional>

namespace {

QByteArray who(const QString& name, const QString& opponent, const QString& ready,
               const QString& rating, const QString& client = QStringLiteral("-"))
{
    return QStringLiteral("5 %1 %2 - %3 0 %4 100 12 1593778125 host.example.net %5 -\r\n")
        .arg(name, opponent, ready, rating, client)
        .toLatin1();
}

QStringList column(QTreeView* view, int c)
{
    QStringList out;
    for (int row = 0; row < view->model()->rowCount(); ++row)
        out << view->model()->index(row, c).data().toString();
    return out;
}

void clickHeader(QTreeView* view, int section)
{
    QHeaderView* header = view->header();
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Runs `check` on the next modal window once it is up, then closes it. Deleting the returned
// timer stops the watch.
QTimer* onNextModal(std::function<void(QWidget*)> check, bool* seen)
{
    *seen = false;
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, check, seen] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        *seen = true;
        check(modal);
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(0);
    });
    poll->start(10);
    return poll;
}

} // namespace

class TestPlayersTab : public QObject {
    Q_OBJECT
private slots:
    void viewsShowTheSessionLists();
    void headerClicksAndFilterButtons();
    void profileBoxForTheSelectedRow();
    void savedGamesWindow();
};

void TestPlayersTab::viewsShowTheSessionLists()
{
    QTemporaryDir folder;
    TFTabulon window(folder.path());
    ClientSession& s = window.session();
    QCOMPARE(window.LVPlayers->model(), &s.LVPlayers);
    QCOMPARE(window.LVTemp->model(), &s.LVTemp);
    QVERIFY(window.LVTemp->isHidden());
    QCOMPARE(window.LVFriends->model(), &s.LVFriends);
    QCOMPARE(window.LVVilains->model(), &s.LVVilains);
    const int widths[] = {170, 110, 60, 60, 70, 20, 100, 150, 150, 120, 120, 120, 250};
    for (int c = 0; c < PlayerColumnCount; ++c)
        QCOMPARE(window.LVPlayers->header()->sectionSize(c), widths[c]);
    QCOMPARE(window.LVFriends->header()->sectionSize(0), 140);
    QCOMPARE(window.LVVilains->header()->sectionSize(1), 98);
    QCOMPARE(window.LVVilains->header()->sectionSize(2), 100);
    QCOMPARE(window.LVVilains->model()->headerData(0, Qt::Horizontal).toString(),
             QStringLiteral("Villains"));

    s.SavedGames.append({QStringLiteral("bob"), QStringLiteral(" 5"), QStringLiteral(" 2 -  1")});
    s.IdTelnetDataAvailable(who("bob", "-", "1", "1950.00", "<CHPeter)ruenbaum__!")
                            + who("carol", "bob", "1", "1650.00") + "6\r\n");
    QTRY_COMPARE(window.LVPlayers->model()->rowCount(), 2);
    QCOMPARE(window.LNbPlayers->text(), QStringLiteral("Number of players online  : 2"));
    QCOMPARE(window.LVTemp->model()->rowCount(), 2);
    // Icons from ILRating: bob's rating badge, his gender, carol's opponent's badge.
    const QModelIndex bob = window.LVPlayers->model()->index(0, ColPlayerName);
    QCOMPARE(bob.data().toString(), QStringLiteral("bob"));
    QVERIFY(!bob.data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!bob.siblingAtColumn(ColGender).data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!bob.sibling(1, ColOpponent).data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(bob.siblingAtColumn(ColHost).data(Qt::DecorationRole).isNull());

    // The saved-match notice lands in the private chat pane, in its colour.
    QTRY_VERIFY(window.MPrivateMessages->toPlainText().contains(
        QStringLiteral("bob with whom you have a saved match as just logs in.")));
    const QTextBlock first = window.MPrivateMessages->document()->firstBlock();
    QCOMPARE(first.begin().fragment().charFormat().foreground().color(), QColor(185, 131, 1));
}

void TestPlayersTab::headerClicksAndFilterButtons()
{
    QTemporaryDir folder;
    TFTabulon window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PageControl1->setCurrentWidget(window.TabSheet2);
    ClientSession& s = window.session();
    s.IdTelnetDataAvailable(who("Anna", "-", "1", "1500.00") + who("Bruno", "-", "0", "1900.00")
                            + who("Clara", "Dmitri", "1", "1700.00")
                            + who("Dmitri", "Clara", "1", "1600.00") + "6\r\n");
    QTRY_COMPARE(window.LVPlayers->model()->rowCount(), 4);
    QCOMPARE(column(window.LVPlayers, 0), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));

    clickHeader(window.LVPlayers, ColRating);
    QCOMPARE(column(window.LVPlayers, 0), QStringList({"Bruno", "Clara", "Dmitri", "Anna"}));
    QCOMPARE(window.LVPlayers->header()->sortIndicatorSection(), int(ColRating));
    QCOMPARE(window.LVPlayers->header()->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(window.LVPlayers, ColRating);
    QCOMPARE(column(window.LVPlayers, 0), QStringList({"Anna", "Dmitri", "Clara", "Bruno"}));
    QCOMPARE(window.LVPlayers->header()->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(window.LVPlayers, ColPlayerName);
    clickHeader(window.LVPlayers, ColPlayerName);
    QCOMPARE(column(window.LVPlayers, 0), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));

    // A selected player stays selected through a sort.
    window.LVPlayers->setCurrentIndex(window.LVPlayers->model()->index(2, 0));
    clickHeader(window.LVPlayers, ColRating);
    QCOMPARE(window.LVPlayers->currentIndex().data().toString(), QStringLiteral("Clara"));
    clickHeader(window.LVPlayers, ColPlayerName);

    QVERIFY(window.SBReady->isChecked());
    QTest::mouseClick(window.SBReady, Qt::LeftButton);
    QVERIFY(!window.SBReady->isChecked());
    QCOMPARE(column(window.LVPlayers, 0), QStringList({"Bruno", "Clara", "Dmitri"}));
    QTest::mouseClick(window.SBPlaying, Qt::LeftButton);
    QCOMPARE(column(window.LVPlayers, 0), QStringList({"Bruno"}));
    QTest::mouseClick(window.SBOnLine, Qt::LeftButton);
    QCOMPARE(window.LVPlayers->model()->rowCount(), 0);
    QTest::mouseClick(window.SBReady, Qt::LeftButton);
    QTest::mouseClick(window.SBPlaying, Qt::LeftButton);
    QTest::mouseClick(window.SBOnLine, Qt::LeftButton);
    QCOMPARE(column(window.LVPlayers, 0), QStringList({"Anna", "Bruno", "Clara", "Dmitri"}));
    QCOMPARE(window.LVTemp->model()->rowCount(), 4);

    // Refresh does nothing without a connection.
    QTest::mouseClick(window.TBRefresh, Qt::LeftButton);
    window.Refreshboard1->trigger();
    QCOMPARE(window.LVPlayers->model()->rowCount(), 4);
}

void TestPlayersTab::profileBoxForTheSelectedRow()
{
    QTemporaryDir folder;
    QFile countries(folder.filePath(QStringLiteral("countriescodes.txt")));
    QVERIFY(countries.open(QIODevice::WriteOnly));
    countries.write("France FR\r\nSwitzerland CH\r\n");
    countries.close();
    TFTabulon window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.session().IdTelnetDataAvailable(who("annlee", "-", "1", "1650.30", "?FRAnn_.ee_________T")
                                           + "6\r\n");
    QTRY_COMPARE(window.LVPlayers->model()->rowCount(), 1);

    bool seen = false;
    QTimer* watch = onNextModal([](QWidget*) {}, &seen);
    window.Profile2->trigger();
    QTest::qWait(100);
    QVERIFY(!seen); // no row selected: no box
    delete watch;

    window.LVPlayers->setCurrentIndex(window.LVPlayers->model()->index(0, 0));
    QString title, text;
    onNextModal(
        [&](QWidget* modal) {
            title = modal->windowTitle();
            text = static_cast<QMessageBox*>(modal)->text();
        },
        &seen);
    window.Profile1->trigger();
    QTRY_VERIFY(seen);
    QCOMPARE(title, QStringLiteral("annlee Profile"));
    QCOMPARE(text, QStringLiteral("Fisrt name :Ann \rLast Name :Lee         \rGender :Unknown\r"
                                  "Country :France"));
}

void TestPlayersTab::savedGamesWindow()
{
    QTemporaryDir folder;
    RecordingPorts rec;
    rec.link.connected = true;
    ClientSession session(folder.path(), rec.ports());
    session.IdTelnetDataAvailable(who("bob", "-", "1", "1500.00") + who("carol", "-", "0", "1500.00")
                                  + "6\r\n");
    session.SavedGames = {{QStringLiteral("zoe"), QStringLiteral(" 7"), QStringLiteral(" 0 -  6")},
                          {QStringLiteral("carol"), QStringLiteral(" 3"), QStringLiteral(" 1 -  2")},
                          {QStringLiteral("bob"), QStringLiteral(" 5"), QStringLiteral(" 2 -  1")}};
    rec.clock.runUntilIdle();
    rec.link.sent.clear();

    int boardShown = 0;
    TFSavedgames window(session, [&boardShown] { ++boardShown; });
    QCOMPARE(window.windowTitle(), QStringLiteral("Saved games"));
    QCOMPARE(column(window.LVSavedGames, 0), QStringList({"bob", "carol", "zoe"}));
    QCOMPARE(column(window.LVSavedGames, 3), QStringList({"Ready", "On line", "Offline"}));
    QVERIFY(!window.BInvite->isEnabled());

    // Nothing selected: the buttons do nothing.
    window.BShowPosition->click();
    rec.clock.runUntilIdle();
    QVERIFY(rec.link.sent.isEmpty());

    window.LVSavedGames->setCurrentIndex(window.LVSavedGames->model()->index(2, 0));
    QVERIFY(!window.BInvite->isEnabled());
    window.BShowPosition->click();
    rec.clock.runUntilIdle();
    QCOMPARE(rec.link.sent, QByteArray("oldboard zoe\n\n"));
    QCOMPARE(boardShown, 1);

    window.LVSavedGames->setCurrentIndex(window.LVSavedGames->model()->index(0, 0));
    QVERIFY(window.BInvite->isEnabled());
    rec.link.sent.clear();
    window.show();
    window.BInvite->click();
    rec.clock.runUntilIdle();
    QCOMPARE(rec.link.sent, QByteArray("Invite bob\r\n"));
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestPlayersTab)
#include "qt_PlayersTab.moc"
