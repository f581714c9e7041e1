#include "ui/shell/RunHistoryWindow.h"

#include "core/exercises/Waveform.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/common/Language.h"
#include "ui/common/ValueBox.h"
#include "ui/exercises/ExerciseWindow.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/TfrmMain.h"
#include "ui/trends/TfrmGraph.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>

namespace velmor {

namespace {

constexpr const char* kRunHistoryWindowContext = "RunHistoryWindow";

// Roles of the table's cells: what a column sorts by, and the row's file
// and exercise (on the date cell).
constexpr int kSortRole = Qt::UserRole;
constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kExerciseRole = Qt::UserRole + 2;

QString RunHistoryWindowText(const char* english)
{
    return QCoreApplication::translate(kRunHistoryWindowContext, english);
}

const char* const kWaveformNames[] = {
    QT_TRANSLATE_NOOP("RunHistoryWindow", "Flat"), QT_TRANSLATE_NOOP("RunHistoryWindow", "Ramp"),
    QT_TRANSLATE_NOOP("RunHistoryWindow", "Sine"), QT_TRANSLATE_NOOP("RunHistoryWindow", "Step"),
    QT_TRANSLATE_NOOP("RunHistoryWindow", "Sawtooth")};

QString WhenText(const QDateTime& ended)
{
    return ended.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString Dash()
{
    return QString::fromUtf8("\u2013");
}

} // namespace

QString ExerciseTitle(Exercise exercise)
{
    const ExerciseEntry* entry = ExerciseEntryFor(exercise);
    if (entry == nullptr || entry->historyTitle == nullptr) {
        return QString::fromLatin1(CommandWord(exercise).data(),
                                   static_cast<qsizetype>(CommandWord(exercise).size()));
    }
    return RunHistoryWindowText(entry->historyTitle);
}

QString KeptRunCaption(const KeptRun& run)
{
    QString text = WhenText(run.ended) + QStringLiteral("  ") + ExerciseTitle(run.exercise);
    if (!run.summary) {
        return text;
    }
    const RunSummary& s = *run.summary;
    text += QStringLiteral(", ") +
            RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "%1 records"))
                .arg(QString::number(s.records));
    if (s.controller) {
        text += QStringLiteral(", ") +
                RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "PG %1, I %2, D %3"))
                    .arg(FormatGeneral(s.controller->pg, 4), FormatGeneral(s.controller->i, 4),
                         FormatGeneral(s.controller->d, 4));
    } else if (IsWaveformType(s.waveform)) {
        text += QStringLiteral(", ") +
                RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "%1 (A %2, B %3, C %4)"))
                    .arg(RunHistoryWindowText(kWaveformNames[s.waveform - 1]),
                         FormatGeneral(s.waveA, 4), FormatGeneral(s.waveB, 4),
                         FormatGeneral(s.waveC, 4));
    }
    return text;
}

// The history's list as a table. Cells are made when asked, so a new run
// costs the window a reset, not 200 rows of items.
class RunsModel : public QAbstractTableModel {
public:
    RunsModel(const VelmorState& state, const RunHistory& history, QObject* parent)
        : QAbstractTableModel(parent), m_state(state), m_history(history)
    {
    }

    void reset()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_history.runs().size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : RunHistoryWindow::ColCount;
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
            return {};
        }
        static const char* const kHeadings[] = {
            QT_TRANSLATE_NOOP("RunHistoryWindow", "Date"),
            QT_TRANSLATE_NOOP("RunHistoryWindow", "Exercise"),
            QT_TRANSLATE_NOOP("RunHistoryWindow", "Duration (s)"),
            QT_TRANSLATE_NOOP("RunHistoryWindow", "Segments"),
            QT_TRANSLATE_NOOP("RunHistoryWindow", "Overshoot (%)"),
            QT_TRANSLATE_NOOP("RunHistoryWindow", "IAE"),
        };
        return section >= 0 && section < RunHistoryWindow::ColCount
                   ? RunHistoryWindowText(kHeadings[section])
                   : QVariant();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_history.runs().size()) {
            return {};
        }
        const KeptRun& run = m_history.runs().at(index.row());
        const int column = index.column();
        if (column == RunHistoryWindow::ColDate && role == kFileRole) {
            return run.fileName;
        }
        if (column == RunHistoryWindow::ColDate && role == kExerciseRole) {
            return QString::number(static_cast<int>(run.exercise));
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(column >= RunHistoryWindow::ColDuration
                                           ? Qt::AlignRight | Qt::AlignVCenter
                                           : Qt::AlignLeft | Qt::AlignVCenter);
        }
        if (role != Qt::DisplayRole && role != kSortRole) {
            return {};
        }
        const bool text = role == Qt::DisplayRole;
        if (column == RunHistoryWindow::ColDate) {
            return text ? QVariant(WhenText(run.ended)) : QVariant(run.ended);
        }
        if (column == RunHistoryWindow::ColExercise) {
            return ExerciseTitle(run.exercise);
        }
        std::optional<double> value;
        int decimals = 1;
        if (const std::optional<RunSummary>& s = run.summary) {
            switch (column) {
            case RunHistoryWindow::ColDuration:
                value = s->duration;
                break;
            case RunHistoryWindow::ColSegments:
                value = s->segments;
                decimals = 0;
                break;
            case RunHistoryWindow::ColOvershoot:
                value = s->overshootPercent;
                break;
            default:
                value = s->iae;
                decimals = -1;
                break;
            }
        }
        if (!text) {
            // Runs without a figure sort below every run with one.
            return value ? *value : -1e300;
        }
        if (!value) {
            return Dash();
        }
        return decimals < 0 ? FormatGeneral(*value, 4) : FormatFixed(*value, decimals);
    }

