#include "ui/analysis/TuningMapWindow.h"

#include "core/analysis/ResponseFigures.h"
#include "core/exercises/ControllerSettings.h"
#include "core/exercises/NamedSettings.h"
#include "core/rundata/SimFileWriter.h"
#include "core/shell/KeypadEntry.h"
#include "ui/common/Language.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <thread>

namespace velmor {

namespace {

constexpr const char* kTuningMapWindowContext = "TuningMapWindow";
constexpr int kDefaultCount = 41;
constexpr int kDefaultRecords = 600;

QString TuningMapWindowTr(const char* source)
{
    return QCoreApplication::translate(kTuningMapWindowContext, source);
}

constexpr const char* kFigureNames[] = {
    QT_TRANSLATE_NOOP("TuningMapWindow", "IAE"),
    QT_TRANSLATE_NOOP("TuningMapWindow", "Overshoot"),
    QT_TRANSLATE_NOOP("TuningMapWindow", "Settling time"),
    QT_TRANSLATE_NOOP("TuningMapWindow", "Stable or oscillating"),
};

// Everything the runs share beyond the two varied settings: the window's
// settings with those two set to fixed values, the run length and the loop.
std::string RunKey(const VelmorState& state, Exercise e, const SweepPlan& plan)
{
    auto copy = std::make_unique<VelmorState>(state);
    for (const SweepAxis& axis : plan.axes) {
        if (!axis.values.empty()) {
            ApplySetting(*copy, e, axis.name, axis.values.front());
        }
    }
    SendSettings(*copy, e);
    return SimulationFileText(e, copy->simSettings, copy->run.gateValvePercent,
                              std::span<const SampleRecord>{}) +
           '|' + std::to_string(plan.request.records.value_or(0)) + '|' + std::to_string(plan.loop);
}

QString Figure(std::optional<double> v, const QString& unit)
{
    if (!v) {
        return QStringLiteral("-");
    }
    // No thousands mark: with a decimal comma "3.213" would read as 3.2.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(*v, 'g', 4) + (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
}

} // namespace

// ---- TuningMapWindow -------------------------------------------------------

TuningMapWindow::TuningMapWindow(VelmorState& state, Exercise exercise, UseFn use, QWidget* parent)
    : QWidget(parent, Qt::Window), m_state(state), m_exercise(exercise), m_use(std::move(use))
{
    setObjectName(QStringLiteral("frmTuningMap"));
    m_jobs = std::max(std::thread::hardware_concurrency(), 1u);
    QGridLayout* settings = buildSettings();
    QHBoxLayout* progress = buildProgress();
    QHBoxLayout* middle = buildPicture();
    QHBoxLayout* bottom = buildButtons();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(settings);
    layout->addLayout(progress);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);
    connectControls();
    orderTabStops();

    m_view.decimal = m_state.shell.decimalComma ? QLatin1Char(',') : QLatin1Char('.');
    m_filling = true;
    for (std::size_t k = 0; k < ControlledLoops(m_exercise).size(); ++k) {
        cboLoop->addItem(QString());
    }
    // Only Batch has two loops to choose from.
    cboLoop->setVisible(cboLoop->count() > 1);
    lblLoop->setVisible(cboLoop->count() > 1);
    txtRecords->setValue(kDefaultRecords);
    if (m_exercise == Exercise::Batch) {
        // A Batch run ends at its expected time.
        txtRecords->setValue(std::clamp(
            static_cast<int>(std::ceil(m_state.batch.expectedTime / m_state.run.samplePeriod)) + 1,
            10, kLogRecords));
    }
    m_filling = false;
    SetLanguage();
    loopChosen();
    resize(780, 540);
}

