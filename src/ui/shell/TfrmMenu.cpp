#include "ui/shell/TfrmMenu.h"

#include "ui/shell/Language.h"
#include "ui/shell/ScreenArt.h"
#include "ui/shell/TfrmMain.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

namespace velmor {

namespace {

constexpr const char* kContext = "TfrmMenu";
constexpr int kHeadingHeight = 40;
constexpr int kBarHeight = 77;
constexpr QSize kButtonSize{156, 29};

} // namespace

TfrmMenu::TfrmMenu(VelmorState& state, TfrmMain& main, QWidget* parent)
    : QWidget(parent), m_state(state), m_main(main)
{
    setObjectName(QStringLiteral("frmMenu"));
    setWindowTitle(QStringLiteral(" "));
    // 1. The client area is the picture's size; the button bar sits at its
    // bottom and the heading across its top, both over the picture.
    setFixedSize(kMenuPictureSize);
    imgPanel = new QLabel(this);
    imgPanel->setGeometry(QRect(QPoint(0, 0), kMenuPictureSize));

    Heading = new QLabel(this);
    Heading->setAlignment(Qt::AlignCenter);
    Heading->setAutoFillBackground(true);
    QPalette headingColours = Heading->palette();
    headingColours.setColor(QPalette::Window, QColor(34, 58, 96));
    headingColours.setColor(QPalette::WindowText, Qt::white);
    Heading->setPalette(headingColours);

    Panel2 = new QFrame(this);
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFrameShadow(QFrame::Raised);
    Panel2->setAutoFillBackground(true);
    QPalette barColours = Panel2->palette();
    barColours.setColor(QPalette::Window, QColor(214, 218, 224));
    Panel2->setPalette(barColours);
    Panel2->setGeometry(0, kMenuPictureSize.height() - kBarHeight, kMenuPictureSize.width(),
                        kBarHeight);

    const auto button = [this](int left, int top) {
        auto* b = new QPushButton(Panel2);
        b->setGeometry(QRect(QPoint(left, top), kButtonSize));
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    // 2. The texts, then 3. the buttons at their places.
    btnManual = button(7, 7);
    btnFlow = button(167, 7);
    btnTemperature = button(327, 7);
    btnBatchVolume = button(487, 7);
    btnFluidLevel = button(7, 40);
    btnOpenLoop = button(167, 40);
    btnTrends = button(327, 40);
    btnExit = button(485, 40);
    SetLanguage();

    // 4. The heading: 40 pixels high, as wide as the picture.
    m_baseHeadingSize = m_state.shell.largeFonts ? 12 : 14;
    Heading->setGeometry(0, 0, kMenuPictureSize.width(), kHeadingHeight);

    const std::pair<QPushButton*, QAction*> exercises[] = {
        {btnManual, m_main.mnuControlOnOff},
        {btnFlow, m_main.mnuControlFlow},
        {btnTemperature, m_main.mnuControlTemperature},
        {btnBatchVolume, m_main.mnuControlBatchVolume},
        {btnFluidLevel, m_main.mnuControlFluidLevel},
        {btnOpenLoop, m_main.mnuControlOpenLoop},
    };
    const char* const forms[] = {"frmManual", "frmFlow",  "frmTemperature",
                                 "frmBatch",  "frmLevel", "frmOpen"};
    for (std::size_t k = 0; k < std::size(exercises); ++k) {
        const auto [b, item] = exercises[k];
        // Exercises the program offers in its menus, it offers here.
        b->setEnabled(item->isEnabled());
        const QString form = QString::fromLatin1(forms[k]);
        connect(b, &QPushButton::clicked, this, [this, form] { m_main.Start(form, true); });
    }
    connect(btnTrends, &QPushButton::clicked, &m_main, &TfrmMain::FileOpen);
    connect(btnExit, &QPushButton::clicked, &m_main, &TfrmMain::mnuFileExitClick);

    for (QWidget* control : {static_cast<QWidget*>(imgPanel), static_cast<QWidget*>(Heading),
                             static_cast<QWidget*>(Panel2)}) {
        offerPopupMenu(control);
    }
    for (QPushButton* b : Panel2->findChildren<QPushButton*>()) {
        offerPopupMenu(b);
    }
    // 6. Once more, so that the heading takes its base size.
    SetLanguage();
}

void TfrmMenu::offerPopupMenu(QWidget* control)
{
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this, [this, control](const QPoint& at) {
        m_main.MainPopupMenu->popup(control->mapToGlobal(at));
    });
}

const QImage& TfrmMenu::picture(bool spanish)
{
    QImage& image = m_pictures[spanish ? 1 : 0];
    if (image.isNull() || image.devicePixelRatio() != devicePixelRatioF()) {
        image = MenuPicture(spanish, devicePixelRatioF());
    }
    return image;
}

void TfrmMenu::SetLanguage()
{
    const ShellState& shell = m_state.shell;
    bool spanish = false;
    if (shell.langEnglish) {
        spanish = false;
    } else if (shell.langSpanish) {
        spanish = true;
    } else {
        return;
    }
    const auto text = [&shell](const char* english) { return LangText(shell, kContext, english); };
    QFont heading(QStringLiteral("Arial"));
    heading.setBold(true);
    heading.setPointSize(spanish ? m_baseHeadingSize - 1 : m_baseHeadingSize);
    Heading->setFont(heading);
    Heading->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "TORVEX KLN TRAINER SIMULATOR")));

    QFont buttons(QStringLiteral("Arial"));
    buttons.setPointSize(spanish ? 8 : 9);
    for (QPushButton* b : Panel2->findChildren<QPushButton*>()) {
        b->setFont(buttons);
    }
    btnManual->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "System Mimic")));
    btnFlow->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Flow Control")));
    btnTemperature->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Temperature Control")));
    btnBatchVolume->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Batch Volume Control")));
    btnFluidLevel->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Fluid Level Control")));
    btnOpenLoop->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Open Loop Control")));
    btnTrends->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Trends")));
    btnExit->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Exit")));

    imgPanel->setPixmap(QPixmap::fromImage(picture(spanish)));
}

QMdiSubWindow* ShowMenuScreen(VelmorState& state, TfrmMain& main)
{
    auto* menu = new TfrmMenu(state, main);
    QMdiSubWindow* sub = main.addChildWindow(menu, TfrmMain::ChildFrame::Tool);
    // 5. At its place in a frame of the layout size, centred in any other.
    sub->move(main.childPlace(QPoint(59, 0), QPoint(329, 289)));
    sub->show();
    main.keepInSight({sub});
    return sub;
}

} // namespace velmor