private:
    const VelmorState& m_state;
    const RunHistory& m_history;
};

RunHistoryWindow::RunHistoryWindow(VelmorState& state, RunHistory& history, TfrmMain* main)
    : QWidget(main, Qt::Window), m_state(state), m_history(history), m_main(main)
{
    setObjectName(QStringLiteral("frmRunHistory"));
    lblExercise = new QLabel(this);
    cboExercise = new QComboBox(this);
    // Its width follows its words, also when the language changes them.
    cboExercise->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblExercise->setBuddy(cboExercise);
    lblReading = new QLabel(this);
    m_model = new RunsModel(m_state, m_history, this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortRole(kSortRole);
    m_proxy->setFilterRole(kExerciseRole);
    m_proxy->setFilterKeyColumn(ColDate);
    grdRuns = new QTableView(this);
    grdRuns->setModel(m_proxy);
    grdRuns->setSortingEnabled(true);
    grdRuns->sortByColumn(ColDate, Qt::DescendingOrder);
    grdRuns->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdRuns->setSelectionMode(QAbstractItemView::SingleSelection);
    grdRuns->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRuns->verticalHeader()->hide();
    grdRuns->horizontalHeader()->setStretchLastSection(true);
    grdRuns->verticalHeader()->setMinimumSectionSize(0);
    grdRuns->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdRuns->verticalHeader()->setDefaultSectionSize(grdRuns->fontMetrics().height() + 6);
    lblFolder = new QLabel(this);
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    btnOpen = new QPushButton(this);
    btnCompare = new QPushButton(this);
    btnDelete = new QPushButton(this);
    btnShowFolder = new QPushButton(this);
    btnClose = new QPushButton(this);
    btnOpen->setDefault(true);

    auto* filter = new QHBoxLayout;
    filter->addWidget(lblExercise);
    filter->addWidget(cboExercise);
    filter->addStretch();
    filter->addWidget(lblReading);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {btnOpen, btnCompare, btnDelete, btnShowFolder}) {
        buttons->addWidget(b);
    }
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(grdRuns, 1);
    layout->addWidget(lblFolder);
    layout->addLayout(buttons);

    connect(cboExercise, &QComboBox::currentIndexChanged, this, [this] {
        const QVariant exercise = cboExercise->currentData();
        filterExercise(exercise.isValid()
                           ? std::optional<Exercise>(static_cast<Exercise>(exercise.toInt()))
                           : std::nullopt);
    });
    connect(grdRuns->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &RunHistoryWindow::updateButtons);
    connect(grdRuns, &QTableView::doubleClicked, this, &RunHistoryWindow::btnOpenClick);
    connect(btnOpen, &QPushButton::clicked, this, &RunHistoryWindow::btnOpenClick);
    connect(btnCompare, &QPushButton::clicked, this, &RunHistoryWindow::btnCompareClick);
    connect(btnDelete, &QPushButton::clicked, this, &RunHistoryWindow::btnDeleteClick);
    connect(btnShowFolder, &QPushButton::clicked, this, &RunHistoryWindow::btnShowFolderClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::hide);
    connect(&m_history, &RunHistory::runsChanged, this, &RunHistoryWindow::fill);

    // Wide enough for every column in either language, never past the screen.
    const QScreen* screen = this->screen();
    const int available = screen != nullptr ? screen->availableGeometry().width() - 16 : 780;
    resize(std::min(780, available), 440);
    SetLanguage();
}

void RunHistoryWindow::SetLanguage()
{
    setWindowTitle(RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "Run History")));
    grdRuns->setAccessibleName(windowTitle());
    lblExercise->setText(RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "&Exercise:")));
    {
        const QSignalBlocker quiet(cboExercise);
        const int chosen = std::max(cboExercise->currentIndex(), 0);
        cboExercise->clear();
        cboExercise->addItem(
            RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "All exercises")));
        for (Exercise e : Exercises()) {
            cboExercise->addItem(ExerciseTitle(e), static_cast<int>(e));
        }
        cboExercise->setCurrentIndex(chosen);
    }
    lblReading->setText(
        RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "Reading the runs...")));
    lblFolder->setText(RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "Folder: %1"))
                           .arg(QDir::toNativeSeparators(m_history.folder())));
    btnOpen->setText(RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "&Open")));
    btnCompare->setText(RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "&Compare")));
    btnDelete->setText(RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "&Delete")));
    btnShowFolder->setText(
        RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "Show &Folder")));
    btnClose->setText(RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow", "Close")));
    fill();
}

