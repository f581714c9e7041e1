// What the windows show, as words and numbers, at each step of a long,
// fixed session, kept in tests/data/transcripts/windows.txt (see
// tests/common/Transcript.h): the tour of every window in both languages,
// then every menu item, toolbar button and pop-up item chosen in turn,
// every value box of every exercise given its limits and the values just
// past them through the keypad, every check box and button of the panels
// clicked, and the Trends window's keys. At each step the transcript keeps
// what changed since the step before: a text, a check mark, an enabled
// state, what a screen reader hears from a painted box, the Trends view,
// the question a box asked. A painted picture (a panel, the mimic, the
// Trends plot) is kept as its size and a fingerprint of its pixels.

#include "WindowDescription.h"

#include <QDir>
#include <QtTest>

using namespace velmor;
using namespace velmor::tools;

namespace windows_transcript {

// Opens the exercise of a row of the Control menu as its menu item does
// (afresh, as a switch to it does, when it is open already), and waits for
// its new window.
void OpenExercise(TfrmMain& m, const VelmorState& state, const ExerciseEntry& row)
{
    const QPointer<QMdiSubWindow> old = m.exerciseSubWindow();
    const bool replaced = !old.isNull();
    if (QAction* item = Item(m, row.menuItem); item->isChecked()) {
        m.Start(FormOf(row), true);
    } else {
        item->trigger();
    }
    Settle(m, state);
    QVERIFY(QTest::qWaitFor(
        [&] {
            return !m.switching() && m.exerciseSubWindow() != nullptr &&
                   (!replaced || old.isNull());
        },
        120000));
    Settle(m, state);
}

// Every menu item, toolbar button and pop-up item chosen in turn, each
// question answered No (or Cancel) and each dialog closed.
void EveryCommand(TfrmMain& m, const VelmorState& state, Session& session)
{
    QList<std::pair<QString, QPointer<QAction>>> commands;
    const auto command = [&](QAction* a, const QString& path) {
        if (a->menu() == nullptr) {
            commands.append({path, a});
        }
        return true;
    };
    WalkMenuBar(m, command);
    WalkMenu(Item<QMenu>(m, "MainPopupMenu"), QStringLiteral("popup"), command);
    for (const auto& [path, action] : commands) {
        if (action.isNull() || action->isSeparator()) {
            continue;
        }
        action->trigger();
        Settle(m, state);
        session.step(QStringLiteral("command ") + path);
        CloseOthers(m);
    }
    // The toolbar, shown for the purpose.
    QWidget* toolbar = Item<QWidget>(m, "pnlToolbar");
    if (!toolbar->isVisible()) {
        Item(m, "mnuPreferencesToolbar")->trigger();
    }
    QList<QPointer<QToolButton>> buttons;
    for (QToolButton* b : toolbar->findChildren<QToolButton*>()) {
        buttons << b;
    }
    for (const QPointer<QToolButton>& b : buttons) {
        if (!b.isNull() && b->isVisible() && b->isEnabled()) {
            const QString what = QStringLiteral("command toolbar ") + b->objectName();
            b->click();
            Settle(m, state);
            session.step(what);
            CloseOthers(m);
        }
    }
}

// A value box given what the keypad shows as its limits, then each value
// just past them.
void SweepBox(TfrmMain& m, const VelmorState& state, Session& session, ClickArea* box,
              const QString& what)
{
    TfrmCalculator* pad = m.keypad();
    Settle(m, state);
    box->press();
    session.step(what + QStringLiteral(" keypad"));
    if (!pad->isVisible()) {
        return;
    }
    const std::string low = pad->lblMinValue->text().toStdString();
    const std::string high = pad->lblMaxValue->text().toStdString();
    pad->btnCancel->click();
    for (const std::string& value :
         {low, high, test::NextToLimit(low, -1), test::NextToLimit(high, +1)}) {
        if (value.empty()) {
            continue;
        }
        Settle(m, state);
        box->press();
        QTest::keyClicks(pad->txtValue, QString::fromStdString(value));
        pad->btnOK->click();
        if (pad->isVisible()) {
            pad->btnCancel->click();
        }
        session.step(what + QStringLiteral(" = ") + QString::fromStdString(value));
    }
}

// Every value box of the open exercise's panel that `due` picks.
void SweepBoxes(TfrmMain& m, const VelmorState& state, Session& session, const QString& name,
                QHash<ClickArea*, QString>& swept)
{
    auto* window = dynamic_cast<LoopWindow*>(m.exerciseWindow());
    QVERIFY(window != nullptr);
    for (ClickArea* box : window->findChildren<ClickArea*>()) {
        // Again only when it reads otherwise (a waveform's rows).
        if (box->isVisible() && box->isEnabled() && swept.value(box) != box->spokenName()) {
            SweepBox(m, state, session, box, name + QStringLiteral(" box ") + box->label());
            swept.insert(box, box->spokenName());
        }
    }
}

// Every button, check box and clickable letter of the open exercise's
// panel (START, STOP and MENU aside) clicked, and a toggle clicked back;
// after each waveform, the boxes it shows.
void EveryPanelControl(TfrmMain& m, const VelmorState& state, Session& session, const QString& name)
{
    auto* window = dynamic_cast<LoopWindow*>(m.exerciseWindow());
    QVERIFY(window != nullptr);
    QHash<ClickArea*, QString> swept;
    SweepBoxes(m, state, session, name, swept);
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (b == window->btnStart || b == window->btnStop || b == window->btnMenu ||
            !b->isVisible() || !b->isEnabled()) {
            continue;
        }
        const QString what = name + QStringLiteral(" click ") + ButtonName(b);
        Settle(m, state);
        b->click();
        session.step(what);
        if (qobject_cast<QRadioButton*>(b) != nullptr) {
            SweepBoxes(m, state, session, what, swept);
        } else if (b->isCheckable() || qobject_cast<QPushButton*>(b) != nullptr) {
            Settle(m, state);
            b->click();
            session.step(what + QStringLiteral(" again"));
        }
    }
    for (ClickLabel* letter : window->findChildren<ClickLabel*>()) {
        if (letter->isVisible() && letter->isEnabled()) {
            const QString what =
                name + QStringLiteral(" letter ") +
                (letter->text().isEmpty() ? letter->accessibleName() : letter->text());
            Settle(m, state);
            QTest::mouseClick(letter, Qt::LeftButton);
            session.step(what);
            Settle(m, state);
            QTest::mouseClick(letter, Qt::LeftButton);
            session.step(what + QStringLiteral(" again"));
        }
    }
}

