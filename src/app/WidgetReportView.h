#pragma once

class QTreeView;
class QWidget;

// A read-only report list: whole rows selected one at a time, no tree decoration.
QTreeView* MakeReportView(QWidget* parent, const char* name);
