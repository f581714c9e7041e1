// The help viewer of Help > Contents: shows the program's own help pages
// ("KLN.hlp" is the English start page, "NLK.hlp" the Spanish one) with a
// contents list, back and forward, and search within the page.
#pragma once

#include "core/rundata/State.h"

#include <QUrl>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QSplitter;
class QTextBrowser;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmor {

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Opens a help file of the program's resources at its start page.
    // Returns false when there is no such file.
    bool showContents(const QString& helpFile);
    // The viewer's own texts for the language in force; when it is open,
    // the page shown is replaced by the same page in that language.
    void SetLanguage(const QString& helpFile);

    // Searches the page for `text` from the cursor on (backward: before
    // it), wrapping round once. Returns whether it was found.
    bool findInPage(const QString& text, bool backward = false);

    QString currentFile() const { return m_file; }
    QUrl currentPage() const;
    QTextBrowser* browser() const { return m_browser; }
    QTreeWidget* contentsList() const { return m_contents; }
    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }
    QAction* homeAction() const { return m_home; }
    QLineEdit* findField() const { return m_find; }

private:
    // The contents list: the links of the start page, nested as its lists.
    // The constructor's parts.
    void buildToolBar();
    void buildPages();
    void connectControls();
    void buildContents(const QUrl& start);
    void pageChanged(const QUrl& page);
    void openItem(QTreeWidgetItem* item);

    QTextBrowser* m_browser = nullptr;
    QSplitter* m_split = nullptr;
    QTreeWidget* m_contents = nullptr;
    QToolBar* m_bar = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
    QLabel* m_findLabel = nullptr;
    QLineEdit* m_find = nullptr;
    QToolButton* m_previous = nullptr;
    QToolButton* m_next = nullptr;
    QString m_file;
    QUrl m_start;
};

} // namespace velmor
