#include "ui/analysis/AnalysisMenu.h"

#include "core/analysis/ResponseFigures.h"
#include "core/analysis/RunCsv.h"
#include "core/exercises/ControllerSettings.h"
#include "core/rundata/AtomicFile.h"
#include "ui/analysis/TfrmRunFigures.h"
#include "ui/analysis/TfrmStepTest.h"
#include "ui/analysis/TuningMapWindow.h"
#include "ui/common/ChosenFile.h"
#include "ui/common/Language.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/trends/TfrmGraph.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace velmor {

namespace {

constexpr const char* kAnalysisMenuContext = "AnalysisMenu";

} // namespace

AnalysisMenu::AnalysisMenu(VelmorState& state, AnalysisHost* host, QWidget* window, QMenuBar* bar,
                           QAction* before)
    : QObject(window), m_state(state), m_host(host), m_window(window)
{
    mnuAnalysis = new QMenu(window);
    bar->insertMenu(before, mnuAnalysis);
    mnuAnalysisFigures =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisFiguresClick);
    mnuAnalysisStepTest =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisStepTestClick);
    mnuAnalysisTuningMap =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisTuningMapClick);
    mnuAnalysis->addSeparator();
    mnuAnalysisExport =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisExportClick);
    mnuAnalysis->addSeparator();
    mnuAnalysisCompare =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisCompareClick);
    mnuAnalysisClearCompare =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisClearCompareClick);
    mnuAnalysis->addSeparator();
    mnuAnalysisLabSheet =
        mnuAnalysis->addAction(QString(), this, [this] { m_host->showLabSheet(); });
    mnuAnalysisLabSheet->setObjectName(QStringLiteral("mnuAnalysisLabSheet"));
    connect(mnuAnalysis, &QMenu::aboutToShow, this, &AnalysisMenu::updateItems);
    updateItems();
}

AnalysisMenu::~AnalysisMenu()
{
    delete m_figures;
    delete m_stepTest;
    delete m_tuningMap;
}

TfrmRunFigures* AnalysisMenu::figuresWindow() const
{
    return m_figures;
}

TfrmStepTest* AnalysisMenu::stepTestWindow() const
{
    return m_stepTest;
}

TuningMapWindow* AnalysisMenu::tuningMapWindow() const
{
    return m_tuningMap;
}

void AnalysisMenu::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kAnalysisMenuContext, english);
    };
    mnuAnalysis->setTitle(text(QT_TRANSLATE_NOOP("AnalysisMenu", "&Analysis")));
    mnuAnalysisFigures->setText(text(QT_TRANSLATE_NOOP("AnalysisMenu", "Run &figures...")));
    mnuAnalysisStepTest->setText(
        text(QT_TRANSLATE_NOOP("AnalysisMenu", "&Step test and tuning...")));
    mnuAnalysisTuningMap->setText(text(QT_TRANSLATE_NOOP("AnalysisMenu", "Tuning &Map...")));
    mnuAnalysisExport->setText(text(QT_TRANSLATE_NOOP("AnalysisMenu", "&Export CSV...")));
    mnuAnalysisCompare->setText(
        text(QT_TRANSLATE_NOOP("AnalysisMenu", "&Compare with saved run...")));
    mnuAnalysisLabSheet->setText(text(QT_TRANSLATE_NOOP("AnalysisMenu", "La&b sheet")));
    clearCompareText();
    if (m_figures != nullptr) {
        m_figures->SetLanguage();
    }
    if (m_stepTest != nullptr) {
        m_stepTest->SetLanguage();
    }
    if (m_tuningMap != nullptr) {
        m_tuningMap->SetLanguage();
    }
}

void AnalysisMenu::setEnabled(bool enabled)
{
    mnuAnalysis->menuAction()->setEnabled(enabled);
}

void AnalysisMenu::followTrend(bool shown)
{
    updateItems();
    const ExerciseWindow* window = m_host->exerciseWindow();
    if (m_figures != nullptr && m_figures->isVisible()) {
        if (shown) {
            m_figures->Refresh(window->exercise());
        } else {
            m_figures->hide();
        }
    }
    if (m_stepTest != nullptr && m_stepTest->isVisible()) {
        if (shown && window->exercise() == Exercise::Open) {
            m_stepTest->Refresh();
        } else {
            m_stepTest->hide();
        }
    }
}

