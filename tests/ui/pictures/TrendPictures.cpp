// Pictures of the Trends window, its printed report and the toolbar icons,
// made the same way every time, for comparing two builds of a change that
// must not alter what is drawn:
//
//     trend_pictures OUT_DIR
//
// writes, per loop exercise, a run made through the real main window (a
// setting changed, the view moved back and forth while it runs), the panel's
// checksum after every cycle, the window mid-run and after the run, with
// the cursor line, the read-out, arrows, the slider, a hidden trace, a saved
// run compared, Spanish texts and the report of the run; then each golden
// file as File > Open shows it; then the toolbar icons. Nothing depends on
// time: actions happen at given records, the pace is off.
#include "ProgramFixture.h"
#include "WindowRun.h"

#include "LanguageScope.h"
#include "core/exercises/NamedSettings.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/shell/FileCommands.h"
#include "ui/shell/ShellArt.h"
#include "ui/trends/TfrmGraph.h"
#include "ui/trends/TrendReport.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <map>

using namespace velmor;
using namespace velmor::test;

namespace {

QString g_out;

void Save(const QImage& image, const QString& name)
{
    image.save(g_out + QLatin1Char('/') + name + QStringLiteral(".png"));
}

void SaveWindow(TfrmGraph* graph, const QString& name)
{
    Save(graph->grab().toImage(), name);
}

void SaveBytes(const QByteArray& bytes, const QString& name)
{
    QFile file(g_out + QLatin1Char('/') + name);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

QByteArray Checksum(const QImage& image)
{
    return QCryptographicHash::hash(QByteArrayView(reinterpret_cast<const char*>(image.constBits()),
                                                   image.sizeInBytes()),
                                    QCryptographicHash::Md5)
        .toHex();
}

// Where the view starts: the window's own state, or (before it had one)
// the process-wide one.
template <typename Graph, typename State> int ViewStart(const Graph& graph, const State& state)
{
    if constexpr (requires { graph.view().trendViewStart; }) {
        return graph.view().trendViewStart;
    } else {
        return state.trend.trendViewStart;
    }
}

template <typename Source> void SetViewStart(Source& source, int start)
{
    if constexpr (requires { source.viewStart; }) {
        source.viewStart = start;
    }
}

// The report as File > Print makes it, printed at a fixed time.
void SaveReport(Program& p, TfrmGraph* graph, Exercise e, ReportRange range, const QString& name)
{
    ReportSource source{*p.state,  e,
                        QString(), graph->shownTraces(),
                        range,     QDateTime(QDate(2026, 3, 2), QTime(14, 5))};
    SetViewStart(source, ViewStart(*graph, *p.state));
    SaveBytes(ReportPdf(source), name);
}

struct Plan {
    Exercise e;
    const char* word;
    const char* setting; // changed at record 150
    const char* value;
    const char* golden; // a saved run to compare with
};

const Plan kPlans[] = {
    {Exercise::Flow, "flow", "flowGain", "2.5", "flow_sine_gain_changes.psm"},
    {Exercise::Level, "level", "levelGain", "4", "level_autodrain_step.psm"},
    {Exercise::Open, "open", "waveA", "40", "open_sawtooth.psm"},
    {Exercise::Temperature, "temperature", "tempGain", "20", "temperature_pid_with_d.psm"},
    {Exercise::Batch, "batch", "batchTempGain", "4", "batch_changes.psm"},
};

QString Golden(const char* name)
{
    return QStringLiteral(VELMOR_TEST_DATA "/golden/") + QLatin1String(name);
}

// The run, with the panel's checksum after each cycle and the window mid-run.
void RunAndWatch(Program& p, LoopWindow* window, const Plan& plan, const QString& prefix)
{
    TfrmGraph* graph = p.main->graphWindow();
    QByteArray sums;
    const QMetaObject::Connection c =
        QObject::connect(window->driver(), &RunDriver::cycled, window, [&] {
            sums += QByteArray::number(p.state->run.sampleCount) + ' ' + Checksum(graph->panel()) +
                    '\n';
        });
    const std::map<int, std::function<void()>> actions = {
        {150, [&] { ApplySetting(*p.state, plan.e, plan.setting, plan.value); }},
        {650, [&] { SaveWindow(graph, prefix + QStringLiteral("mid")); }},
        {700, [&] { graph->imgPanelMouseDown(Qt::LeftButton, 45, 35); }},  // -60 s
        {760, [&] { graph->imgPanelMouseDown(Qt::LeftButton, 175, 35); }}, // +60 s
        {800, [&] { SaveWindow(graph, prefix + QStringLiteral("mid2")); }},
    };
    RunInWindow(*p.state, window, 1300, actions);
    QObject::disconnect(c);
    SaveBytes(sums, prefix + QStringLiteral("cycles.txt"));
}

// Browsing the finished run.
void Browse(Program& p, TfrmGraph* graph, const Plan& plan, const QString& prefix)
{
    SaveWindow(graph, prefix + QStringLiteral("after"));
    graph->imgPanelMouseDown(Qt::LeftButton, 300, 200);
    SaveWindow(graph, prefix + QStringLiteral("cursor"));
    graph->imgPanelMouseMove(Qt::LeftButton, 120, 200);
    graph->imgPanelMouseDown(Qt::LeftButton, 440, 35); // slider: span with the cursor
    SaveWindow(graph, prefix + QStringLiteral("cursor_span"));
    graph->imgPanelMouseDown(Qt::LeftButton, 10, 200); // off: no cursor
    for (int y : {90, 150, 210, 270, 330}) {
        graph->imgPanelMouseMove(Qt::NoButton, 250, y);
        graph->Display();
        SaveWindow(graph, prefix + QStringLiteral("readout_%1").arg(y));
    }
    graph->imgPanelMouseMove(Qt::NoButton, 125, 35); // arrow 5 lit
    SaveWindow(graph, prefix + QStringLiteral("arrow_lit"));
    graph->imgPanelMouseDown(Qt::LeftButton, 125, 35);
    graph->imgPanelMouseDown(Qt::LeftButton, 402, 35); // span 20
    SaveWindow(graph, prefix + QStringLiteral("moved"));
    // The first enabled box off and on.
    for (QCheckBox* box : graph->findChildren<QCheckBox*>()) {
        if (box->isEnabled() && box->isChecked() && box->isVisibleTo(graph)) {
            box->click();
            SaveWindow(graph, prefix + QStringLiteral("box_off"));
            box->click();
            break;
        }
    }
    SaveReport(p, graph, plan.e, ReportRange::WholeRun, prefix + QStringLiteral("report.pdf"));
    SaveReport(p, graph, plan.e, ReportRange::ShownView,
               prefix + QStringLiteral("report_view.pdf"));
    p.main->analysisMenu()->compareWith(Golden(plan.golden));
    SaveWindow(graph, prefix + QStringLiteral("compare"));
    const LanguageScope inSpanish(p.state->shell, Language::Spanish);
    graph->imgPanelMouseMove(Qt::NoButton, 250, 210);
    graph->Display();
    SaveWindow(graph, prefix + QStringLiteral("spanish"));
}

void Exercises()
{
    for (const Plan& plan : kPlans) {
        Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", "False"}});
        LoopWindow* window = ChooseExercise(*p.main, plan.e);
        if (window == nullptr) {
            std::fprintf(stderr, "%s did not open\n", plan.word);
            continue;
        }
        TfrmGraph* graph = p.main->graphWindow();
        const QString prefix = QLatin1String(plan.word) + QLatin1Char('_');
        SaveWindow(graph, prefix + QStringLiteral("opened"));
        RunAndWatch(p, window, plan, prefix);
        Browse(p, graph, plan, prefix);
    }
}

void Files()
{
    Program p({{"Installed", "YES"}, {"Maximised", "False"}, {"Show Easy Menus", "False"}});
    const QStringList names = QDir(QStringLiteral(VELMOR_TEST_DATA "/golden"))
                                  .entryList({QStringLiteral("*.psm")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        FileCommands& files = *p.main->fileCommands();
        QString warning = QStringLiteral("pending");
        files.openFile(Golden(name.toLatin1().constData()), [&](const QString& w) { warning = w; });
        p.waitFor([&] { return warning != QStringLiteral("pending"); }, 5000);
        if (TfrmGraph* graph = p.main->graphWindow()) {
            graph->imgPanelMouseDown(Qt::LeftButton, 200, 200);
            SaveWindow(graph, QStringLiteral("file_") + name);
        }
    }
}

void Icons()
{
    for (int i = 0; i <= static_cast<int>(ToolPicture::OpenLoop); ++i) {
        const QIcon icon = ToolbarIcon(static_cast<ToolPicture>(i));
        Save(icon.pixmap(QSize(24, 24), 2.0, QIcon::Normal).toImage(),
             QStringLiteral("icon_%1").arg(i));
        Save(icon.pixmap(QSize(24, 24), 2.0, QIcon::Disabled).toImage(),
             QStringLiteral("icon_%1_disabled").arg(i));
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: trend_pictures OUT_DIR\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_out);
    Exercises();
    Files();
    Icons();
    return 0;
}
