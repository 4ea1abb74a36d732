#include "app/WidgetPlayersTab.h"

#include "app/RatingImages.h"
#include "app/TFDEbug.h"
#include "app/TFTabulon.h"
#include "protocol/WhoInfoStretch.h"
#include "records/TFSavedGames.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPixmap>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>

namespace {

QVector<QIcon> RatingIcons()
{
    const QVector<QImage> small = DrawRatingImages(16);
    const QVector<QImage> large = DrawRatingImages(32);
    QVector<QIcon> icons;
    for (int i = 0; i < RatingImageCount; ++i) {
        QIcon icon;
        icon.addPixmap(QPixmap::fromImage(small.at(i)));
        icon.addPixmap(QPixmap::fromImage(large.at(i)));
        icons.append(icon);
    }
    return icons;
}

// Replaces the placeholder model a list view was built with.
void SetListModel(QTreeView* view, QAbstractItemModel* model)
{
    QAbstractItemModel* placeholder = view->model();
    view->setModel(model);
    if (placeholder && placeholder->parent() == view)
        delete placeholder;
}

void ShowSortIndicator(QTreeView* view, const TWindowSettings& settings)
{
    const bool descending = settings.ColumnSort != ColPlayerName && settings.Descending;
    view->header()->setSortIndicator(settings.ColumnSort,
                                     descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace

void BindPlayersTab(TFTabulon& w)
{
    ClientSession& s = w.session();

    const QVector<QIcon> icons = RatingIcons();
    s.LVPlayers.SetImageList(icons);
    s.LVTemp.SetImageList(icons);
    for (QTreeView* view : {w.LVPlayers, w.LVTemp}) {
        SetListModel(view, view == w.LVPlayers ? &s.LVPlayers : &s.LVTemp);
        view->setIconSize(QSize(16, 16));
        // The "G" column is just wide enough for its picture.
        view->header()->setMinimumSectionSize(16);
        for (int c = 0; c < PlayerColumnCount; ++c)
            view->header()->resizeSection(c, PlayersListModel::ColumnWidths[c]);
    }
    QHeaderView* header = w.LVPlayers->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setHighlightSections(false);
    ShowSortIndicator(w.LVPlayers, s.WindowSettings);
    QObject::connect(header, &QHeaderView::sectionClicked, w.LVPlayers, [&w, &s](int column) {
        LVPlayersColumnClick(s, column);
        ShowSortIndicator(w.LVPlayers, s.WindowSettings);
    });

    for (QTreeView* view : {w.LVFriends, w.LVVilains}) {
        SetListModel(view, view == w.LVFriends ? &s.LVFriends : &s.LVVilains);
        for (int c = 0; c < FriendsListModel::ColumnCount - 1; ++c)
            view->header()->resizeSection(c, FriendsListModel::ColumnWidths[c]);
    }

    w.LNbPlayers->setText(s.LNbPlayers.text());
    QObject::connect(&s.LNbPlayers, &LabelText::changed, w.LNbPlayers, &QLabel::setText);

    const std::pair<QToolButton*, void (*)(ClientSession&)> filters[] = {
        {w.SBReady, &SBReadyClick}, {w.SBPlaying, &SBPlayingClick}, {w.SBOnLine, &SBOnLineClick}};
    for (const auto& [button, click] : filters) {
        QObject::connect(button, &QToolButton::clicked, button, [&s, click = click] { click(s); });
    }
    w.SBReady->setChecked(s.SBReady);
    w.SBPlaying->setChecked(s.SBPlaying);
    w.SBOnLine->setChecked(s.SBOnLine);

    QObject::connect(w.TBRefresh, &QToolButton::clicked, w.TBRefresh, [&s] { PlayersRefresh(s); });
    QObject::connect(w.Refreshboard1, &QAction::triggered, w.Refreshboard1,
                     [&s] { PlayersRefresh(s); });

    const auto profile = [&w, &s] {
        const QModelIndexList selected = w.LVPlayers->selectionModel()->selectedRows();
        Profile1Click(s, selected.isEmpty() ? nullptr : s.LVPlayers.ShownRow(selected.first().row()));
    };
    QObject::connect(w.Profile1, &QAction::triggered, w.Profile1, profile);
    QObject::connect(w.Profile2, &QAction::triggered, w.Profile2, profile);

    QObject::connect(w.Showsaved1, &QAction::triggered, w.Showsaved1, [&w, &s] {
        if (!s.IsConnected())
            return;
        TFSavedgames window(s, [&w] { w.PageControl1->setCurrentIndex(0); }, &w);
        window.exec();
    });

    new TextLogView(s.MPrivateMessages, w.MPrivateMessages);
}
