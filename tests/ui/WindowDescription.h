// What the windows show, in words and fingerprints, and a session that
// keeps what changed at each step: the describing half of
// WindowsTranscriptTest.
#pragma once

#include "MainItems.h"
#include "Transcript.h"
#include "common/PictureProgram.h"
#include "common/WindowTour.h"
#include "ui/analysis/AnalysisMenu.h"
#include "ui/common/PanelView.h"
#include "ui/mimic/MimicView.h"
#include "ui/shell/ExerciseEntries.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/RunHistory.h"
#include "ui/shell/RunHistoryWindow.h"
#include "ui/shell/TfrmPrefs.h"
#include "ui/trends/TfrmGraph.h"
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace windows_transcript {

using namespace velmor;
using namespace velmor::tools;

using Description = QMap<QString, QString>;

// A widget's name in a path: its object name, else its class and its place
// among its unnamed siblings of that class.
inline QString PathName(const QWidget* w, QHash<QString, int>& unnamed)
{
    if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))) {
        return w->objectName();
    }
    QString name = QString::fromLatin1(w->metaObject()->className());
    name = name.mid(name.lastIndexOf(QLatin1Char(':')) + 1);
    return name + QLatin1Char('#') + QString::number(unnamed[name]++);
}

// Times of day (in kept runs' names) as <time>, so that the words do not
// depend on when the test runs.
inline QString WithoutTimes(QString text)
{
    static const QRegularExpression time(
        QStringLiteral(R"(\d{4}-\d\d-\d\d[ T_]\d\d[:.\-]?\d\d([:.\-]?\d\d)?)"));
    return text.replace(time, QStringLiteral("<time>"));
}

// Kept runs made in the same second may be listed either way round: where
// they are listed, the transcript keeps the runs in the order of their words.
inline bool ListsKeptRuns(const QObject* o)
{
    for (; o != nullptr; o = o->parent()) {
        if (o->objectName() == QLatin1String("frmRunHistory") ||
            o->objectName() == QLatin1String("mnuFileRecent")) {
            return true;
        }
    }
    return false;
}

inline QString ItemViewText(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    if (model == nullptr) {
        return {};
    }
    QStringList rows;
    QStringList heads;
    for (int c = 0; c < model->columnCount(); ++c) {
        heads << model->headerData(c, Qt::Horizontal).toString();
    }
    rows << heads.join(QLatin1Char('|'));
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c) {
            const QModelIndex i = model->index(r, c);
            cells << model->data(i).toString();
            const QVariant check = model->data(i, Qt::CheckStateRole);
            if (check.isValid()) {
                cells.last() += QStringLiteral("[%1]").arg(check.toInt());
            }
        }
        rows << cells.join(QLatin1Char('|'));
    }
    if (ListsKeptRuns(view)) {
        for (QString& row : rows) {
            row = WithoutTimes(row);
        }
        std::sort(rows.begin() + 1, rows.end());
    }
    const QModelIndex current = view->currentIndex();
    QStringList selected;
    if (const QItemSelectionModel* selection = view->selectionModel()) {
        for (const QModelIndex& i : selection->selectedRows()) {
            selected << QString::number(i.row());
        }
        std::sort(selected.begin(), selected.end());
    }
    return QStringLiteral("rows %1 current %2,%3 selected %4: ")
               .arg(model->rowCount())
               .arg(current.row())
               .arg(current.column())
               .arg(selected.join(QLatin1Char(','))) +
           rows.join(QLatin1String(" / "));
}

// A picture's size and a fingerprint of its pixels.
inline QString PictureText(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    return QStringLiteral("%1x%2 ").arg(rgb.width()).arg(rgb.height()) +
           QString::fromStdString(
               test::Fingerprint(std::string_view(reinterpret_cast<const char*>(rgb.constBits()),
                                                  static_cast<std::size_t>(rgb.sizeInBytes()))));
}