void AnalysisMenu::updateItems()
{
    const ExerciseWindow* window = m_host->exerciseWindow();
    const bool shown = m_host->trendShowsRun();
    mnuAnalysisFigures->setEnabled(shown);
    mnuAnalysisExport->setEnabled(shown);
    mnuAnalysisStepTest->setEnabled(shown && window->exercise() == Exercise::Open);
    // A map needs a loop with a controller, not a run: it makes its own.
    mnuAnalysisTuningMap->setEnabled(window != nullptr &&
                                     !ControlledLoops(window->exercise()).empty());
    const TfrmGraph* graph = m_host->graphWindow();
    mnuAnalysisCompare->setEnabled(graph != nullptr && !m_state.run.runActive);
    mnuAnalysisClearCompare->setEnabled(graph != nullptr && graph->hasComparison());
    mnuAnalysisLabSheet->setEnabled(m_host->labSheetOpen());
    clearCompareText();
}

void AnalysisMenu::clearCompareText()
{
    // Names the saved run being shown, so the dashed traces are never a
    // mystery.
    const TfrmGraph* graph = m_host->graphWindow();
    QString text = QCoreApplication::translate(
        kAnalysisMenuContext, QT_TRANSLATE_NOOP("AnalysisMenu", "C&lear comparison"));
    if (graph != nullptr && graph->hasComparison() && !graph->comparisonName().isEmpty()) {
        QString name = graph->comparisonName();
        name.replace(QLatin1Char('&'), QLatin1String("&&"));
        text = QCoreApplication::translate(
                   kAnalysisMenuContext,
                   QT_TRANSLATE_NOOP("AnalysisMenu", "C&lear comparison with %1"))
                   .arg(name);
    }
    mnuAnalysisClearCompare->setText(text);
}

void AnalysisMenu::mnuAnalysisFiguresClick()
{
    const ExerciseWindow* window = m_host->exerciseWindow();
    if (!m_host->trendShowsRun()) {
        return;
    }
    if (m_figures == nullptr) {
        m_figures = new TfrmRunFigures(
            m_state,
            [this] {
                const TfrmGraph* graph = m_host->graphWindow();
                return graph != nullptr ? graph->cursorRecordShown() : 0;
            },
            m_window);
        m_figures->SetLanguage();
    }
    m_figures->Refresh(window->exercise());
    m_figures->show();
    m_figures->raise();
}

void AnalysisMenu::mnuAnalysisStepTestClick()
{
    const ExerciseWindow* window = m_host->exerciseWindow();
    if (!m_host->trendShowsRun() || window->exercise() != Exercise::Open) {
        return;
    }
    if (m_stepTest == nullptr) {
        m_stepTest = new TfrmStepTest(m_state, m_window);
        m_stepTest->SetLanguage();
        connect(m_stepTest, &TfrmStepTest::useInFlow, this, &AnalysisMenu::useInFlow);
    }
    m_stepTest->Refresh();
    m_stepTest->show();
    m_stepTest->raise();
}

void AnalysisMenu::mnuAnalysisTuningMapClick()
{
    const ExerciseWindow* window = m_host->exerciseWindow();
    if (window == nullptr || ControlledLoops(window->exercise()).empty()) {
        return;
    }
    // A map is of one exercise: another one opened since gets a map of its own.
    if (m_tuningMap != nullptr && m_tuningMap->exercise() != window->exercise()) {
        delete m_tuningMap;
    }
    if (m_tuningMap == nullptr) {
        const Exercise e = window->exercise();
        m_tuningMap = new TuningMapWindow(
            m_state, e,
            [this, e](const std::vector<std::pair<int, float>>& entries) {
                return enterValues(e, entries);
            },
            m_window);
    } else {
        m_tuningMap->Refresh();
    }
    m_tuningMap->show();
    m_tuningMap->raise();
}

bool AnalysisMenu::enterValues(Exercise exercise, const std::vector<std::pair<int, float>>& entries)
{
    auto* loopWindow = dynamic_cast<LoopWindow*>(m_host->exerciseWindow());
    if (loopWindow == nullptr || loopWindow->exercise() != exercise) {
        return false;
    }
    for (const auto& [code, value] : entries) {
        loopWindow->imgPGClick(code);
        KeypadState& k = m_state.keypad;
        k.keypadValue = value;
        if (k.keypadValue >= k.keypadMin && k.keypadValue <= k.keypadMax) {
            loopWindow->UpdateDisplay(code);
        }
    }
    m_host->hideKeypad();
    return true;
}