// The Trends window after a run: the plot's keys, the eight arrows, clicks
// on the plot, the trace boxes, the gate valve and pump buttons, and the
// two time boxes.
void EveryTrendsControl(TfrmMain& m, const VelmorState& state, Session& session,
                        const QString& name)
{
    TfrmGraph* g = m.graphWindow();
    QVERIFY(g != nullptr);
    const QString prefix = name + QStringLiteral(" trends ");
    const std::pair<int, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_End, Qt::NoModifier},      {Qt::Key_Left, Qt::NoModifier},
        {Qt::Key_Left, Qt::ShiftModifier},  {Qt::Key_Home, Qt::NoModifier},
        {Qt::Key_Right, Qt::NoModifier},    {Qt::Key_Right, Qt::ShiftModifier},
        {Qt::Key_PageDown, Qt::NoModifier}, {Qt::Key_PageDown, Qt::ShiftModifier},
        {Qt::Key_PageUp, Qt::NoModifier},   {Qt::Key_PageUp, Qt::ShiftModifier},
        {Qt::Key_Escape, Qt::NoModifier}};
    for (const auto& [key, modifiers] : keys) {
        QTest::keyClick(g->plotItem(), Qt::Key(key), modifiers);
        session.step(prefix + QKeySequence(key | int(modifiers)).toString());
    }
    for (int arrow = 1; arrow <= 8; ++arrow) {
        g->Move(arrow);
        session.step(prefix + QStringLiteral("arrow %1").arg(arrow));
    }
    for (const int x : {60, 250, 480}) {
        g->imgPanelMouseDown(Qt::LeftButton, x, 200);
        session.step(prefix + QStringLiteral("click at %1").arg(x));
    }
    g->imgPanelMouseDown(Qt::RightButton, 250, 200);
    session.step(prefix + QStringLiteral("right click"));
    for (QAbstractButton* b : g->findChildren<QAbstractButton*>()) {
        if (b->isVisible() && b->isEnabled()) {
            const QString what = prefix + QStringLiteral("click ") + ButtonName(b);
            b->click();
            session.step(what);
            b->click();
            session.step(what + QStringLiteral(" again"));
        }
    }
    for (const auto& [box, texts] :
         {std::pair{Item<QLineEdit>(*g, "txtStartTime"),
                    QStringList{QStringLiteral("20"), QStringLiteral("abc"), QStringLiteral("9999"),
                                QStringLiteral("0"), QStringLiteral("30")}},
          std::pair{Item<QLineEdit>(*g, "txtTrendBase"),
                    QStringList{QStringLiteral("30"), QStringLiteral("15"), QStringLiteral("185"),
                                QStringLiteral("180"), QStringLiteral("x"),
                                QStringLiteral("60")}}}) {
        if (!box->isVisible() || !box->isEnabled()) {
            continue;
        }
        // The last value is entered with the keypad's Enter, the rest with Return.
        for (qsizetype k = 0; k < texts.size(); ++k) {
            const bool keypad = k + 1 == texts.size();
            box->selectAll();
            QTest::keyClicks(box, texts[k]);
            QTest::keyClick(box, keypad ? Qt::Key_Enter : Qt::Key_Return,
                            keypad ? Qt::KeypadModifier : Qt::NoModifier);
            Settle(m, state);
            session.step(prefix + box->objectName() + QStringLiteral(" ") + texts[k] +
                         (keypad ? QStringLiteral(" (keypad Enter)") : QString()));
        }
    }
}

