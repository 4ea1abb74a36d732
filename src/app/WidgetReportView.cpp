#include "app/WidgetReportView.h"

#include <QTreeView>

QTreeView* MakeReportView(QWidget* parent, const char* name)
{
    auto* view = new QTreeView(parent);
    view->setObjectName(QLatin1String(name));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setItemsExpandable(false);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return view;
}
