#include "ui/shell/TfrmAbout.h"

#include "ui/common/Language.h"
#include "ui/shell/BuildInfo.h"
#include "ui/shell/ShellArt.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

namespace velmor {

namespace {

constexpr const char* kAboutContext = "TfrmAbout";
constexpr QSize kClientSize{296, 228};

QFont ArialFont(int points, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(points);
    font.setBold(bold);
    return font;
}

} // namespace

QString ShortVersion()
{
    return QString::fromLatin1(build::kShortVersion);
}

QString FullVersion()
{
    return QString::fromLatin1(build::kVersion);
}

QString BuildContactAddress()
{
    return QString::fromUtf8(build::kContactEmail).trimmed();
}

void InternetLink(const QString& text)
{
    (void)QDesktopServices::openUrl(QUrl(text));
}

TfrmAbout::TfrmAbout(VelmorState& state, QWidget* parent, const QString& contactAddress)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      m_state(state), m_contact(contactAddress)
{
    setObjectName(QStringLiteral("frmAbout"));
    setModal(false);
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(scaled(kClientSize.width()), scaled(kClientSize.height()));

    Panel = new QFrame(this);
    Panel->setFrameShape(QFrame::StyledPanel);
    Panel->setFrameShadow(QFrame::Sunken);
    Panel->setGeometry(scaled(8), scaled(8), scaled(280), scaled(172));

    ProgramIcon = new QLabel(Panel);
    ProgramIcon->setGeometry(scaled(12), scaled(12), scaled(64), scaled(64));
    ProgramIcon->setPixmap(ProgramPicture(scaled(64), devicePixelRatioF()));

    ProductName = new QLabel(QStringLiteral("VELMOR"), Panel);
    ProductName->setGeometry(scaled(90), scaled(12), scaled(180), scaled(30));
    QFont name = ArialFont(16, true);
    name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    ProductName->setFont(name);

    lblDescription = new QLabel(QStringLiteral("Process-control training simulator"), Panel);
    lblDescription->setGeometry(scaled(90), scaled(42), scaled(180), scaled(34));
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Version = new QLabel(QStringLiteral("Version:"), Panel);
    Version->setGeometry(scaled(90), scaled(82), scaled(64), scaled(20));
    Number = new QLabel(ShortVersion(), Panel);
    Number->setGeometry(scaled(156), scaled(82), scaled(80), scaled(20));
    for (QLabel* label : {Version, Number}) {
        label->installEventFilter(this);
    }

    const auto link = [this](int top, const QString& caption) {
        auto* label = new QLabel(caption, Panel);
        label->setGeometry(scaled(12), scaled(top), scaled(256), scaled(20));
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
        label->setPalette(blue);
        QFont underlined = label->font();
        underlined.setUnderline(true);
        label->setFont(underlined);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        return label;
    };
    auto* rule = new QFrame(Panel);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    rule->setGeometry(scaled(12), scaled(112), scaled(256), scaled(2));
    lblWebLink = link(122, QStringLiteral("Help and getting started"));
    lblEmailLink = link(144, m_contact);
    // The e-mail link is offered only when the build names an address.
    lblEmailLink->setVisible(!m_contact.isEmpty());

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(scaled(111), scaled(190), scaled(75), scaled(27));
    OKButton->setDefault(true);
    OKButton->setCursor(Qt::PointingHandCursor);
    connect(OKButton, &QPushButton::clicked, this, &TfrmAbout::OKButtonClick);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    if (m_state.shell.language != Language::English) {
        SetLanguage();
    }
}

int TfrmAbout::scaled(int pixels) const
{
    // Larger fonts need the room the keypad also takes in that mode.
    return m_state.shell.largeFonts ? pixels * 6 / 5 : pixels;
}

void TfrmAbout::SetLanguage()
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kAboutContext, english);
    };
    setWindowTitle(text(QT_TRANSLATE_NOOP("TfrmAbout", "About")));
    ProductName->setText(text(QT_TRANSLATE_NOOP("TfrmAbout", "VELMOR")));
    Version->setText(text(QT_TRANSLATE_NOOP("TfrmAbout", "Version")));
    lblDescription->setText(
        text(QT_TRANSLATE_NOOP("TfrmAbout", "Process-control training simulator")));
    lblWebLink->setText(text(QT_TRANSLATE_NOOP("TfrmAbout", "Help and getting started")));
}

void TfrmAbout::OKButtonClick()
{
    hide();
}

void TfrmAbout::VersionDblClick()
{
    Number->setText(FullVersion());
}

void TfrmAbout::lblWebLinkClick()
{
    InternetLink(QString::fromLatin1(kHelpStartUrl));
}

void TfrmAbout::lblEmailLinkClick()
{
    // "mailto:" and the address, without a blank between them: a blank is
    // not part of a valid address and mail programs would keep it.
    InternetLink(QStringLiteral("mailto:") + m_contact);
}

void TfrmAbout::hideEvent(QHideEvent* event)
{
    Number->setText(ShortVersion());
    QDialog::hideEvent(event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick && (watched == Version || watched == Number)) {
        VersionDblClick();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblWebLink) {
            lblWebLinkClick();
            return true;
        }
        if (watched == lblEmailLink) {
            lblEmailLinkClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmAbout::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QDialog::changeEvent(event);
}

} // namespace velmor
