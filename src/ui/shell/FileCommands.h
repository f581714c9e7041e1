// The File menu's commands on simulation files: Open (also the toolbar's
// open button, the pop-up's saved-trend item and the command line), Save,
// Print and the PDF report. The main window calls them; they work on the
// open exercise through the main window's public interface.
#pragma once

#include "core/rundata/SimFileReader.h"
#include "core/rundata/State.h"
#include "ui/trends/TrendReport.h"

#include <QObject>
#include <QString>

#include <functional>

class QFileDialog;
class QPrinter;

namespace velmor {

class ExerciseWindow;
class TfrmMain;

class FileCommands : public QObject {
    Q_OBJECT

public:
    FileCommands(VelmorState& state, TfrmMain* main);

    // The open and save dialogs (made at first use): filter "Data Files
    // (*.psm)" and all files, default extension ".psm"; Save asks before
    // replacing a file.
    QFileDialog* openDialog();
    QFileDialog* saveDialog();

    // File > Open: the dialog, then the chosen file with its messages.
    void FileOpen();
    // File > Save: the dialog, then the run into the chosen file.
    void FileSave();
    // File > Print: the print dialog (with "Print to PDF"), whole run or
    // shown view, then the report.
    void FilePrint();

    // What reading a file came to: `refusal` holds the reader's message
    // when the file was refused (nothing changed then); `read` is set when
    // it is being loaded.
    struct OpenOutcome {
        bool read = false;
        QString refusal;
    };
    // Loads a chosen file as File > Open does. A missing file does nothing;
    // a folder, a device, a fifo or a file too large is refused unread.
    // The file is read and checked first; a good one is applied at once
    // when its exercise is open, else once that exercise has opened (after
    // the switch's wait). `loaded` runs then, with the reader's warning (a
    // file past 6000 lines) or an empty text.
    OpenOutcome openFile(const QString& path,
                         const std::function<void(const QString& warning)>& loaded = {});
    // openFile with the refusal and the warning in message boxes.
    void openChosenFile(const QString& path);

    // Writes the run of the open exercise to `path` in one step. Empty on
    // success, else what went wrong, for the user.
    QString saveFile(const QString& path);
    // The report of the open exercise's run as a PDF file.
    QString writeReportPdf(const QString& path, ReportRange range = ReportRange::WholeRun);
    QByteArray reportPdf(ReportRange range = ReportRange::WholeRun) const;
    void printReport(QPrinter& printer, ReportRange range);

    // The file name (without its folder) of the run on screen, if it was
    // opened or saved since the last run; empty otherwise.
    QString fileName() const { return m_fileName; }
    // Save and Print are off (a run started, the exercise closed): the
    // run on screen is no longer the file's.
    void forgetFile() { m_fileName.clear(); }

private:
    QFileDialog* fileDialog(QFileDialog*& dialog, bool saving);
    void applyLoad(const SimFileLoad& load, const QString& name, ExerciseWindow* window);
    ReportSource reportSource(ReportRange range) const;
    void warn(const QString& text);

    VelmorState& m_state;
    TfrmMain* m_main;
    QString m_fileName;
    QFileDialog* dlgOpen = nullptr;
    QFileDialog* dlgSave = nullptr;
};

} // namespace velmor
