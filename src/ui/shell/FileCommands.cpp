#include "ui/shell/FileCommands.h"

#include "core/exercises/ExerciseProfile.h"
#include "core/rundata/SimFileWriter.h"
#include "ui/common/ChosenFile.h"
#include "ui/common/Language.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/shell/LabSheetSession.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cerrno>
#include <memory>

namespace velmor {

namespace {

constexpr const char* kFileCommandsContext = "FileCommands";

QStringList NameFilters()
{
    return {QCoreApplication::translate(kFileCommandsContext,
                                        QT_TRANSLATE_NOOP("FileCommands", "Data Files (*.psm)")),
            QCoreApplication::translate(kFileCommandsContext,
                                        QT_TRANSLATE_NOOP("FileCommands", "All files (*)"))};
}

} // namespace

FileCommands::FileCommands(VelmorState& state, TfrmMain* main)
    : QObject(main), m_state(state), m_main(main)
{
}

QFileDialog* FileCommands::fileDialog(QFileDialog*& dialog, bool saving)
{
    if (dialog == nullptr) {
        dialog = new QFileDialog(m_main);
        dialog->setObjectName(saving ? QStringLiteral("dlgSave") : QStringLiteral("dlgOpen"));
        dialog->setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog->setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // ".psm", where the layout's dialogs added another extension.
        dialog->setDefaultSuffix(QStringLiteral("psm"));
        dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
        // Enter in the name box while its completion list is open accepts
        // the dialog from inside the list's own key handling: the list takes
        // the key as handled, keeps itself open through the loss of focus,
        // and, being a window of its own, outlives the dialog's closing
        // (this dialog is kept for the next time). Nothing of the dialog
        // may stay on screen.
        connect(dialog, &QDialog::finished, dialog, [dialog] {
            for (const QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
                if (const QCompleter* completer = edit->completer()) {
                    completer->popup()->hide();
                }
            }
        });
    }
    dialog->setWindowTitle(QCoreApplication::translate(
        kFileCommandsContext, saving ? QT_TRANSLATE_NOOP("FileCommands", "Save")
                                     : QT_TRANSLATE_NOOP("FileCommands", "Open")));
    dialog->setNameFilters(NameFilters());
    return dialog;
}

QFileDialog* FileCommands::openDialog()
{
    return fileDialog(dlgOpen, false);
}

QFileDialog* FileCommands::saveDialog()
{
    return fileDialog(dlgSave, true);
}

void FileCommands::warn(const QString& text)
{
    QMessageBox::warning(m_main, m_main->windowTitle(), text);
}

void FileCommands::FileOpen()
{
    if (m_state.run.runActive || m_main->switching()) {
        return; // a run or a switch owns the log now
    }
    QFileDialog* dialog = openDialog();
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return;
    }
    openChosenFile(dialog->selectedFiles().constFirst());
}

void FileCommands::openChosenFile(const QString& path)
{
    const OpenOutcome outcome = openFile(path, [this](const QString& warning) {
        if (!warning.isEmpty()) {
            warn(warning);
        }
    });
    if (!outcome.refusal.isEmpty()) {
        warn(outcome.refusal);
    }
}

FileCommands::OpenOutcome FileCommands::openFile(const QString& path,
                                                 const std::function<void(const QString&)>& loaded)
{
    OpenOutcome outcome;
    const QFileInfo info(path);
    if (!info.exists() || m_state.run.runActive || m_main->switching()) {
        return outcome; // cancelled, missing, or not now
    }
    ChosenFile chosen = ReadChosenFile(path, m_state.shell);
    if (!chosen.load) {
        outcome.refusal = std::move(chosen.refusal);
        return outcome;
    }
    outcome.read = true;
    const auto load = std::make_shared<SimFileLoad>(std::move(*chosen.load));
    const QString name = info.fileName();
    const auto apply = [this, load, name, loaded](ExerciseWindow* window) {
        applyLoad(*load, name, window);
        if (loaded) {
            loaded(QString::fromStdString(load->warning));
        }
    };
    const std::string form(FormName(load->exercise));
    if (m_state.shell.currentForm == form) {
        apply(m_main->exerciseWindow());
        return outcome;
    }
    // Another exercise (or none) is open: switch first, load once it is up.
    m_main->whenLoopWindowOpens(apply);
    m_main->Start(QString::fromStdString(form), false);
    const ExerciseWindow* window = m_main->exerciseWindow();
    if (!m_main->switching() && (window == nullptr || window->exercise() != load->exercise)) {
        m_main->whenLoopWindowOpens({}); // the exercise did not open
        outcome.read = false;
    }
    return outcome;
}

void FileCommands::applyLoad(const SimFileLoad& load, const QString& name, ExerciseWindow* window)
{
    TfrmGraph* graph = m_main->graphWindow();
    if (window == nullptr || graph == nullptr || window->exercise() != load.exercise ||
        !ApplySimFileSettings(m_state, load)) {
        return;
    }
    if (load.gateValvePercent) {
        graph->DrawGate();
    }
    window->UpdateSettings();
    ApplySimFileTrend(m_state, load);
    graph->ShowLoadedRun();
    graph->Heading(name);
    m_fileName = name;
    m_main->setFileCommandsEnabled(true);
    m_main->labSheets()->gradeRunOnScreen();
}

