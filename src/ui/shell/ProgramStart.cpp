#include "ui/shell/ProgramStart.h"

#include "ui/shell/Preferences.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmCalculator.h"
#include "ui/shell/TfrmMain.h"

#include <QApplication>
#include <QPixmapCache>

namespace velmor {

namespace {

constexpr int kPixmapCacheKb = 2048;

} // namespace

std::unique_ptr<TfrmMain> CreateProgram(VelmorState& state, Preferences& preferences)
{
    // The style keeps pictures of buttons and check boxes per palette, and
    // every exercise window opened brings its own palette: about 45 kB more
    // each time, up to the cache's 10 MB. One window's set is far less than
    // this limit, so drawing is as fast and the program does not grow.
    QPixmapCache::setCacheLimit(kPixmapCacheKb);
    auto main = std::make_unique<TfrmMain>(state, preferences);
    // The keypad is a tool window of the frame: it stays above it and goes
    // with it at the end.
    auto* keypad = new TfrmCalculator(state, main.get());
    keypad->hide();
    main->setKeypad(keypad);
    return main;
}

int RunProgram(int argc, char** argv, const std::function<void(TfrmMain&)>& started)
{
    // The windows are laid out in pixels. A whole scale factor (200 %) scales
    // them as a whole; a fractional one below 175 % (125 %, 150 %) is left to
    // the fonts instead, which then come out larger than the layout expects:
    // that is the large-font mode the windows compensate for, and the
    // windows still fit the screen.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::RoundPreferFloor);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELMOR"));
    QApplication::setWindowIcon(ProgramIcon());

    // The one state of the program; every window works on it.
    auto state = std::make_unique<VelmorState>();
    Preferences preferences;
    std::unique_ptr<TfrmMain> frmMain = CreateProgram(*state, preferences);
    // Exit has released every window: end the event loop without asking the
    // windows again (quit() would ask them to close first).
    QObject::connect(
        frmMain.get(), &TfrmMain::terminateRequested, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    frmMain->show();
    if (started) {
        started(*frmMain);
    }
    const int code = QApplication::exec();
    frmMain.reset();
    return code;
}

} // namespace velmor
