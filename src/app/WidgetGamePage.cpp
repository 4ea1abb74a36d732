#include "app/WidgetGamePage.h"

#include "app/TFDEbug.h"
#include "app/TFTabulon.h"
#include "protocol/MatchStartStretch.h"
#include "records/MatchRecord.h"

#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>

#include <memory>

namespace {

void BindMovesList(TFTabulon& w)
{
    ClientSession& s = w.session();
    QTableView* view = w.SGMovesList;
    MovesListModel& grid = s.SGMovesList;
    // Set while the view follows the session's current cell, so it is not taken for a click.
    auto following = std::make_shared<bool>(false);

    const auto showCurrent = [view, &grid, following] {
        *following = true;
        view->setCurrentIndex(grid.index(grid.Row() - 1, grid.Col()));
        *following = false;
    };
    QObject::connect(&grid, &MovesListModel::currentCellChanged, view, showCurrent);
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
                     [&s, &grid, following](const QModelIndex& current) {
                         if (*following || grid.Reshaping() || !current.isValid())
                             return;
                         SGMovesListClick(s, current.column(), current.row() + 1);
                     });
}

void BindGameList(TFTabulon& w)
{
    ClientSession& s = w.session();
    QComboBox* combo = w.CBGames;
    GameListModel& games = s.CBGames;
    combo->setModel(&games);
    const auto showSelection = [combo, &games] { combo->setCurrentIndex(games.ItemIndex()); };
    showSelection();
    QObject::connect(&games, &GameListModel::itemIndexChanged, combo, showSelection);
    // The combo box selects the first entry added to an empty list by itself.
    QObject::connect(&games, &QAbstractItemModel::rowsInserted, combo, showSelection);
    QObject::connect(combo, &QComboBox::activated, combo,
                     [&s](int index) { CBGamesChange(s, index); });
}

void BindPlayersSelection(TFTabulon& w)
{
    ClientSession& s = w.session();
    QTreeView* view = w.LVPlayers;
    QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, view,
                     [view, &s] {
                         const QModelIndexList rows = view->selectionModel()->selectedRows();
                         const TPlayerRow* row =
                             rows.isEmpty() ? nullptr : s.LVPlayers.ShownRow(rows.first().row());
                         s.LVPlayersSelected = row ? row->Id : 0;
                     });
}

} // namespace

void BindGamePage(TFTabulon& w)
{
    ClientSession& s = w.session();
    BindMovesList(w);
    BindGameList(w);
    BindPlayersSelection(w);

    const std::pair<QToolButton*, void (*)(ClientSession&)> buttons[] = {
        {w.CB, &CBClick},
        {w.SpeedButton2, &SpeedButton2Click},
        {w.SpeedButton3, &SpeedButton3Click},
        {w.SpeedButton4, &SpeedButton4Click}};
    for (const auto& [button, click] : buttons)
        QObject::connect(button, &QToolButton::clicked, button, [&s, click = click] { click(s); });

    QObject::connect(w.Watch2, &QAction::triggered, w.Watch2, [&s] { Watch1Click(s); });
    QObject::connect(w.Unwatch1, &QAction::triggered, w.Unwatch1, [&s] { Unwatch1Click(s); });
    QObject::connect(&s, &ClientSession::idsShown, w.EPosId, [&w, &s] {
        w.EPosId->setText(s.EPosId);
        w.EMatchId->setText(s.EMatchId);
    });
    new TextLogView(s.MMoves, w.MMoves);
    new TextLogView(s.MCube, w.MCube);
    QObject::connect(&s, &ClientSession::boardPageWanted, w.PageControl1,
                     [&w] { w.PageControl1->setCurrentIndex(0); });
}
