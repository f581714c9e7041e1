#include "ui/shell/LabSheetSession.h"

#include "core/analysis/ResponseFigures.h"
#include "core/exercises/ExerciseProfile.h"
#include "core/exercises/NamedSettings.h"
#include "core/labsheets/SheetGrade.h"
#include "core/rundata/HistoryNames.h"
#include "ui/common/SettingLocks.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/shell/LabSheetPanel.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>

namespace velmor {

namespace {

constexpr const char* kLabSheetSessionContext = "LabSheet";

QString LabSheetSessionText(const char* english)
{
    return QCoreApplication::translate(kLabSheetSessionContext, english);
}

} // namespace

LabSheetSession::LabSheetSession(VelmorState& state, TfrmMain* main)
    : QObject(main), m_state(state), m_main(main)
{
    m_panel = new LabSheetPanel(main);
    m_panel->hide();
    connect(m_panel, &LabSheetPanel::closeSheetRequested, this, &LabSheetSession::closeSheet);
}

LabSheetSession::~LabSheetSession()
{
    if (m_sheet) {
        UnlockSettings();
    }
}

QString LabSheetSession::shippedSheetsFolder()
{
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                               QStringLiteral("velmor/labsheets"), QStandardPaths::LocateDirectory);
    if (!installed.isEmpty()) {
        return installed;
    }
    const QString beside =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/velmor/labsheets");
    if (QFileInfo(beside).isDir()) {
        return QDir::cleanPath(beside);
    }
#ifdef VELMOR_SOURCE_LABSHEETS
    if (QFileInfo(QStringLiteral(VELMOR_SOURCE_LABSHEETS)).isDir()) {
        return QStringLiteral(VELMOR_SOURCE_LABSHEETS);
    }
#endif
    return {};
}

QFileDialog* LabSheetSession::openDialog()
{
    if (m_dialog == nullptr) {
        m_dialog = new QFileDialog(m_main);
        m_dialog->setObjectName(QStringLiteral("dlgOpenLabSheet"));
        m_dialog->setAcceptMode(QFileDialog::AcceptOpen);
        m_dialog->setFileMode(QFileDialog::ExistingFile);
        // The ready sheets first; the dialog remembers where the user went.
        const QString shipped = shippedSheetsFolder();
        if (!shipped.isEmpty()) {
            m_dialog->setDirectory(shipped);
        }
    }
    m_dialog->setWindowTitle(LabSheetSessionText(QT_TRANSLATE_NOOP("LabSheet", "Open Lab Sheet")));
    m_dialog->setNameFilters(
        {LabSheetSessionText(QT_TRANSLATE_NOOP("LabSheet", "Lab Sheets (*.vlab)")),
         QCoreApplication::translate("FileCommands", "All files (*)")});
    return m_dialog;
}

void LabSheetSession::FileOpenLabSheet()
{
    if (m_state.run.runActive || m_main->switching()) {
        return;
    }
    QFileDialog* dialog = openDialog();
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return;
    }
    openChosenSheet(dialog->selectedFiles().constFirst());
}

void LabSheetSession::openChosenSheet(const QString& path)
{
    const QString refusal = openSheet(path);
    if (!refusal.isEmpty()) {
        QMessageBox::warning(m_main, m_main->windowTitle(), refusal);
    }
}

QString LabSheetSession::openSheet(const QString& path)
{
    if (m_state.run.runActive || m_main->switching()) {
        return {}; // a run or a switch owns the exercise now
    }
    const LabSheetFileResult read = ReadLabSheetFile(QFile::encodeName(path).toStdString());
    const QString name = QFileInfo(path).fileName();
    if (!read.read.ok()) {
        return LabSheetSessionText(QT_TRANSLATE_NOOP("LabSheet", "%1 cannot be read: %2"))
            .arg(name, QString::fromStdString(read.read.reason));
    }
    if (!read.sheet.ok()) {
        return LabSheetSessionText(
                   QT_TRANSLATE_NOOP("LabSheet", "%1 is not a lab sheet this program can use: %2"))
            .arg(name, QString::fromStdString(read.sheet.error));
    }
    m_sheet = *read.sheet.sheet;
    m_label = SheetLabel(QFile::encodeName(name).toStdString());
    LockSettings(m_sheet->exercise, m_sheet->locked);
    m_panel->showSheet(*m_sheet);
    if (m_main->dockWidgetArea(m_panel) == Qt::NoDockWidgetArea) {
        m_main->addDockWidget(Qt::RightDockWidgetArea, m_panel);
        // Narrow enough to leave the exercise and its trend most of a small
        // screen; the user can widen it.
        m_main->resizeDocks({m_panel}, {m_panel->fontMetrics().averageCharWidth() * 50},
                            Qt::Horizontal);
    }
    m_panel->show();

    // The exercise opens fresh (its defaults), then takes the sheet's settings.
    const std::string form(FormName(m_sheet->exercise));
    m_main->whenLoopWindowOpens([this](ExerciseWindow* window) { applySettings(window); });
    m_main->Start(QString::fromStdString(form), true);
    return {};
}

void LabSheetSession::applySettings(ExerciseWindow* window)
{
    if (!m_sheet || window == nullptr || window->exercise() != m_sheet->exercise) {
        return;
    }
    const Exercise e = m_sheet->exercise;
    // The settings are typed into the fresh exercise in the sheet's order,
    // as velmor-sim's --set takes them. Not through the settings block: it
    // keeps what the last run started with and left behind (its waveform,
    // its last set point and measurement), and this exercise has had none.
    for (const SheetSetting& s : m_sheet->settings) {
        ApplySetting(m_state, e, s.name, s.value);
    }
    window->ShowSettings();
    if (TfrmGraph* graph = m_main->graphWindow();
        graph != nullptr && (e == Exercise::Flow || e == Exercise::Open)) {
        graph->DrawGate();
    }
    m_panel->clearGrade();
}

void LabSheetSession::closeSheet()
{
    m_sheet.reset();
    UnlockSettings();
    m_panel->showSheet(LabSheet{});
    m_panel->hide();
}

void LabSheetSession::showPanel()
{
    if (m_sheet) {
        m_panel->takeFocus();
    }
}

void LabSheetSession::gradeRunOnScreen()
{
    ExerciseWindow* window = m_main->exerciseWindow();
    if (!m_sheet || window == nullptr || window->exercise() != m_sheet->exercise ||
        m_state.run.sampleCount <= 0) {
        return;
    }
    window->SendSettings();
    SimFileLoad run;
    run.exercise = m_sheet->exercise;
    run.settings = m_state.simSettings;
    run.trendSpan = m_state.trend.trendSpan;
    run.gateValvePercent = m_state.run.gateValvePercent;
    const auto records = LoggedRecords(m_state.log, m_state.run.sampleCount);
    run.records.assign(records.begin(), records.end());
    run.sampleCount = static_cast<std::int32_t>(records.size());
    m_panel->showGrade(GradeRun(*m_sheet, run));
}

std::string LabSheetSession::historyLabel(Exercise exercise) const
{
    return m_sheet && m_sheet->exercise == exercise ? m_label : std::string();
}

void LabSheetSession::forgetGrade()
{
    if (m_sheet) {
        m_panel->clearGrade();
    }
}

} // namespace velmor