// Every loop exercise: its panel's boxes and controls, then a run and its
// Trends window.
void EveryExercise(TfrmMain& m, VelmorState& state, Session& session)
{
    for (const ExerciseEntry* row : ExerciseEntries()) {
        if (!row->exercise || !Offered(*row)) {
            continue;
        }
        const QString name = FormOf(*row);
        OpenExercise(m, state, *row);
        session.step(name + QStringLiteral(" opened"));
        EveryPanelControl(m, state, session, name);
        OpenExercise(m, state, *row); // afresh, for a run of its defaults
        session.step(name + QStringLiteral(" opened again"));
        // Kept runs are named by the second they end in: one a second, so
        // that the history lists them in the order they were made.
        static qint64 lastKept = 0;
        QVERIFY(
            QTest::qWaitFor([] { return QDateTime::currentSecsSinceEpoch() != lastKept; }, 120000));
        QVERIFY(TourRun(m, state, QStringLiteral("2"),
                        [&] { session.stepCommands(name + QStringLiteral(" running")); }));
        Settle(m, state);
        lastKept = QDateTime::currentSecsSinceEpoch();
        session.step(name + QStringLiteral(" run"));
        EveryTrendsControl(m, state, session, name);
    }
}

// The mimic: its clickable parts and buttons, and the pump knob's keys.
void EveryMimicControl(TfrmMain& m, const VelmorState& state, Session& session)
{
    OpenExercise(m, state, *ExerciseEntries().front());
    QVERIFY(QTest::qWaitFor([&m] { return m.manualWindow() != nullptr; }, 120000));
    TfrmManual* mimic = m.manualWindow();
    // What a change does shows at the rig model's next update.
    const auto updated = [mimic] {
        QSignalSpy tick(mimic->UpdateTimer, &QTimer::timeout);
        QVERIFY(tick.wait(120000));
        QApplication::processEvents();
    };
    QVERIFY(QTest::qWaitFor([mimic] { return mimic->needleShown(); }, 120000));
    updated();
    session.step(QStringLiteral("mimic opened"));
    for (MimicSlider* knob : mimic->findChildren<MimicSlider*>()) {
        for (const Qt::Key key :
             {Qt::Key_Up, Qt::Key_Right, Qt::Key_PageUp, Qt::Key_End, Qt::Key_Down, Qt::Key_Left,
              Qt::Key_PageDown, Qt::Key_Home, Qt::Key_PageUp}) {
            QTest::keyClick(knob, key);
            updated();
            session.step(QStringLiteral("mimic knob ") + QKeySequence(key).toString());
        }
    }
    for (ClickArea* part : mimic->findChildren<ClickArea*>()) {
        if (part->isVisible() && part->isEnabled()) {
            const QString what = QStringLiteral("mimic click ") + part->label();
            part->press();
            updated();
            session.step(what);
            part->press();
            updated();
            session.step(what + QStringLiteral(" again"));
        }
    }
    mimic->btnMenu->click();
    Settle(m, state);
    session.step(QStringLiteral("mimic MENU"));
}

