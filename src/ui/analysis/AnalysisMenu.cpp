#include "ui/analysis/AnalysisMenu.h"

#include "core/analysis/ResponseFigures.h"
#include "core/analysis/RunCsv.h"
#include "core/exercises/ControllerSettings.h"
#include "core/rundata/AtomicFile.h"
#include "ui/analysis/TfrmRunFigures.h"
#include "ui/analysis/TfrmStepTest.h"
#include "ui/exercises/LoopWindow.h"
#include "ui/shell/Language.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace velmor {

namespace {

constexpr const char* kContext = "AnalysisMenu";

} // namespace

AnalysisMenu::AnalysisMenu(VelmorState& state, TfrmMain* main, QMenuBar* bar, QAction* before)
    : QObject(main), m_state(state), m_main(main)
{
    mnuAnalysis = new QMenu(main);
    bar->insertMenu(before, mnuAnalysis);
    mnuAnalysisFigures =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisFiguresClick);
    mnuAnalysisStepTest =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisStepTestClick);
    mnuAnalysis->addSeparator();
    mnuAnalysisExport =
        mnuAnalysis->addAction(QString(), this, &AnalysisMenu::mnuAnalysisExportClick);
    connect(mnuAnalysis, &QMenu::aboutToShow, this, &AnalysisMenu::updateItems);
    updateItems();
}

AnalysisMenu::~AnalysisMenu()
{
    delete m_figures;
    delete m_stepTest;
}

TfrmRunFigures* AnalysisMenu::figuresWindow() const
{
    return m_figures;
}

TfrmStepTest* AnalysisMenu::stepTestWindow() const
{
    return m_stepTest;
}

void AnalysisMenu::SetLanguage()
{
    const ShellState& shell = m_state.shell;
    const auto text = [&shell](const char* english) { return LangText(shell, kContext, english); };
    mnuAnalysis->setTitle(text(QT_TRANSLATE_NOOP("AnalysisMenu", "&Analysis")));
    mnuAnalysisFigures->setText(text(QT_TRANSLATE_NOOP("AnalysisMenu", "Run &figures...")));
    mnuAnalysisStepTest->setText(
        text(QT_TRANSLATE_NOOP("AnalysisMenu", "&Step test and tuning...")));
    mnuAnalysisExport->setText(text(QT_TRANSLATE_NOOP("AnalysisMenu", "&Export CSV...")));
    if (m_figures != nullptr) {
        m_figures->SetLanguage();
    }
    if (m_stepTest != nullptr) {
        m_stepTest->SetLanguage();
    }
}

void AnalysisMenu::setEnabled(bool enabled)
{
    mnuAnalysis->menuAction()->setEnabled(enabled);
}

void AnalysisMenu::updateItems()
{
    const ExerciseWindow* window = m_main->exerciseWindow();
    const bool data = window != nullptr && m_state.run.sampleCount > 0 && !m_state.run.runActive;
    mnuAnalysisFigures->setEnabled(data);
    mnuAnalysisExport->setEnabled(data);
    mnuAnalysisStepTest->setEnabled(data && window->exercise() == Exercise::Open);
}

void AnalysisMenu::mnuAnalysisFiguresClick()
{
    const ExerciseWindow* window = m_main->exerciseWindow();
    if (window == nullptr) {
        return;
    }
    if (m_figures == nullptr) {
        m_figures = new TfrmRunFigures(m_state, m_main);
        m_figures->SetLanguage();
    }
    m_figures->Refresh(window->exercise());
    m_figures->show();
    m_figures->raise();
}

void AnalysisMenu::mnuAnalysisStepTestClick()
{
    const ExerciseWindow* window = m_main->exerciseWindow();
    if (window == nullptr || window->exercise() != Exercise::Open) {
        return;
    }
    if (m_stepTest == nullptr) {
        m_stepTest = new TfrmStepTest(m_state, m_main);
        m_stepTest->SetLanguage();
        connect(m_stepTest, &TfrmStepTest::useInFlow, this, &AnalysisMenu::useInFlow);
    }
    m_stepTest->Refresh();
    m_stepTest->show();
    m_stepTest->raise();
}

QString AnalysisMenu::exportCsv(const QString& path)
{
    const ExerciseWindow* window = m_main->exerciseWindow();
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
    const ShellState& shell = m_state.shell;
    QString path = QFileDialog::getSaveFileName(
        m_main, LangText(shell, kContext, QT_TRANSLATE_NOOP("AnalysisMenu", "Export CSV")),
        QString(),
        LangText(shell, kContext, QT_TRANSLATE_NOOP("AnalysisMenu", "CSV files (*.csv)")));
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        path += QLatin1String(".csv");
    }
    const QString refused = exportCsv(path);
    if (!refused.isEmpty()) {
        QMessageBox::warning(
            m_main, m_main->windowTitle(),
            LangText(shell, kContext, QT_TRANSLATE_NOOP("AnalysisMenu", "Could not write %1: %2"))
                .arg(path, refused));
    }
}

void AnalysisMenu::useInFlow(const FlowTuning& tuning)
{
    // Once the Flow window exists, each value goes in as the keypad's OK
    // takes it: the box's range and old value, then the exercise's entry.
    m_main->whenLoopWindowOpens([this, tuning](ExerciseWindow* window) {
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
        m_main->hideKeypad();
    });
    m_main->Start(QStringLiteral("frmFlow"), true);
}

} // namespace velmor
