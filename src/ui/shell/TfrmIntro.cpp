#include "ui/shell/TfrmIntro.h"

#include "ui/shell/ScreenArt.h"
#include "ui/shell/ShellArt.h"
#include "ui/shell/TfrmMain.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace velmor {

TfrmIntro::TfrmIntro(VelmorState& state, TfrmMain& main)
    : QWidget(&main, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_state(state), m_main(main)
{
    setObjectName(QStringLiteral("frmIntro"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(kSplashSize);

    // The splash of the language in force; the program starts in English,
    // so another language's is drawn only when it is the one to show.
    m_shown = m_state.shell.language;
    const qreal ratio = devicePixelRatioF();
    imgIntro = new QLabel(this);
    imgIntro->setGeometry(QRect(QPoint(0, 0), kSplashSize));
    imgIntro->setPixmap(QPixmap::fromImage(SplashPicture(m_state.shell.language, ratio)));
    imgLogo = new QLabel(this);
    imgLogo->setGeometry(QRect(kSplashLogoAt, QSize(kSplashLogoSize, kSplashLogoSize)));
    imgLogo->setPixmap(ProgramPicture(kSplashLogoSize, ratio));
    imgLogo->setAttribute(Qt::WA_TranslucentBackground);
    imgLogo->show();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    EndTimer = new QTimer(this);
    EndTimer->setSingleShot(true);
    EndTimer->setInterval(kShowMs);
    connect(EndTimer, &QTimer::timeout, this, &TfrmIntro::imgIntroClick);
    EndTimer->start();
}

void TfrmIntro::mousePressEvent(QMouseEvent* event)
{
    // The pictures let their clicks through to the window.
    event->accept();
    imgIntroClick();
}

void TfrmIntro::imgIntroClick()
{
    if (m_ended) {
        return;
    }
    m_ended = true;
    EndTimer->stop();
    // The frame has its final size by now (a maximised start arrives after
    // the first show): the centre that child windows are placed from is
    // taken from it here.
    m_main.settleCentre();
    // The menu screen belongs to an empty frame: an exercise chosen from
    // the menus while the intro was up keeps the frame to itself.
    if (m_state.shell.showEasyMenu && m_state.shell.currentForm == "frmMain") {
        m_main.ShowMenu();
    }
    hide();
    emit ended();
    deleteLater();
}

} // namespace velmor
