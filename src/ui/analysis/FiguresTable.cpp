#include "ui/analysis/FiguresTable.h"

#include <QHeaderView>
#include <QTableWidget>

namespace velmor {

QTableWidget* MakeFiguresTable(int columns, QWidget* parent)
{
    auto* grid = new QTableWidget(0, columns, parent);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab goes on to the next control; the arrows move from cell to cell.
    grid->setTabKeyNavigation(false);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return grid;
}

} // namespace velmor
