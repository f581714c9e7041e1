// The tuning map window from the keyboard and to a screen reader: its Tab
// order, its controls' names and what the map tells.
#include "ui/analysis/TuningMapWindow.h"

#include "core/analysis/ResponseFigures.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

namespace velmor {

namespace {

QString TuningMapWindowAccessTr(const char* source)
{
    return QCoreApplication::translate("TuningMapWindow", source);
}

} // namespace

void TuningMapWindow::orderTabStops()
{
    // Reading order: the settings row by row, Compute, the map, then the
    // buttons beside and below it.
    std::vector<QWidget*> order = {cboLoop, cboFigure, txtRecords};
    for (std::size_t a = 0; a < 2; ++a) {
        order.insert(order.end(), {cboSetting[a], txtFrom[a], txtTo[a], txtCount[a], chkLog[a]});
    }
    order.insert(order.end(),
                 {btnCompute, btnCancel, imgMap, btnUse, btnExportPng, btnExportCsv, btnClose});
    for (std::size_t k = 1; k < order.size(); ++k) {
        setTabOrder(order[k - 1], order[k]);
    }
}

void TuningMapWindow::nameControls()
{
    // The boxes' labels say "to" and "cells:" twice: their names say which axis.
    cboLoop->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Loop")));
    cboFigure->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Colour by")));
    txtRecords->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Run length in records")));
    cboSetting[0]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Setting across")));
    txtFrom[0]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Across from")));
    txtTo[0]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Across to")));
    txtCount[0]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Cells across")));
    chkLog[0]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Logarithmic across")));
    cboSetting[1]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Setting up")));
    txtFrom[1]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Up from")));
    txtTo[1]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Up to")));
    txtCount[1]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Cells up")));
    chkLog[1]->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Logarithmic up")));
    prgCompute->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Cells computed")));
    lblCell->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Cell under the cursor")));
    lblChosen->setAccessibleName(
        TuningMapWindowAccessTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Chosen cell")));
}

void TuningMapWindow::tellMap()
{
    // A screen reader reads the cursor's cell with its figures, or at
    // first what the map shows and how to move over it.
    const std::optional<std::size_t> index = imgMap->cursorIndex();
    if (index) {
        imgMap->setAccessibleDescription(
            cellText(*index).replace(QLatin1Char('\n'), QStringLiteral("; ")));
        return;
    }
    const std::span<const LoopTraces> loops = ControlledLoops(m_exercise);
    const char* unit = loop() < loops.size() ? loops[loop()].unit : nullptr;
    imgMap->setAccessibleDescription(
        TuningMapWindowAccessTr(
            QT_TRANSLATE_NOOP("TuningMapWindow",
                              "%1 over %2 across and %3 up. The arrow keys move a cell cursor, "
                              "Enter shows the cell's run."))
            .arg(MapFigureTitle(m_view.figure, unit, m_view.language), cboSetting[0]->currentText(),
                 cboSetting[1]->currentText()));
}

} // namespace velmor