// What one widget shows, in words: empty when it shows nothing of its own.
inline QString WidgetText(QWidget* w)
{
    QStringList parts;
    if (const auto* panel = qobject_cast<PanelView*>(w)) {
        parts << QStringLiteral("picture ") + PictureText(panel->image());
    } else if (const auto* view = qobject_cast<MimicView*>(w)) {
        parts << QStringLiteral("picture ") + PictureText(view->image());
    }
    if (const auto* item = qobject_cast<PanelItem*>(w)) {
        parts << QStringLiteral("reads ") + item->spokenName();
    } else if (const auto* label = qobject_cast<QLabel*>(w)) {
        if (!label->text().isEmpty()) {
            parts << QStringLiteral("text ") + label->text();
        }
    }
    if (const auto* b = qobject_cast<QAbstractButton*>(w)) {
        parts << QStringLiteral("text ") + b->text();
        if (b->isCheckable()) {
            parts << (b->isChecked() ? QStringLiteral("on") : QStringLiteral("off"));
        }
        if (!b->icon().isNull()) {
            parts << QStringLiteral("icon ") +
                         PictureText(b->icon().pixmap(b->iconSize(), 1.0).toImage());
        }
    }
    if (const auto* e = qobject_cast<QLineEdit*>(w)) {
        parts << QStringLiteral("text ") + e->text();
    }
    if (const auto* c = qobject_cast<QComboBox*>(w)) {
        QStringList items;
        for (int i = 0; i < c->count(); ++i) {
            items << c->itemText(i);
        }
        parts << QStringLiteral("choice %1 of ").arg(c->currentIndex()) +
                     items.join(QLatin1Char('|'));
    }
    if (const auto* s = qobject_cast<QAbstractSlider*>(w)) {
        parts << QStringLiteral("value %1 of %2..%3 step %4 page %5")
                     .arg(s->value())
                     .arg(s->minimum())
                     .arg(s->maximum())
                     .arg(s->singleStep())
                     .arg(s->pageStep());
    }
    if (const auto* g = qobject_cast<QGroupBox*>(w)) {
        parts << QStringLiteral("title ") + g->title();
    }
    if (const auto* t = qobject_cast<QTextBrowser*>(w)) {
        parts << QStringLiteral("page ") + t->source().fileName() + QStringLiteral(" back ") +
                     (t->isBackwardAvailable() ? QStringLiteral("yes") : QStringLiteral("no")) +
                     QStringLiteral(" text ") +
                     QString::fromStdString(test::Fingerprint(t->toPlainText().toStdString()));
    } else if (const auto* v = qobject_cast<QAbstractItemView*>(w)) {
        parts << ItemViewText(v);
    }
    if (!w->isEnabled()) {
        parts << QStringLiteral("disabled");
    }
    if (!w->toolTip().isEmpty()) {
        parts << QStringLiteral("tip ") + w->toolTip();
    }
    if (!w->accessibleName().isEmpty()) {
        parts << QStringLiteral("named ") + w->accessibleName();
    }
    if (!w->accessibleDescription().isEmpty()) {
        parts << QStringLiteral("described ") + w->accessibleDescription();
    }
    if (w->isWindow() && !w->windowTitle().isEmpty()) {
        parts << QStringLiteral("title ") + w->windowTitle();
    }
    return parts.join(QLatin1String(" | "));
}

inline void DescribeTree(QWidget* w, const QString& path, Description& out)
{
    if (!w->isVisible() || qobject_cast<QMenu*>(w) != nullptr) {
        return;
    }
    if (const QString text = WidgetText(w); !text.isEmpty()) {
        out.insert(path, text);
    }
    if (qobject_cast<QAbstractItemView*>(w) != nullptr ||
        qobject_cast<QTextBrowser*>(w) != nullptr || qobject_cast<QComboBox*>(w) != nullptr) {
        return; // described whole above
    }
    QHash<QString, int> unnamed;
    for (QObject* child : w->children()) {
        if (auto* c = qobject_cast<QWidget*>(child); c != nullptr && !c->isWindow()) {
            DescribeTree(c, path + QLatin1Char('/') + PathName(c, unnamed), out);
        }
    }
}

inline QString ActionText(const QAction* a)
{
    QStringList parts{a->text()};
    if (!a->shortcut().isEmpty()) {
        parts << QStringLiteral("key ") + a->shortcut().toString();
    }
    if (!a->isEnabled()) {
        parts << QStringLiteral("disabled");
    }
    if (a->isCheckable()) {
        parts << (a->isChecked() ? QStringLiteral("on") : QStringLiteral("off"));
    }
    if (!a->isVisible()) {
        parts << QStringLiteral("hidden");
    }
    if (!a->toolTip().isEmpty() && a->toolTip() != QString(a->text()).remove(QLatin1Char('&'))) {
        parts << QStringLiteral("tip ") + a->toolTip();
    }
    if (!a->statusTip().isEmpty()) {
        parts << QStringLiteral("status ") + a->statusTip();
    }
    return parts.join(QLatin1String(" | "));
}

inline QString ActionName(const QAction* a, int place)
{
    return a->objectName().isEmpty() ? QStringLiteral("item%1").arg(place) : a->objectName();
}

// Shows a menu (a menu may fill itself on showing) and calls
// `visit(item, path)` for each of its items in turn; the items of a
// submenu follow their menu's item when `visit` answers true.
template <typename Visit> void WalkMenu(QMenu* menu, const QString& path, const Visit& visit)
{
    emit menu->aboutToShow();
    int place = 0;
    for (QAction* a : menu->actions()) {
        ++place;
        if (a->isSeparator()) {
            continue;
        }
        const QString p = path + QLatin1Char('/') + ActionName(a, place);
        if (visit(a, p) && a->menu() != nullptr) {
            WalkMenu(a->menu(), p, visit);
        }
    }
    emit menu->aboutToHide();
}