// The help: each page of its contents, then Back, Forward and Home.
void EveryHelpPage(TfrmMain& m, Session& session)
{
    Item(m, "mnuHelpContents")->trigger();
    QVERIFY(QTest::qWaitFor([&m] { return m.helpViewer() != nullptr; }, 120000));
    HelpViewer* help = m.helpViewer();
    session.step(QStringLiteral("help"));
    QTreeWidget* contents = help->contentsList();
    for (QTreeWidgetItemIterator it(contents); *it != nullptr; ++it) {
        contents->setCurrentItem(*it);
        emit contents->itemActivated(*it, 0);
        session.step(QStringLiteral("help page ") + (*it)->text(0));
    }
    for (QAction* a :
         {help->backAction(), help->backAction(), help->forwardAction(), help->homeAction()}) {
        a->trigger();
        session.step(QStringLiteral("help ") + a->text());
    }
    // A word found in the page, then each button of the help's toolbar.
    QTest::keyClicks(help->findField(), QStringLiteral("flow"));
    QTest::keyClick(help->findField(), Qt::Key_Return);
    session.step(QStringLiteral("help find flow"));
    for (QToolBar* bar : help->findChildren<QToolBar*>()) {
        for (QToolButton* b : bar->findChildren<QToolButton*>()) {
            for (const char* time : {"", " again"}) {
                if (b->isVisible() && b->isEnabled()) {
                    b->click();
                    session.step(QStringLiteral("help click ") + b->toolTip() +
                                 QLatin1String(time));
                }
            }
        }
    }
    CloseOthers(m);
}

// The run history: each exercise its filter offers, and each kept run chosen.
void EveryHistoryChoice(TfrmMain& m, const VelmorState& state, Session& session)
{
    Item(m, "mnuFileHistory")->trigger();
    RunHistoryWindow* history = m.runHistoryWindow();
    QVERIFY(history != nullptr);
    session.step(QStringLiteral("history"));
    for (int k = 1; k < history->cboExercise->count(); ++k) {
        QTest::keyClick(history->cboExercise, Qt::Key_Down);
        session.step(QStringLiteral("history filter %1").arg(k));
    }
    QTest::keyClick(history->cboExercise, Qt::Key_Home);
    for (int row = 0; row < history->grdRuns->model()->rowCount(); ++row) {
        history->grdRuns->selectRow(row);
        session.step(QStringLiteral("history run %1").arg(row));
    }
    for (QPushButton* b : {history->btnOpen, history->btnCompare, history->btnDelete}) {
        if (b->isEnabled()) {
            b->click();
            Settle(m, state);
            session.step(QStringLiteral("history ") + ButtonName(b));
        }
    }
    CloseOthers(m);
}

// Every golden run opened over a Trends window whose time base was
// changed, then its figures with the cursor on its last and first record.
void EveryGoldenFile(TfrmMain& m, const VelmorState& state, Session& session, const QString& golden)
{
    const QStringList files =
        QDir(golden).entryList({QStringLiteral("*.psm")}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& file : files) {
        if (m.graphWindow() != nullptr) {
            auto* base = Item<QLineEdit>(*m.graphWindow(), "txtTrendBase");
            if (base->isEnabled()) {
                base->selectAll();
                QTest::keyClicks(base, QStringLiteral("30"));
                QTest::keyClick(base, Qt::Key_Return);
            }
        }
        m.fileCommands()->openChosenFile(golden + QLatin1Char('/') + file);
        Settle(m, state);
        session.step(QStringLiteral("file ") + file);
        AnalysisMenu* analysis = m.analysisMenu();
        if (!analysis->mnuAnalysisFigures->isEnabled()) {
            continue;
        }
        // The figures window marks the segment the cursor is in when it opens.
        for (const Qt::Key key : {Qt::Key_End, Qt::Key_Home}) {
            QTest::keyClick(m.graphWindow()->plotItem(), key);
            analysis->mnuAnalysisFigures->trigger();
            Settle(m, state);
            session.step(QStringLiteral("file ") + file + QStringLiteral(" figures at ") +
                         QKeySequence(key).toString());
            CloseOthers(m);
        }
    }
}

