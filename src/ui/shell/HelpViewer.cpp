#include "ui/shell/HelpViewer.h"

#include <QFile>
#include <QTextBrowser>
#include <QVBoxLayout>

// The help pages live in a resource of the (static) window library.
static void InitHelpResources()
{
    Q_INIT_RESOURCE(velmor);
}

namespace velmor {

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    InitHelpResources();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(false);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    layout->addWidget(m_browser);
    resize(620, 560);
}

bool HelpViewer::showContents(const QString& helpFile)
{
    QFile file(QStringLiteral(":/help/") + helpFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    m_file = helpFile;
    m_browser->setHtml(QString::fromUtf8(file.readAll()));
    m_browser->scrollToAnchor(QStringLiteral("contents"));
    setWindowTitle(m_browser->documentTitle());
    show();
    raise();
    activateWindow();
    return true;
}

} // namespace velmor
