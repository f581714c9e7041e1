#include "ui/shell/MapExport.h"

#include "cli/CliSupport.h"
#include "cli/MapCommand.h"
#include "cli/RunRequest.h"
#include "core/rundata/AtomicFile.h"
#include "core/shell/OneLine.h"
#include "ui/analysis/TuningMapPicture.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>

#include <cstdio>
#include <thread>

namespace velmor {

namespace {

constexpr int kMapExportExitUsage = 2;
const QSize kMapSize{720, 520}; // logical pixels, as a handout takes it

int Refuse(const std::string& text)
{
    std::fprintf(stderr, "velmor: %s\n", OneLine(text).c_str());
    return kMapExportExitUsage;
}

} // namespace

bool AsksForMap(const QStringList& arguments)
{
    return arguments.size() > 1 && arguments[1] == QLatin1String("--export-map");
}

int ExportMap(int argc, char** argv, const QStringList& arguments)
{
    std::vector<std::string> args;
    for (qsizetype i = 2; i < arguments.size(); ++i) {
        args.push_back(arguments[i].toStdString());
    }
    MapCommand c;
    std::optional<SimFileLoad> from;
    try {
        c = ParseMapCommand(args);
        from = ReadFromFile(c.plan.request);
    } catch (const Refusal& r) {
        return Refuse(r.what());
    }
    // The target is checked before any run: a path that cannot be written
    // costs no computing, and the file appears only when complete.
    AtomicFile file;
    if (const WriteResult r =
            file.open(QFile::encodeName(QString::fromStdString(c.out)).toStdString());
        !r.ok()) {
        return Refuse("cannot write " + c.out + ": " + r.error);
    }
    c.plan.from = std::move(from);

    const unsigned cores = std::thread::hardware_concurrency();
    const std::atomic<bool> stop{false};
    SweepOutcome outcome = RunSweepGrid(c.plan, cores > 0 ? cores : 1, stop, {});
    if (!outcome.error.empty()) {
        return Refuse(outcome.startRefused ? outcome.error : "--export-map: " + outcome.error);
    }
    TuningMap map;
    map.setGrid(c.plan, {});
    for (std::size_t i = 0; i < outcome.rows.size(); ++i) {
        map.setCell(i, outcome.rows[i]);
    }

    // Today's settings: what every run starts from, before the varied
    // values.
    VelmorState today;
    PrepareHeadlessRun(today, c.plan.request, c.plan.from ? &*c.plan.from : nullptr);
    MapView view;
    view.figure = c.figure;
    view.axes = c.axes;
    const std::optional<SettingRange> x =
        NamedSettingRange(today, c.plan.request.exercise, c.axes[0].name);
    const std::optional<SettingRange> y =
        NamedSettingRange(today, c.plan.request.exercise, c.axes[1].name);
    if (x && y) {
        view.today = QPointF(x->value, y->value);
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QImage picture = PaintTuningMap(map, view, kMapSize, c.scale);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    WriteResult r = file.write(std::string_view(bytes.constData(), bytes.size()));
    if (r.ok()) {
        r = file.commit();
    }
    if (!r.ok()) {
        return Refuse("cannot write " + c.out + ": " + r.error);
    }
    return 0;
}

} // namespace velmor