QString AnalysisMenu::exportCsv(const QString& path)
{
    const ExerciseWindow* window = m_host->exerciseWindow();
    if (window == nullptr) {
        return {};
    }
    const std::string table = RunCsv(LoggedRecords(m_state.log, m_state.run.sampleCount),
                                     window->exercise(), m_state.shell.decimalComma);
    const WriteResult result = WriteFileAtomically(path.toStdString(), table);
    return result.ok() ? QString() : QString::fromStdString(result.error);
}

void AnalysisMenu::mnuAnalysisExportClick()
{
    if (!m_host->trendShowsRun()) {
        return;
    }
    QString path = QFileDialog::getSaveFileName(
        m_window,
        QCoreApplication::translate(kAnalysisMenuContext,
                                    QT_TRANSLATE_NOOP("AnalysisMenu", "Export CSV")),
        QString(),
        QCoreApplication::translate(kAnalysisMenuContext,
                                    QT_TRANSLATE_NOOP("AnalysisMenu", "CSV files (*.csv)")));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        path += QLatin1String(".csv");
    }
    const QString refused = exportCsv(path);
    if (!refused.isEmpty()) {
        QMessageBox::warning(
            m_window, m_window->windowTitle(),
            QCoreApplication::translate(kAnalysisMenuContext,
                                        QT_TRANSLATE_NOOP("AnalysisMenu", "Could not write %1: %2"))
                .arg(path, refused));
    }
}

QString AnalysisMenu::compareWith(const QString& path)
{
    TfrmGraph* graph = m_host->graphWindow();
    if (graph == nullptr) {
        return {};
    }
    ChosenFile chosen = ReadChosenFile(path, m_state.shell);
    if (!chosen.load) {
        return chosen.refusal;
    }
    if (chosen.load->exercise != graph->exercise()) {
        return QCoreApplication::translate(
            kAnalysisMenuContext,
            QT_TRANSLATE_NOOP("AnalysisMenu", "The saved run is of another exercise: only a run of "
                                              "the open exercise can be compared."));
    }
    std::vector<SampleRecord> records = std::move(chosen.load->records);
    records.resize(static_cast<std::size_t>(
        std::clamp<std::int32_t>(chosen.load->sampleCount, 0, kLogRecords)));
    graph->SetComparison(std::move(records), chosen.load->secondIndex, QFileInfo(path).fileName());
    return {};
}

void AnalysisMenu::mnuAnalysisCompareClick()
{
    const QString path = QFileDialog::getOpenFileName(
        m_window,
        QCoreApplication::translate(kAnalysisMenuContext,
                                    QT_TRANSLATE_NOOP("AnalysisMenu", "Compare with saved run")),
        QString(),
        QCoreApplication::translate("FileCommands", "Data Files (*.psm)") + QStringLiteral(";;") +
            QCoreApplication::translate("FileCommands", "All files (*)"));
    if (path.isEmpty()) {
        return;
    }
    const QString refused = compareWith(path);
    if (!refused.isEmpty()) {
        QMessageBox::warning(m_window, m_window->windowTitle(), refused);
    }
}

void AnalysisMenu::mnuAnalysisClearCompareClick()
{
    if (TfrmGraph* graph = m_host->graphWindow()) {
        graph->ClearComparison();
    }
}

void AnalysisMenu::useInFlow(const FlowTuning& tuning)
{
    // Once the Flow window exists, each value goes in as the keypad's OK
    // takes it: the box's range and old value, then the exercise's entry.
    m_host->whenLoopWindowOpens([this, tuning](ExerciseWindow* window) {
        auto* flow = dynamic_cast<LoopWindow*>(window);
        if (flow == nullptr || window->exercise() != Exercise::Flow) {
            return;
        }
        const std::pair<int, double> entries[] = {
            {kCodePG, tuning.pg}, {kCodeI, tuning.i}, {kCodeD, tuning.d}};
        for (const auto& [code, value] : entries) {
            flow->imgPGClick(code);
            KeypadState& k = m_state.keypad;
            k.keypadValue = static_cast<float>(value);
            if (k.keypadValue >= k.keypadMin && k.keypadValue <= k.keypadMax) {
                window->UpdateDisplay(code);
            }
        }
        m_host->hideKeypad();
    });
    m_host->Start(QStringLiteral("frmFlow"), true);
}

} // namespace velmor