// Every shipped lab sheet: the exercise it sets up, a run of it graded,
// then the sheet closed.
void EveryLabSheet(TfrmMain& m, VelmorState& state, Session& session, const QString& sheets)
{
    const QStringList files =
        QDir(sheets).entryList({QStringLiteral("*.vlab")}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& file : files) {
        const QString name = QStringLiteral("sheet ") + file;
        m.labSheets()->openChosenSheet(sheets + QLatin1Char('/') + file);
        QVERIFY(m.labSheets()->sheet().has_value());
        QVERIFY(WaitForExercise(m, m.labSheets()->sheet()->exercise, "the sheet's exercise"));
        Settle(m, state);
        session.step(name);
        QVERIFY(TourRun(m, state, QString()));
        Settle(m, state);
        session.step(name + QStringLiteral(" run"));
        m.labSheets()->closeSheet();
        Settle(m, state);
        session.step(name + QStringLiteral(" closed"));
    }
}

// The easy menu screen's buttons, each from the screen brought back.
void EveryEasyMenuButton(TfrmMain& m, const VelmorState& state, Session& session)
{
    for (int k = 0;; ++k) {
        m.ShowMenu();
        Settle(m, state);
        QWidget* screen = m.menuScreen();
        QVERIFY(screen != nullptr);
        const QList<QAbstractButton*> buttons = screen->findChildren<QAbstractButton*>();
        if (k >= buttons.size()) {
            return;
        }
        QAbstractButton* b = buttons[k];
        if (!b->isVisible() || !b->isEnabled()) {
            continue;
        }
        const QString what = QStringLiteral("easy menu ") + ButtonName(b);
        b->click();
        Settle(m, state);
        session.step(what);
        CloseOthers(m);
    }
}

} // namespace windows_transcript

using namespace windows_transcript;

class WindowsTranscriptTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setCursorFlashTime(0);
        QVERIFY(m_history.isValid());
        QVERIFY(KeepTourRuns(m_golden, m_history.path()));
    }

    void everyStepShowsWhatItShowedBefore()
    {
        PictureProgram program(m_history.path(), true);
        TfrmMain& m = *program.main;
        // The release and the switch wait shortened, the release still
        // first: how long each takes is MainWindowTest's business.
        Item<QTimer>(m, "Timer")->setInterval(20);
        Item<QTimer>(m, "switchTimer")->setInterval(30);
        Session session(m, program.state,
                        {{m_history.path(), QStringLiteral("$HISTORY")},
                         {m_golden, QStringLiteral("$GOLDEN")},
                         {m_sheets, QStringLiteral("$SHEETS")}});
        session.step(QStringLiteral("start"));
        EveryEasyMenuButton(m, program.state, session);
        EveryCommand(m, program.state, session);
        EveryExercise(m, program.state, session);
        EveryMimicControl(m, program.state, session);
        EveryHelpPage(m, session);
        EveryHistoryChoice(m, program.state, session);
        EveryGoldenFile(m, program.state, session, m_golden);
        for (const bool spanish : {false, true}) {
            const QString language = spanish ? QStringLiteral("es ") : QStringLiteral("en ");
            QVERIFY(Tour(m, program.state, spanish, m_golden, m_sheets, [&](const QString& name) {
                // The tours' runs are not kept: the history
                // lists the runs above.
                if (name == QLatin1String("preferences") &&
                    m.preferencesWindow()->chkKeepHistory->isChecked()) {
                    m.preferencesWindow()->chkKeepHistory->click();
                }
                Settle(m, program.state);
                session.step(language + name);
            }));
            CloseOthers(m);
        }
        // In Spanish, as the second tour leaves the program, and with no
        // run kept.
        EveryLabSheet(m, program.state, session, m_sheets);
        const std::string differences =
            session.transcript.compareWith(VELMOR_TEST_DATA "/transcripts/windows.txt");
        QVERIFY2(differences.empty(), differences.c_str());
    }

private:
    QTemporaryDir m_history;
    const QString m_golden = QStringLiteral(VELMOR_TEST_DATA "/golden");
    const QString m_sheets = QStringLiteral(VELMOR_SOURCE_DIR "/resources/labsheets");
};

VELMOR_TEST_MAIN(WindowsTranscriptTest, shell)
#include "WindowsTranscriptTest.moc"
