// The read-only tables of the analysis windows: whole rows chosen one at a
// time, no row numbers, columns as wide as their contents; Tab leaves them.
#pragma once

class QTableWidget;
class QWidget;

namespace velmor {

QTableWidget* MakeFiguresTable(int columns, QWidget* parent);

} // namespace velmor