QString FileCommands::saveFile(const QString& path)
{
    ExerciseWindow* window = m_main->exerciseWindow();
    if (window == nullptr) {
        return {};
    }
    window->SendSettings();
    const WriteResult written = SaveSimulationFile(
        QFile::encodeName(path).toStdString(), window->exercise(), m_state.simSettings,
        m_state.run.gateValvePercent, m_state.log, m_state.run.sampleCount);
    const QString name = QFileInfo(path).fileName();
    if (written.ok()) {
        m_fileName = name;
        if (TfrmGraph* graph = m_main->graphWindow()) {
            graph->Heading(name);
        }
        return {};
    }
    QString text = QCoreApplication::translate(
                       kFileCommandsContext,
                       QT_TRANSLATE_NOOP(
                           "FileCommands",
                           "The run was not saved in %1: %2. A file that was there is unchanged."))
                       .arg(name, QString::fromStdString(written.error));
    if (written.error == SystemErrorText(EACCES) || written.error == SystemErrorText(EPERM) ||
        written.error == SystemErrorText(EROFS)) {
        text += QLatin1Char('\n') +
                QCoreApplication::translate(
                    kFileCommandsContext,
                    QT_TRANSLATE_NOOP("FileCommands",
                                      "The folder cannot be written to: choose another folder."));
    } else if (written.error == SystemErrorText(ENOSPC) ||
               written.error == SystemErrorText(EDQUOT) ||
               written.error == SystemErrorText(EFBIG)) {
        text += QLatin1Char('\n') +
                QCoreApplication::translate(
                    kFileCommandsContext,
                    QT_TRANSLATE_NOOP("FileCommands",
                                      "The disk is full: free some space or choose another disk."));
    }
    return text;
}

void FileCommands::FileSave()
{
    const ExerciseWindow* window = m_main->exerciseWindow();
    if (!m_main->trendShowsRun()) {
        return;
    }
    QFileDialog* dialog = saveDialog();
    const QString suggested =
        m_fileName.isEmpty()
            ? QString::fromLatin1(CommandWord(window->exercise()).data(),
                                  static_cast<qsizetype>(CommandWord(window->exercise()).size())) +
                  QStringLiteral(".psm")
            : m_fileName;
    dialog->selectFile(suggested);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return;
    }
    QString path = dialog->selectedFiles().constFirst();
    if (QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".psm");
    }
    const QString failure = saveFile(path);
    if (!failure.isEmpty()) {
        warn(failure);
    }
}

ReportSource FileCommands::reportSource(ReportRange range) const
{
    const ExerciseWindow* window = m_main->exerciseWindow();
    const Exercise exercise = window != nullptr ? window->exercise() : Exercise::Flow;
    const TfrmGraph* graph = m_main->graphWindow();
    return ReportSource{m_state,
                        exercise,
                        m_fileName,
                        graph != nullptr ? graph->shownTraces() : DefaultTraces(exercise),
                        range,
                        QDateTime::currentDateTime(),
                        graph != nullptr ? graph->view().trendViewStart : 0};
}

QString FileCommands::writeReportPdf(const QString& path, ReportRange range)
{
    if (m_main->exerciseWindow() == nullptr) {
        return {};
    }
    return WriteReportPdf(path, reportSource(range));
}

QByteArray FileCommands::reportPdf(ReportRange range) const
{
    return ReportPdf(reportSource(range));
}

void FileCommands::printReport(QPrinter& printer, ReportRange range)
{
    if (m_main->exerciseWindow() == nullptr) {
        return;
    }
    PaintReport(printer, reportSource(range));
}

void FileCommands::FilePrint()
{
    if (!m_main->trendShowsRun()) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(DefaultReportPageSize());
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(m_fileName.isEmpty() ? QStringLiteral("VELMOR") : m_fileName);
    QPrintDialog dialog(&printer, m_main);
    dialog.setWindowTitle(QCoreApplication::translate(kFileCommandsContext,
                                                      QT_TRANSLATE_NOOP("FileCommands", "Print")));
    // The report's own choice: the whole run or the stretch on screen.
    auto* tab = new QWidget;
    tab->setWindowTitle(QCoreApplication::translate(kFileCommandsContext,
                                                    QT_TRANSLATE_NOOP("FileCommands", "Report")));
    auto* layout = new QVBoxLayout(tab);
    auto* whole = new QRadioButton(
        QCoreApplication::translate(kFileCommandsContext,
                                    QT_TRANSLATE_NOOP("FileCommands", "The whole run")),
        tab);
    auto* view = new QRadioButton(
        QCoreApplication::translate(kFileCommandsContext,
                                    QT_TRANSLATE_NOOP("FileCommands", "The view on screen")),
        tab);
    whole->setChecked(true);
    layout->addWidget(whole);
    layout->addWidget(view);
    layout->addStretch();
    dialog.setOptionTabs({tab});
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    printReport(printer, view->isChecked() ? ReportRange::ShownView : ReportRange::WholeRun);
}

} // namespace velmor