// What to map: the loop, the figure, the run length and the two axes.
QGridLayout* TuningMapWindow::buildSettings()
{
    lblLoop = new QLabel(this);
    cboLoop = new QComboBox(this);
    lblFigure = new QLabel(this);
    cboFigure = new QComboBox(this);
    // The lists' widths follow their words, also when the language changes.
    cboLoop->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    cboFigure->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (std::size_t i = 0; i < std::size(kFigureNames); ++i) {
        cboFigure->addItem(QString());
    }
    lblRecords = new QLabel(this);
    txtRecords = new QSpinBox(this);
    txtRecords->setRange(10, kLogRecords);
    txtRecords->setKeyboardTracking(false);

    auto* grid = new QGridLayout;
    grid->addWidget(lblLoop, 0, 0);
    grid->addWidget(cboLoop, 0, 1);
    grid->addWidget(lblFigure, 0, 2);
    grid->addWidget(cboFigure, 0, 3, 1, 2);
    grid->addWidget(lblRecords, 0, 5, 1, 2);
    grid->addWidget(txtRecords, 0, 7);
    for (std::size_t a = 0; a < 2; ++a) {
        lblAxis[a] = new QLabel(this);
        cboSetting[a] = new QComboBox(this);
        txtFrom[a] = new RangeBox(this);
        lblTo[a] = new QLabel(this);
        txtTo[a] = new RangeBox(this);
        lblCount[a] = new QLabel(this);
        txtCount[a] = new QSpinBox(this);
        cboSetting[a]->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        chkLog[a] = new QCheckBox(this);
        for (QDoubleSpinBox* box : {txtFrom[a], txtTo[a]}) {
            box->setDecimals(4);
            box->setKeyboardTracking(false);
        }
        txtCount[a]->setRange(1, static_cast<int>(kMaxMapCount));
        txtCount[a]->setValue(kDefaultCount);
        txtCount[a]->setKeyboardTracking(false);
        const int row = static_cast<int>(a) + 1;
        grid->addWidget(lblAxis[a], row, 0);
        grid->addWidget(cboSetting[a], row, 1);
        grid->addWidget(txtFrom[a], row, 2);
        grid->addWidget(lblTo[a], row, 3);
        grid->addWidget(txtTo[a], row, 4);
        grid->addWidget(lblCount[a], row, 5);
        grid->addWidget(txtCount[a], row, 6);
        grid->addWidget(chkLog[a], row, 7);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

QHBoxLayout* TuningMapWindow::buildProgress()
{
    btnCompute = new QPushButton(this);
    btnCancel = new QPushButton(this);
    prgCompute = new QProgressBar(this);
    prgCompute->setRange(0, 1);
    prgCompute->setValue(0);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(btnCompute);
    progressRow->addWidget(btnCancel);
    progressRow->addWidget(prgCompute, 1);
    return progressRow;
}

// The map, and beside it the chosen cell's run and the hovered cell's figures.
QHBoxLayout* TuningMapWindow::buildPicture()
{
    imgMap = new MapPicture(m_map, m_view, this);
    tmrPaint = new QTimer(this);
    tmrPaint->setSingleShot(true);
    tmrPaint->setInterval(50);
    connect(tmrPaint, &QTimer::timeout, imgMap, qOverload<>(&QWidget::update));
    imgRun = new RunPlot(this);
    lblChosen = new QLabel(this);
    lblChosen->setWordWrap(true);
    lblCell = new QLabel(this);
    lblCell->setWordWrap(true);
    lblCell->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCell->setMinimumHeight(QFontMetrics(font()).lineSpacing() * 5);
    btnUse = new QPushButton(this);
    auto* side = new QVBoxLayout;
    side->addWidget(imgRun);
    side->addWidget(lblChosen);
    side->addWidget(btnUse);
    side->addSpacing(8);
    side->addWidget(lblCell);
    side->addStretch(1);
    auto* sideBox = new QWidget(this);
    sideBox->setLayout(side);
    sideBox->setFixedWidth(230);
    side->setContentsMargins(0, 0, 0, 0);
    auto* middle = new QHBoxLayout;
    middle->addWidget(imgMap, 1);
    middle->addWidget(sideBox);
    return middle;
}

QHBoxLayout* TuningMapWindow::buildButtons()
{
    btnExportPng = new QPushButton(this);
    auto* pngMenu = new QMenu(btnExportPng);
    m_pngScreen =
        pngMenu->addAction(QString(), this, [this] { exportPngClick(devicePixelRatioF()); });
    m_pngDouble = pngMenu->addAction(QString(), this, [this] { exportPngClick(2); });
    btnExportPng->setMenu(pngMenu);
    btnExportCsv = new QPushButton(this);
    btnClose = new QPushButton(this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(btnExportPng);
    bottom->addWidget(btnExportCsv);
    bottom->addStretch(1);
    bottom->addWidget(btnClose);
    return bottom;
}

void TuningMapWindow::connectControls()
{
    // A changed range, count, spacing or run length maps again; the window
    // setting them itself does not.
    const auto refresh = [this] {
        if (!m_filling) {
            Refresh();
        }
    };
    for (std::size_t a = 0; a < 2; ++a) {
        connect(txtFrom[a], &QDoubleSpinBox::valueChanged, this, refresh);
        connect(txtTo[a], &QDoubleSpinBox::valueChanged, this, refresh);
        connect(txtCount[a], &QSpinBox::valueChanged, this, refresh);
        connect(chkLog[a], &QCheckBox::toggled, this, refresh);
        connect(cboSetting[a], &QComboBox::currentIndexChanged, this,
                [this, a] { settingChosen(a); });
    }
    connect(txtRecords, &QSpinBox::valueChanged, this, refresh);
    connect(btnCompute, &QPushButton::clicked, this, &TuningMapWindow::btnComputeClick);
    connect(btnCancel, &QPushButton::clicked, this, &TuningMapWindow::btnCancelClick);
    connect(btnUse, &QPushButton::clicked, this, &TuningMapWindow::btnUseClick);
    connect(btnExportCsv, &QPushButton::clicked, this, &TuningMapWindow::exportCsvClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(cboFigure, &QComboBox::currentIndexChanged, this, &TuningMapWindow::figureChosen);
    connect(cboLoop, &QComboBox::currentIndexChanged, this, &TuningMapWindow::loopChosen);
    connect(imgMap, &MapPicture::hovered, this, [this](std::optional<std::size_t> index) {
        lblCell->setText(index ? cellText(*index) : QString());
        tellMap();
    });
    connect(imgMap, &MapPicture::clicked, this, &TuningMapWindow::chooseCell);
}

TuningMapWindow::~TuningMapWindow()
{
    // The workers end before the map they fill goes.
    m_sweep.reset();
}

std::size_t TuningMapWindow::loop() const
{
    return static_cast<std::size_t>(std::max(cboLoop->currentIndex(), 0));
}

void TuningMapWindow::SetLanguage()
{
    setWindowTitle(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Tuning Map")));
    lblLoop->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Loop:")));
    const std::span<const LoopTraces> loops = ControlledLoops(m_exercise);
    for (int k = 0; k < cboLoop->count(); ++k) {
        cboLoop->setItemText(k, QCoreApplication::translate(
                                    "TfrmRunFigures", loops[static_cast<std::size_t>(k)].title));
    }
    lblFigure->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Colour by:")));
    for (int k = 0; k < cboFigure->count(); ++k) {
        cboFigure->setItemText(k, TuningMapWindowTr(kFigureNames[k]));
    }
    lblRecords->setText(
        TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Run length (records):")));
    lblAxis[0]->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Across:")));
    lblAxis[1]->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Up:")));
    const Language language = InstalledLanguage();
    for (std::size_t a = 0; a < 2; ++a) {
        lblTo[a]->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "to")));
        lblCount[a]->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "cells:")));
        chkLog[a]->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Logarithmic")));
        for (int k = 0; k < cboSetting[a]->count(); ++k) {
            cboSetting[a]->setItemText(
                k, MapSettingLabel(m_exercise, loop(),
                                   cboSetting[a]->itemData(k).toString().toStdString(), language));
        }
    }
    btnCompute->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Co&mpute")));
    btnCancel->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "&Cancel")));
    btnUse->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "&Use these settings")));
    btnExportPng->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Export &PNG")));
    m_pngScreen->setText(
        TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "At the screen's resolution...")));
    m_pngDouble->setText(
        TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "At twice the size...")));
    btnExportCsv->setText(
        TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Export C&SV...")));
    btnClose->setText(TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Close")));
    if (!m_chosen) {
        lblChosen->setText(TuningMapWindowTr(
            QT_TRANSLATE_NOOP("TuningMapWindow", "Click a cell to see its run here.")));
    } else {
        lblChosen->setText(cellText(*m_chosen).section(QLatin1Char('\n'), 0, 0));
    }
    lblCell->clear();
    nameControls();
    imgMap->setAccessibleName(
        TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Tuning map")));
    imgRun->setAccessibleName(
        TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Run of the chosen cell")));
    m_view.language = language;
    tellMap();
    imgMap->update();
}

void TuningMapWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

void TuningMapWindow::loopChosen()
{
    const std::vector<std::string> names = LoopSettingNames(m_exercise, loop());
    m_filling = true;
    const Language language = InstalledLanguage();
    for (std::size_t a = 0; a < 2; ++a) {
        cboSetting[a]->clear();
        for (const std::string& name : names) {
            cboSetting[a]->addItem(MapSettingLabel(m_exercise, loop(), name, language),
                                   QString::fromStdString(name));
        }
        // PG across, I up.
        cboSetting[a]->setCurrentIndex(
            std::min<int>(static_cast<int>(a), cboSetting[a]->count() - 1));
    }
    m_filling = false;
    settingChosen(0);
    settingChosen(1);
}

void TuningMapWindow::settingChosen(std::size_t axis)
{
    if (m_filling) {
        return;
    }
    const std::string name = cboSetting[axis]->currentData().toString().toStdString();
    const std::optional<SettingRange> range = NamedSettingRange(m_state, m_exercise, name);
    if (!range) {
        return;
    }
    const auto [from, to] = DefaultMapRange(*range);
    m_filling = true;
    for (QDoubleSpinBox* box : {txtFrom[axis], txtTo[axis]}) {
        box->setRange(range->min, range->max);
        box->setSingleStep(std::max(0.001, (range->max - range->min) / 100.0));
    }
    txtFrom[axis]->setValue(from);
    txtTo[axis]->setValue(to);
    m_filling = false;
    Refresh();
}

void TuningMapWindow::figureChosen()
{
    // The cells hold every figure: a new figure is a new picture, no runs.
    m_view.figure = static_cast<MapFigure>(std::max(cboFigure->currentIndex(), 0));
    imgMap->update();
    tellMap();
    if (m_chosen) {
        lblChosen->setText(cellText(*m_chosen).section(QLatin1Char('\n'), 0, 0));
    }
}

void TuningMapWindow::updateToday()
{
    std::array<double, 2> today{};
    for (std::size_t a = 0; a < 2; ++a) {
        const std::optional<SettingRange> r =
            NamedSettingRange(m_state, m_exercise, m_view.axes[a].name);
        if (!r) {
            m_view.today.reset();
            return;
        }
        today[a] = r->value;
    }
    m_view.today = QPointF(today[0], today[1]);
}

void TuningMapWindow::Refresh()
{
    if (m_filling) {
        return;
    }
    SweepPlan plan;
    plan.request.exercise = m_exercise;
    plan.request.records = txtRecords->value();
    plan.loop = loop();
    for (std::size_t a = 0; a < 2; ++a) {
        MapAxis axis{cboSetting[a]->currentData().toString().toStdString(), txtFrom[a]->value(),
                     txtTo[a]->value(), static_cast<std::size_t>(txtCount[a]->value()),
                     chkLog[a]->isChecked()};
        AxisValues values = SweepAxisValues(m_exercise, axis.name, axis.from, axis.to, axis.count,
                                            axis.logarithmic);
        if (!values.error.empty()) {
            lblCell->setText(QString::fromStdString(values.error));
            return;
        }
        m_view.axes[a] = axis;
        plan.axes.push_back({axis.name, std::move(values.values)});
    }
    // Runs in progress end first: their cells are of the old grid.
    m_sweep.reset();
    ++m_generation;
    m_running = false;
    const std::string key = RunKey(m_state, m_exercise, plan);
    const std::vector<std::size_t> missing = m_map.setGrid(plan, key);
    m_chosen.reset();
    m_view.selected.reset();
    updateToday();
    imgRun->setRuns({}, {});
    lblChosen->setText(TuningMapWindowTr(
        QT_TRANSLATE_NOOP("TuningMapWindow", "Click a cell to see its run here.")));
    prgCompute->setRange(0, static_cast<int>(std::max<std::size_t>(missing.size(), 1)));
    prgCompute->setValue(missing.empty() ? 1 : 0);
    imgMap->update();
    tellMap();
    if (!missing.empty()) {
        const unsigned generation = m_generation;
        m_running = true;
        m_sweep = std::make_unique<BackgroundSweep>(
            std::make_unique<VelmorState>(m_state), plan, missing, m_jobs,
            [this, generation](std::size_t index, const SweepRow& row) {
                cellArrived(generation, index, row);
            },
            [this, generation](const SweepCellsOutcome& outcome) {
                QMetaObject::invokeMethod(
                    this, [this, generation, outcome] { sweepEnded(generation, outcome); },
                    Qt::QueuedConnection);
            });
    }
    updateButtons();
    if (missing.empty()) {
        emit computeEnded();
    }
}

void TuningMapWindow::cellArrived(unsigned generation, std::size_t index, const SweepRow& row)
{
    // On a worker thread.
    const std::lock_guard lock(m_inboxMutex);
    m_inbox.push_back({generation, index, row});
    if (!m_drainPosted) {
        m_drainPosted = true;
        QMetaObject::invokeMethod(this, &TuningMapWindow::drainInbox, Qt::QueuedConnection);
    }
}

void TuningMapWindow::drainInbox()
{
    std::vector<Arrival> arrived;
    {
        const std::lock_guard lock(m_inboxMutex);
        arrived.swap(m_inbox);
        m_drainPosted = false;
    }
    int taken = 0;
    for (const Arrival& a : arrived) {
        if (a.generation == m_generation) {
            m_map.setCell(a.index, a.row);
            ++taken;
        }
    }
    if (taken > 0) {
        prgCompute->setValue(prgCompute->value() + taken);
        if (!tmrPaint->isActive()) {
            tmrPaint->start();
        }
    }
}

void TuningMapWindow::sweepEnded(unsigned generation, const SweepCellsOutcome& outcome)
{
    if (generation != m_generation) {
        return;
    }
    // Every cell was posted before the end: take those not drained yet.
    drainInbox();
    tmrPaint->stop();
    imgMap->update();
    m_running = false;
    m_sweep.reset();
    updateButtons();
    tellMap();
    emit computeEnded();
    if (!outcome.error.empty()) {
        QMessageBox::warning(this, windowTitle(), QString::fromStdString(outcome.error));
    }
}

void TuningMapWindow::updateButtons()
{
    btnCancel->setEnabled(computing());
    btnCompute->setEnabled(!computing());
    btnExportCsv->setEnabled(m_map.complete() && m_map.columns() > 0);
    btnUse->setEnabled(m_chosen.has_value());
}

void TuningMapWindow::btnComputeClick()
{
    Refresh();
}

void TuningMapWindow::btnCancelClick()
{
    if (m_sweep != nullptr) {
        // The runs in progress end and report; no other starts.
        m_sweep->cancel();
    }
}

QString TuningMapWindow::cellText(std::size_t index) const
{
    if (index >= m_map.columns() * m_map.rows()) {
        return {};
    }
    const Language language = InstalledLanguage();
    const std::size_t column = index / m_map.rows();
    const std::size_t row = index % m_map.rows();
    const auto value = [&](std::size_t a, std::size_t k) {
        QString t = QString::fromStdString(m_map.plan().axes[a].values[k]);
        return m_view.decimal == QLatin1Char('.') ? t : t.replace(QLatin1Char('.'), m_view.decimal);
    };
    QString text =
        QStringLiteral("%1 %2, %3 %4")
            .arg(MapSettingLabel(m_exercise, loop(), m_view.axes[0].name, language),
                 value(0, column),
                 MapSettingLabel(m_exercise, loop(), m_view.axes[1].name, language), value(1, row));
    const std::optional<SweepRow>& cell = m_map.cell(index);
    if (!cell) {
        return text + QLatin1Char('\n') +
               TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Not computed yet."));
    }
    const std::span<const LoopTraces> loops = ControlledLoops(m_exercise);
    const QString unit = loop() < loops.size()
                             ? QString::fromUtf8(loops[loop()].unit) + QStringLiteral("·s")
                             : QString();
    text += QLatin1Char('\n') + TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "IAE: %1"))
                                    .arg(Figure(cell->iae, unit));
    text +=
        QLatin1Char('\n') + TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Overshoot: %1"))
                                .arg(Figure(cell->overshootPercent, QStringLiteral("%")));
    text += QLatin1Char('\n') +
            TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Settling time: %1"))
                .arg(Figure(cell->settlingTime, QStringLiteral("s")));
    text +=
        QLatin1Char('\n') +
        (!cell->stable
             ? TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Too short to judge."))
         : *cell->stable ? TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Stable."))
                         : TuningMapWindowTr(QT_TRANSLATE_NOOP("TuningMapWindow", "Oscillating.")));
    return text;
}

RunPlot::Trace
TuningMapWindow::RunOf(const std::vector<std::pair<std::string, std::string>>& values) const
{
    RunPlot::Trace trace;
    auto state = std::make_unique<VelmorState>(m_state);
    for (const auto& [name, value] : values) {
        if (!ApplySetting(*state, m_exercise, name, value).empty()) {
            return trace;
        }
    }
    if (!ExecuteHeadlessRun(*state, m_map.plan().request).empty()) {
        return trace;
    }
    const std::span<const LoopTraces> loops = ControlledLoops(m_exercise);
    if (loop() >= loops.size()) {
        return trace;
    }
    const LoopTraces& l = loops[loop()];
    const std::span<const SampleRecord> records = LoggedRecords(state->log, state->run.sampleCount);
    // From record 2: record 1 holds what the loop has not started from.
    for (std::size_t i = 1; i < records.size(); ++i) {
        trace.time.push_back(records[i].time);
        trace.setPoint.push_back(records[i].field(l.setPointField));
        trace.measured.push_back(records[i].field(l.measuredField));
    }
    return trace;
}

void TuningMapWindow::chooseCell(std::size_t index)
{
    if (index >= m_map.columns() * m_map.rows()) {
        return;
    }
    m_chosen = index;
    m_view.selected = index;
    const std::size_t column = index / m_map.rows();
    const std::size_t row = index % m_map.rows();
    const std::vector<SweepAxis>& axes = m_map.plan().axes;
    imgRun->setRuns(
        RunOf({{axes[0].name, axes[0].values[column]}, {axes[1].name, axes[1].values[row]}}),
        RunOf({}));
    lblChosen->setText(cellText(index).section(QLatin1Char('\n'), 0, 0));
    imgMap->update();
    updateButtons();
}

void TuningMapWindow::btnUseClick()
{
    if (!m_chosen || !m_use) {
        return;
    }
    const std::size_t column = *m_chosen / m_map.rows();
    const std::size_t row = *m_chosen % m_map.rows();
    std::vector<std::pair<int, float>> entries;
    for (std::size_t a = 0; a < 2; ++a) {
        const SweepAxis& axis = m_map.plan().axes[a];
        const std::optional<SettingRange> r = NamedSettingRange(m_state, m_exercise, axis.name);
        const std::optional<float> v = KeypadTextValue(axis.values[a == 0 ? column : row]);
        if (!r || !v) {
            return;
        }
        entries.emplace_back(r->code, *v);
    }
    if (!m_use(entries)) {
        QMessageBox::warning(
            this, windowTitle(),
            TuningMapWindowTr(QT_TRANSLATE_NOOP(
                "TuningMapWindow",
                "The exercise window is closed: its settings cannot be changed.")));
        return;
    }
    updateToday();
    imgMap->update();
}

} // namespace velmor
