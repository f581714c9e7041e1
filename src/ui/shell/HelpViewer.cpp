#include "ui/shell/HelpViewer.h"

#include "ui/common/Language.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

// The help pages live in a resource of the (static) window library.
static void InitHelpResources()
{
    Q_INIT_RESOURCE(velmor);
}

namespace velmor {

namespace {

constexpr const char* kHelpViewerContext = "HelpViewer";
constexpr int kUrlRole = Qt::UserRole;

QUrl WithoutFragment(QUrl url)
{
    url.setFragment(QString());
    return url;
}

// The help file of the other language for a page of one: the start pages
// are KLN.hlp and NLK.hlp, the other pages sit in en/ and es/ under the
// same names.
QUrl SamePageIn(const QUrl& page, const QString& helpFile)
{
    const QString folder = QStringLiteral("/help/%1/");
    const QString to = folder.arg(QLatin1String(LanguageOfHelp(helpFile).helpFolder));
    QString path = page.path();
    for (const LanguageEntry& language : Languages()) {
        if (path.endsWith(QLatin1Char('/') + QLatin1String(language.helpStart))) {
            path = QStringLiteral("/help/") + helpFile;
            break;
        }
        path.replace(folder.arg(QLatin1String(language.helpFolder)), to);
    }
    QUrl same = page;
    same.setPath(path);
    return same;
}

} // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    InitHelpResources();
    setObjectName(QStringLiteral("HelpViewer"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    buildToolBar();
    layout->addWidget(m_bar);
    buildPages();
    layout->addWidget(m_split, 1);

    connectControls();
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    SetLanguage(QStringLiteral("KLN.hlp"));
    // Wide enough for the pictures of the pages beside the contents, and
    // within the screen.
    QSize size(1000, 700);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableSize() - QSize(24, 48));
    }
    resize(size);
}

// Back, forward, contents and the search in the page.
void HelpViewer::buildToolBar()
{
    m_bar = new QToolBar(this);
    m_bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_bar->setIconSize(QSize(16, 16));
    m_back = m_bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QString());
    m_back->setShortcut(QKeySequence::Back);
    m_forward = m_bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QString());
    m_forward->setShortcut(QKeySequence::Forward);
    m_home = m_bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QString());
    m_bar->addSeparator();
    m_findLabel = new QLabel(m_bar);
    m_findLabel->setContentsMargins(6, 0, 4, 0);
    m_bar->addWidget(m_findLabel);
    m_find = new QLineEdit(m_bar);
    m_find->setClearButtonEnabled(true);
    m_find->setMaximumWidth(200);
    m_bar->addWidget(m_find);
    m_previous = new QToolButton(m_bar);
    m_previous->setArrowType(Qt::UpArrow);
    m_bar->addWidget(m_previous);
    m_next = new QToolButton(m_bar);
    m_next->setArrowType(Qt::DownArrow);
    m_bar->addWidget(m_next);
}

// The contents beside the page.
void HelpViewer::buildPages()
{
    m_split = new QSplitter(this);
    QSplitter* split = m_split;
    m_contents = new QTreeWidget(split);
    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(true);
    m_contents->setUniformRowHeights(true);
    m_browser = new QTextBrowser(split);
    m_browser->setOpenExternalLinks(true);
    m_browser->setFrameShape(QFrame::NoFrame);
    // One style for every page, kept beside them.
    if (QFile style(QStringLiteral(":/help/help.css")); style.open(QIODevice::ReadOnly)) {
        m_browser->document()->setDefaultStyleSheet(QString::fromUtf8(style.readAll()));
    }
    split->addWidget(m_contents);
    split->addWidget(m_browser);
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 780});
}

void HelpViewer::connectControls()
{
    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, [this] { m_browser->setSource(m_start); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpViewer::pageChanged);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpViewer::openItem);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpViewer::openItem);
    connect(m_find, &QLineEdit::returnPressed, this, [this] { findInPage(m_find->text()); });
    connect(m_find, &QLineEdit::textEdited, this, [this](const QString& text) {
        // Search as one types, from the top of the page.
        m_browser->moveCursor(QTextCursor::Start);
        findInPage(text);
    });
    connect(m_next, &QToolButton::clicked, this, [this] { findInPage(m_find->text()); });
    connect(m_previous, &QToolButton::clicked, this, [this] { findInPage(m_find->text(), true); });
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, [this] {
        m_find->setFocus();
        m_find->selectAll();
    });
    auto* nextKey = new QShortcut(QKeySequence::FindNext, this);
    connect(nextKey, &QShortcut::activated, this, [this] { findInPage(m_find->text()); });
    auto* previousKey = new QShortcut(QKeySequence::FindPrevious, this);
    connect(previousKey, &QShortcut::activated, this, [this] { findInPage(m_find->text(), true); });
}

