// velmor: the desktop training simulator.
#include "core/rundata/State.h"
#include "ui/shell/Preferences.h"
#include "ui/shell/ProgramStart.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmMain.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VELMOR"));
    QApplication::setWindowIcon(velmor::ProgramIcon());

    // The one state of the program; every window works on it.
    auto state = std::make_unique<velmor::VelmorState>();
    velmor::Preferences preferences;
    std::unique_ptr<velmor::TfrmMain> frmMain = velmor::CreateProgram(*state, preferences);
    QObject::connect(frmMain.get(), &velmor::TfrmMain::terminateRequested, &app,
                     &QApplication::quit, Qt::QueuedConnection);
    frmMain->show();
    const int code = QApplication::exec();
    frmMain.reset();
    return code;
}