// The menu bar's titles and, through WalkMenu, their menus.
template <typename Visit> void WalkMenuBar(TfrmMain& m, const Visit& visit)
{
    int place = 0;
    for (QAction* title : m.menuBar()->actions()) {
        const QString p = QStringLiteral("menu/") + ActionName(title, ++place);
        if (visit(title, p) && title->menu() != nullptr) {
            WalkMenu(title->menu(), p, visit);
        }
    }
}

// The menus, the pop-up menu and the toolbar: what a user may choose now.
inline void DescribeCommands(TfrmMain& m, Description& d)
{
    // A list of kept runs is one entry, its items in order of name: runs
    // kept in the same second may be listed in either order.
    const auto item = [&](QAction* a, const QString& path) {
        d.insert(path, ActionText(a));
        if (a->menu() == nullptr || !ListsKeptRuns(a->menu())) {
            return true;
        }
        emit a->menu()->aboutToShow();
        QStringList items;
        for (QAction* run : a->menu()->actions()) {
            items << WithoutTimes(ActionText(run));
        }
        std::sort(items.begin(), items.end());
        d.insert(path + QStringLiteral("/items"), items.join(QLatin1String(" / ")));
        emit a->menu()->aboutToHide();
        return false;
    };
    WalkMenuBar(m, item);
    if (auto* pop = m.findChild<QMenu*>(QStringLiteral("MainPopupMenu"))) {
        WalkMenu(pop, QStringLiteral("popup"), item);
    }
    if (auto* toolbar = m.findChild<QWidget*>(QStringLiteral("pnlToolbar"))) {
        DescribeTree(toolbar, QStringLiteral("toolbar"), d);
    }
}

// Everything on screen, in words, without times of day, and the test's
// own folders by name, so that the words do not depend on when and where
// the test runs.
inline Description Describe(TfrmMain& m, const VelmorState& state,
                            const QList<std::pair<QString, QString>>& folders)
{
    QApplication::processEvents();
    Description d;
    d.insert(QStringLiteral("main"),
             QStringLiteral("title ") + m.windowTitle() + QStringLiteral(" | form ") +
                 QString::fromStdString(state.shell.currentForm) +
                 QStringLiteral(" | records %1").arg(state.run.sampleCount));
    DescribeCommands(m, d);
    for (QMdiSubWindow* sub : m.mdiArea()->subWindowList()) {
        if (sub->isVisible() && sub->widget() != nullptr) {
            const QString name = QStringLiteral("sub/") + WindowName(sub->widget());
            d.insert(name, QStringLiteral("title ") + sub->windowTitle());
            DescribeTree(sub->widget(), name, d);
        }
    }
    for (QDockWidget* dock : m.findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
        if (dock->isVisible()) {
            const QString name = QStringLiteral("dock/") + WindowName(dock);
            d.insert(name, QStringLiteral("title ") + dock->windowTitle());
            DescribeTree(dock, name, d);
        }
    }
    if (QWidget* screen = m.menuScreen(); screen != nullptr && screen->isVisible()) {
        DescribeTree(screen, QStringLiteral("menuscreen"), d);
    }
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &m && window->isVisible() && qobject_cast<QMenu*>(window) == nullptr) {
            DescribeTree(window, QStringLiteral("window/") + WindowName(window), d);
        }
    }
    if (const TfrmGraph* g = m.graphWindow()) {
        const TrendViewState& v = g->view();
        d.insert(QStringLiteral("trends view"),
                 QStringLiteral("start %1 live %2 x %3 segment %4 cursor %5 at %6 record %7 "
                                "arrow %8")
                     .arg(v.trendViewStart)
                     .arg(v.trendLive)
                     .arg(v.trendX)
                     .arg(v.trendSegmentShown)
                     .arg(v.cursorShown)
                     .arg(v.cursorX)
                     .arg(v.cursorRecord)
                     .arg(v.litArrow));
        d.insert(QStringLiteral("trends picture"), PictureText(g->panel()));
    }
    for (auto it = d.begin(); it != d.end(); ++it) {
        it.value() = WithoutTimes(it.value());
        for (const auto& [folder, name] : folders) {
            it.value().replace(folder, name);
        }
    }
    return d;
}

// Answers every box a step brings up the cautious way (No, Cancel, else
// OK), closes every dialog unanswered, and keeps what each one asked.
class ModalAnswers : public QObject {
public:
    ModalAnswers()
    {
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, &ModalAnswers::answer);
        m_poll.start();
    }

    QStringList take() { return std::exchange(m_seen, {}); }

