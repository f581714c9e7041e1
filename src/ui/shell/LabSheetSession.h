// The lab sheet open in the main window: File > Open Lab Sheet..., the
// exercise set up as the sheet says with its settings locked, the panel of
// instructions and targets, and the grade of every run shown (after a run
// ends, after a run file is opened).
#pragma once

#include "core/labsheets/LabSheet.h"
#include "core/rundata/State.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class QFileDialog;

namespace velmor {

class ExerciseWindow;
class LabSheetPanel;
class TfrmMain;

class LabSheetSession : public QObject {
    Q_OBJECT

public:
    LabSheetSession(VelmorState& state, TfrmMain* main);
    // The locks go with the main window that set them.
    ~LabSheetSession() override;

    // The dialog (filter "Lab Sheets (*.vlab)", in the folder of the sheets
    // shipped with the program), then the chosen sheet.
    void FileOpenLabSheet();
    QFileDialog* openDialog();
    // Opens the sheet at `path`: its exercise opens fresh with the sheet's
    // settings, locked ones locked, and the panel shows it. Returns the
    // refusal (nothing changed then), empty otherwise.
    QString openSheet(const QString& path);
    // openSheet with a refusal in a message box.
    void openChosenSheet(const QString& path);
    // The sheet goes: the panel closes, every setting is free again.
    void closeSheet();

    bool isOpen() const { return m_sheet.has_value(); }
    const std::optional<LabSheet>& sheet() const { return m_sheet; }
    LabSheetPanel* panel() const { return m_panel; }
    // The panel again, after its close box hid it, with the keyboard in it.
    void showPanel();

    // Grades the run the open exercise shows against the sheet, when it is
    // the sheet's exercise; the panel shows the grade.
    void gradeRunOnScreen();
    // The run on screen went (a run started, File > New): no grade shown.
    void forgetGrade();
    // What a kept run of `exercise` carries in its name: the open sheet's
    // label (from its file name) when the sheet is for that exercise.
    std::string historyLabel(Exercise exercise) const;

    // Where the ready sheets are: installed under the data folder, or the
    // source tree's when the program runs from its build folder.
    static QString shippedSheetsFolder();

private:
    void applySettings(ExerciseWindow* window);

    VelmorState& m_state;
    TfrmMain* m_main;
    std::optional<LabSheet> m_sheet;
    std::string m_label; // SheetLabel of the sheet's file name
    LabSheetPanel* m_panel = nullptr;
    QFileDialog* m_dialog = nullptr;
};

} // namespace velmor