void HelpViewer::SetLanguage(const QString& helpFile)
{
    const auto text = [](const char* english) {
        return QCoreApplication::translate(kHelpViewerContext, english);
    };
    m_back->setText(text(QT_TRANSLATE_NOOP("HelpViewer", "Back")));
    m_forward->setText(text(QT_TRANSLATE_NOOP("HelpViewer", "Forward")));
    m_home->setText(text(QT_TRANSLATE_NOOP("HelpViewer", "Contents")));
    m_findLabel->setText(text(QT_TRANSLATE_NOOP("HelpViewer", "Find in page:")));
    m_previous->setToolTip(text(QT_TRANSLATE_NOOP("HelpViewer", "Previous match")));
    m_next->setToolTip(text(QT_TRANSLATE_NOOP("HelpViewer", "Next match")));
    if (isVisible() && helpFile != m_file) {
        const QUrl same = SamePageIn(m_browser->source(), helpFile);
        showContents(helpFile);
        // The start page again is no step to go back from.
        if (same != m_browser->source()) {
            m_browser->setSource(same);
        }
    }
}

bool HelpViewer::showContents(const QString& helpFile)
{
    if (!QFile::exists(QStringLiteral(":/help/") + helpFile)) {
        return false;
    }
    const QUrl start(QStringLiteral("qrc:/help/") + helpFile);
    m_file = helpFile;
    const bool otherStart = start != m_start;
    if (otherStart) {
        m_start = start;
        buildContents(start);
    }
    m_browser->setSource(start, QTextDocument::HtmlResource);
    // Pages of another language's help are no way back (cleared after the
    // new start, which would otherwise keep the page before it).
    if (otherStart) {
        m_browser->clearHistory();
    }
    show();
    raise();
    activateWindow();
    return true;
}

QUrl HelpViewer::currentPage() const
{
    return m_browser->source();
}

void HelpViewer::buildContents(const QUrl& start)
{
    m_contents->clear();
    QFile file(QStringLiteral(":") + start.path());
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    QTextDocument page;
    page.setHtml(QString::fromUtf8(file.readAll()));
    auto* top =
        new QTreeWidgetItem(m_contents, {page.metaInformation(QTextDocument::DocumentTitle)});
    top->setData(0, kUrlRole, start);
    // Each linked list item becomes an entry, nested as deep as its list.
    std::vector<QTreeWidgetItem*> parents{top};
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        const QTextList* list = block.textList();
        if (list == nullptr) {
            continue;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString href = fragment.charFormat().anchorHref();
            if (!fragment.isValid() || href.isEmpty()) {
                continue;
            }
            const std::size_t depth =
                static_cast<std::size_t>(std::max(1, list->format().indent()));
            parents.resize(std::min(parents.size(), depth));
            auto* item = new QTreeWidgetItem(parents.back(), {fragment.text().simplified()});
            item->setToolTip(0, item->text(0));
            item->setData(0, kUrlRole, start.resolved(QUrl(href)));
            parents.push_back(item);
            break;
        }
    }
    m_contents->expandAll();
    // The list as wide as its longest entry, within reason.
    m_contents->resizeColumnToContents(0);
    const int wanted = m_contents->columnWidth(0) + 2 * m_contents->frameWidth() + 8;
    const int list = std::min(wanted, width() / 3);
    m_split->setSizes({list, std::max(width() - list, 1)});
}

void HelpViewer::openItem(QTreeWidgetItem* item)
{
    if (item != nullptr) {
        m_browser->setSource(item->data(0, kUrlRole).toUrl());
    }
}

void HelpViewer::pageChanged(const QUrl& page)
{
    setWindowTitle(m_browser->documentTitle());
    const QUrl bare = WithoutFragment(page);
    QTreeWidgetItem* match = nullptr;
    for (QTreeWidgetItemIterator it(m_contents); *it != nullptr && match == nullptr; ++it) {
        if ((*it)->data(0, kUrlRole).toUrl() == page) {
            match = *it;
        }
    }
    for (QTreeWidgetItemIterator it(m_contents); *it != nullptr && match == nullptr; ++it) {
        if (WithoutFragment((*it)->data(0, kUrlRole).toUrl()) == bare) {
            match = *it;
        }
    }
    const QSignalBlocker quiet(m_contents);
    m_contents->setCurrentItem(match);
}

bool HelpViewer::findInPage(const QString& text, bool backward)
{
    if (text.isEmpty()) {
        m_find->setStyleSheet(QString());
        return false;
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    bool found = m_browser->find(text, flags);
    if (!found) {
        // Round once from the other end of the page.
        m_browser->moveCursor(backward ? QTextCursor::End : QTextCursor::Start);
        found = m_browser->find(text, flags);
    }
    m_find->setStyleSheet(found ? QString() : QStringLiteral("background: #f6d0d0;"));
    return found;
}

} // namespace velmor