private:
    void answer()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (w == nullptr) {
            return;
        }
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            QStringList buttons;
            for (QAbstractButton* b : box->buttons()) {
                buttons << b->text();
            }
            m_seen << QStringLiteral("message | ") + box->windowTitle() + QStringLiteral(" | ") +
                          box->text() + QStringLiteral(" | ") + buttons.join(QLatin1Char(','));
            for (const auto button : {QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok}) {
                if (QAbstractButton* b = box->button(button)) {
                    b->click();
                    return;
                }
            }
            box->reject();
        } else if (auto* files = qobject_cast<QFileDialog*>(w)) {
            const auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            m_seen << QStringLiteral("file dialog | ") + files->windowTitle() +
                          QStringLiteral(" | ") + files->nameFilters().join(QLatin1Char(';')) +
                          QStringLiteral(" | name ") + (name ? name->text() : QString()) +
                          (files->acceptMode() == QFileDialog::AcceptSave
                               ? QStringLiteral(" | save")
                               : QString());
            files->reject();
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            m_seen << QStringLiteral("dialog | ") +
                          QString::fromLatin1(dialog->metaObject()->className()) +
                          QStringLiteral(" | ") + dialog->windowTitle();
            dialog->reject();
        }
    }

    QTimer m_poll;
    QStringList m_seen;
};

// The session's transcript: at each step, what changed since the last.
class Session {
public:
    Session(TfrmMain& m, VelmorState& state, QList<std::pair<QString, QString>> folders)
        : m_main(m), m_state(state), m_folders(std::move(folders))
    {
    }

    void step(const QString& name)
    {
        if (qEnvironmentVariableIsSet("VELMOR_TRANSCRIPT_TRACE")) {
            std::fprintf(stderr, "step %s\n", qPrintable(name));
        }
        const Description now = Describe(m_main, m_state, m_folders);
        QStringList keys = now.keys() + m_last.keys();
        keys.removeDuplicates();
        std::sort(keys.begin(), keys.end());
        for (const QString& key : keys) {
            const QString value = now.value(key, QStringLiteral("(gone)"));
            if (m_last.value(key, QStringLiteral("(gone)")) != value) {
                add(name + QStringLiteral(" | ") + key, value);
            }
        }
        m_last = now;
        const QStringList asked = m_answers.take();
        for (int k = 0; k < asked.size(); ++k) {
            add(name + QStringLiteral(" | asked %1").arg(k + 1), asked[k]);
        }
    }

    // What the menus and the toolbar offer at a moment in the middle of
    // something (a run), where the rest of the screen changes from one
    // cycle to the next: what differs from the last step.
    void stepCommands(const QString& name)
    {
        Description now;
        DescribeCommands(m_main, now);
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            if (m_last.value(it.key(), QStringLiteral("(gone)")) != it.value()) {
                add(name + QStringLiteral(" | ") + it.key(), it.value());
            }
        }
    }

    void add(const QString& what, const QString& answer)
    {
        transcript.add(what.toStdString(), answer.toStdString());
    }

    test::Transcript transcript;

private:
    TfrmMain& m_main;
    VelmorState& m_state;
    QList<std::pair<QString, QString>> m_folders;
    Description m_last;
    ModalAnswers m_answers;
};

// Waits until the program is at rest: what a step set off has come (a
// menu item's choice may come a turn of the event loop later), no switch
// is under way, no release is due and no window blocks clicks for a moment
// (the Open loop window does, each time it is activated). A run just kept
// in the history is on disk and listed, and the note that says so has
// gone (it stays a few seconds for a user to read).
inline void Settle(TfrmMain& m, const VelmorState& state)
{
    const auto* release = m.findChild<QTimer*>(QStringLiteral("Timer"));
    RunHistory* history = m.runHistory();
    for (int turn = 0; turn < 3; ++turn) {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QVERIFY(QTest::qWaitFor(
            [&] {
                return !m.switching() && (release == nullptr || !release->isActive()) &&
                       !state.open.openActivating && (history == nullptr || !history->reading());
            },
            120000));
        if (history != nullptr) {
            history->waitForWrites();
        }
        QApplication::processEvents();
        if (m.noteTimer().isActive()) {
            m.noteTimer().start(0);
            QVERIFY(QTest::qWaitFor([&] { return !m.noteTimer().isActive(); }, 120000));
        }
    }
}

// What a button is called in a step's name.
inline QString ButtonName(const QAbstractButton* b)
{
    if (!b->text().isEmpty()) {
        return b->text();
    }
    if (!b->accessibleName().isEmpty()) {
        return b->accessibleName();
    }
    return b->objectName();
}

} // namespace windows_transcript
