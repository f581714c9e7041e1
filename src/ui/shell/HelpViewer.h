// The help viewer of Help > Contents: shows the program's own help file
// ("KLN.hlp" in English, "NLK.hlp" in Spanish) at its contents page.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace velmor {

class HelpViewer : public QWidget {
    Q_OBJECT

public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Opens a help file of the program's resources at its contents page.
    // Returns false when there is no such file.
    bool showContents(const QString& helpFile);
    QString currentFile() const { return m_file; }
    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
    QString m_file;
};

} // namespace velmor