void RunHistoryWindow::fill()
{
    if (!isVisible()) {
        m_stale = true; // filled when shown again
        return;
    }
    m_stale = false;
    const QString keep = selectedRun();
    m_model->reset();
    if (!m_sized && m_proxy->rowCount() > 0) {
        // Sized to the texts once there are rows; then the user's widths stay.
        grdRuns->resizeColumnsToContents();
        m_sized = true;
    }
    lblReading->setVisible(m_history.reading());
    // The newest run is chosen until the user chooses another.
    selectRun(keep.isEmpty() && m_proxy->rowCount() > 0
                  ? m_proxy->index(0, ColDate).data(kFileRole).toString()
                  : keep);
    updateButtons();
}

void RunHistoryWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_stale) {
        fill();
    }
    // Runs removed or added in the folder meanwhile show up.
    m_history.reread();
}

void RunHistoryWindow::filterExercise(std::optional<Exercise> exercise)
{
    m_proxy->setFilterRegularExpression(
        exercise ? QStringLiteral("^%1$").arg(static_cast<int>(*exercise)) : QString());
    if (cboExercise->currentData() !=
        (exercise ? QVariant(static_cast<int>(*exercise)) : QVariant())) {
        const QSignalBlocker quiet(cboExercise);
        cboExercise->setCurrentIndex(exercise ? cboExercise->findData(static_cast<int>(*exercise))
                                              : 0);
    }
    updateButtons();
}

QString RunHistoryWindow::selectedRun() const
{
    const QModelIndexList rows = grdRuns->selectionModel()->selectedRows(ColDate);
    return rows.isEmpty() ? QString() : rows.constFirst().data(kFileRole).toString();
}

void RunHistoryWindow::selectRun(const QString& fileName)
{
    grdRuns->clearSelection();
    if (fileName.isEmpty()) {
        return;
    }
    for (int row = 0; row < m_proxy->rowCount(); ++row) {
        const QModelIndex index = m_proxy->index(row, ColDate);
        if (index.data(kFileRole).toString() == fileName) {
            grdRuns->selectRow(row);
            grdRuns->scrollTo(index);
            return;
        }
    }
}

std::optional<KeptRun> RunHistoryWindow::selected() const
{
    const QString name = selectedRun();
    for (const KeptRun& run : m_history.runs()) {
        if (!name.isEmpty() && run.fileName == name) {
            return run;
        }
    }
    return std::nullopt;
}

void RunHistoryWindow::updateButtons()
{
    const std::optional<KeptRun> run = selected();
    const bool idle = !m_state.run.runActive && !m_main->switching();
    btnOpen->setEnabled(run && idle && !run->unreadable);
    // Compare shows a run behind the open exercise's own trend.
    const TfrmGraph* graph = m_main->graphWindow();
    btnCompare->setEnabled(run && idle && !run->unreadable && graph != nullptr &&
                           graph->exercise() == run->exercise);
    btnDelete->setEnabled(run.has_value());
}

void RunHistoryWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        updateButtons();
    }
}

void RunHistoryWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void RunHistoryWindow::btnOpenClick()
{
    const std::optional<KeptRun> run = selected();
    if (!run || m_state.run.runActive) {
        return;
    }
    m_main->fileCommands()->openChosenFile(m_history.pathOf(run->fileName));
}

void RunHistoryWindow::btnCompareClick()
{
    const std::optional<KeptRun> run = selected();
    if (!run || m_state.run.runActive) {
        return;
    }
    const QString refused = m_main->analysisMenu()->compareWith(m_history.pathOf(run->fileName));
    if (!refused.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), refused);
    }
}

void RunHistoryWindow::btnDeleteClick()
{
    const std::optional<KeptRun> run = selected();
    if (!run) {
        return;
    }
    const QString path = m_history.pathOf(run->fileName);
    // The desktop's trash lives in the user's data folder; where that folder
    // is missing, this Qt puts the trash beside the working folder instead.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    if (!QFile::moveToTrash(path)) {
        // No trash here: the file would be gone for good, so ask first.
        const auto answer = QMessageBox::question(
            this, windowTitle(),
            RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow",
                                                   "%1 cannot be moved to the trash. Delete it for "
                                                   "good?"))
                .arg(run->fileName),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes) {
            return;
        }
        if (!QFile::remove(path) && QFile::exists(path)) {
            QMessageBox::warning(this, windowTitle(),
                                 RunHistoryWindowText(QT_TRANSLATE_NOOP("RunHistoryWindow",
                                                                        "%1 could not be deleted."))
                                     .arg(run->fileName));
            return;
        }
    }
    m_history.forget(run->fileName);
}

void RunHistoryWindow::btnShowFolderClick()
{
    QDir().mkpath(m_history.folder());
    QDesktopServices::openUrl(QUrl::fromLocalFile(m_history.folder()));
}

} // namespace velmor
