// File > Run History: every kept run in a table (date, exercise, duration,
// segments, the first step's overshoot and IAE), sortable by any column and
// filtered by exercise, with Open (as File > Open), Compare (as Analysis >
// Compare), Delete (to the trash where the desktop has one) and Show Folder.
// The table shows what the history has read so far and fills in as the rest
// is read.
#pragma once

#include "core/rundata/State.h"
#include "ui/shell/RunHistory.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace velmor {

class RunsModel;
class TfrmMain;

// The exercise's name as the lists show it.
QString ExerciseTitle(const ShellState& shell, Exercise exercise);
// One line of File > Recent Runs: when it ended, the exercise, its records
// and the controller it started with (PG, I, D) or, for Open loop, the
// waveform.
QString KeptRunCaption(const KeptRun& run);

class RunHistoryWindow : public QWidget {
    Q_OBJECT

public:
    enum Column { ColDate, ColExercise, ColDuration, ColSegments, ColOvershoot, ColIae, ColCount };

    RunHistoryWindow(VelmorState& state, RunHistory& history, TfrmMain* main);

    void SetLanguage();
    // Open and Compare follow the selection and what is open now.
    void updateButtons();

    // The selected run's file name (empty when none).
    QString selectedRun() const;
    void selectRun(const QString& fileName);
    // Exercise filter: nothing for every exercise.
    void filterExercise(std::optional<Exercise> exercise);

    void btnOpenClick();
    void btnCompareClick();
    void btnDeleteClick();
    void btnShowFolderClick();

    QComboBox* cboExercise = nullptr;
    QLabel* lblExercise = nullptr;
    QLabel* lblReading = nullptr;
    QTableView* grdRuns = nullptr;
    QLabel* lblFolder = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnCompare = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnShowFolder = nullptr;
    QPushButton* btnClose = nullptr;

    // The rows as shown: sorted and filtered. Qt::UserRole is what a column
    // sorts by; the date column's Qt::UserRole + 1 is the run's file name.
    QSortFilterProxyModel* proxy() const { return m_proxy; }

protected:
    // Coming back to the window: what is open may have changed meanwhile.
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Esc closes the window, as Close does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();
    std::optional<KeptRun> selected() const;

    VelmorState& m_state;
    RunHistory& m_history;
    TfrmMain* m_main;
    RunsModel* m_model = nullptr;
    bool m_stale = true; // the list changed while the window was hidden
    bool m_sized = false;
    QSortFilterProxyModel* m_proxy = nullptr;
};

} // namespace velmor
