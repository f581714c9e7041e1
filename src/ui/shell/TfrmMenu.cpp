#include "ui/shell/TfrmMenu.h"

#include "ui/common/Language.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/ScreenArt.h"
#include "ui/shell/TfrmMain.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>

#include <algorithm>

namespace velmor {

namespace {

constexpr const char* kMenuContext = "TfrmMenu";
constexpr int kHeadingHeight = 40;
constexpr QSize kButtonSize{156, 29};
// The button bar: four buttons a row, the first row 7 pixels from the top
// and the left, the next ones 160 pixels right or 33 pixels down; the bar
// is 77 pixels high for two rows and grows with more. Exit, last, stands 2
// pixels left of its place.
constexpr int kButtonsPerRow = 4;
constexpr QPoint kFirstButton{7, 7};
constexpr QPoint kMenuButtonStep{160, 33};
constexpr int kTwoRowsHeight = 77;
constexpr int kExitShift = -2;

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

    const auto entries = ExerciseEntries();
    const int places = static_cast<int>(entries.size()) + 2; // with Trends and Exit
    const int rows = std::max(2, (places + kButtonsPerRow - 1) / kButtonsPerRow);
    const int barHeight = kTwoRowsHeight + (rows - 2) * kMenuButtonStep.y();
    Panel2 = new QFrame(this);
    Panel2->setFrameShape(QFrame::StyledPanel);
    Panel2->setFrameShadow(QFrame::Raised);
    Panel2->setAutoFillBackground(true);
    QPalette barColours = Panel2->palette();
    barColours.setColor(QPalette::Window, QColor(214, 218, 224));
    Panel2->setPalette(barColours);
    Panel2->setGeometry(0, kMenuPictureSize.height() - barHeight, kMenuPictureSize.width(),
                        barHeight);

    // 2. The texts, then 3. the buttons at their places.
    int slot = 0;
    for (const ExerciseEntry* row : entries) {
        QPushButton* b = button(slot++);
        b->setObjectName(QLatin1String(row->button));
        // Exercises the program offers in its menus, it offers here.
        b->setEnabled(Offered(*row));
        const QString form = FormOf(*row);
        connect(b, &QPushButton::clicked, this, [this, form] { m_main.Start(form, true); });
        m_exerciseButtons.push_back({b, row->easyCaption});
    }
    btnTrends = button(slot++);
    btnExit = button(slot);
    btnExit->move(btnExit->pos() + QPoint(kExitShift, 0));
    SetLanguage();

    // 4. The heading: 40 pixels high, as wide as the picture.
    m_baseHeadingSize = m_state.shell.largeFonts ? 12 : 14;
    Heading->setGeometry(0, 0, kMenuPictureSize.width(), kHeadingHeight);

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

QPushButton* TfrmMenu::button(int slot)
{
    auto* b = new QPushButton(Panel2);
    const QPoint place(kFirstButton.x() + (slot % kButtonsPerRow) * kMenuButtonStep.x(),
                       kFirstButton.y() + (slot / kButtonsPerRow) * kMenuButtonStep.y());
    b->setGeometry(QRect(place, kButtonSize));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

void TfrmMenu::offerPopupMenu(QWidget* control)
{
    control->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(control, &QWidget::customContextMenuRequested, this,
            [this, control](const QPoint& at) { m_main.popUpMenu(control->mapToGlobal(at)); });
}

const QImage& TfrmMenu::picture(Language language)
{
    QImage& image = m_pictures[language];
    if (image.isNull() || image.devicePixelRatio() != devicePixelRatioF()) {
        image = MenuPicture(language, devicePixelRatioF());
    }
    return image;
}

void TfrmMenu::SetLanguage()
{
    const ShellState& shell = m_state.shell;
    const bool longTexts = LanguageOf(shell.language).longTexts;
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kMenuContext, english);
    };
    QFont heading(QStringLiteral("Arial"));
    heading.setBold(true);
    heading.setPointSize(longTexts ? m_baseHeadingSize - 1 : m_baseHeadingSize);
    Heading->setFont(heading);
    Heading->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "TORVEX KLN TRAINER SIMULATOR")));

    QFont buttons(QStringLiteral("Arial"));
    buttons.setPointSize(longTexts ? 8 : 9);
    for (QPushButton* b : Panel2->findChildren<QPushButton*>()) {
        b->setFont(buttons);
    }
    for (const ExerciseButton& b : m_exerciseButtons) {
        b.button->setText(text(b.caption));
    }
    btnTrends->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Trends")));
    btnExit->setText(text(QT_TRANSLATE_NOOP("TfrmMenu", "Exit")));

    imgPanel->setPixmap(QPixmap::fromImage(picture(shell.language)));
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

void TfrmMenu::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QWidget::changeEvent(event);
}

} // namespace velmor
