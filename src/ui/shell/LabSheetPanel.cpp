#include "ui/shell/LabSheetPanel.h"

#include "core/exercises/ExerciseProfile.h"
#include "ui/common/Language.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace velmor {

namespace {

constexpr const char* kLabSheetPanelContext = "LabSheet";

QString LabSheetPanelText(const char* english)
{
    return QCoreApplication::translate(kLabSheetPanelContext, english);
}

const char* FigureText(SheetFigure f)
{
    switch (f) {
    case SheetFigure::Iae:
        return QT_TRANSLATE_NOOP("LabSheet", "IAE");
    case SheetFigure::Ise:
        return QT_TRANSLATE_NOOP("LabSheet", "ISE");
    case SheetFigure::Itae:
        return QT_TRANSLATE_NOOP("LabSheet", "ITAE");
    case SheetFigure::OutputTotalVariation:
        return QT_TRANSLATE_NOOP("LabSheet", "Output variation (%)");
    case SheetFigure::RiseTime:
        return QT_TRANSLATE_NOOP("LabSheet", "Rise time (s)");
    case SheetFigure::Peak:
        return QT_TRANSLATE_NOOP("LabSheet", "Peak");
    case SheetFigure::PeakTime:
        return QT_TRANSLATE_NOOP("LabSheet", "Peak time (s)");
    case SheetFigure::OvershootPercent:
        return QT_TRANSLATE_NOOP("LabSheet", "Overshoot (%)");
    case SheetFigure::SettlingTime:
        return QT_TRANSLATE_NOOP("LabSheet", "Settling time (s)");
    case SheetFigure::SteadyStateError:
        return QT_TRANSLATE_NOOP("LabSheet", "Steady-state error");
    case SheetFigure::Stable:
        return QT_TRANSLATE_NOOP("LabSheet", "Stable");
    }
    return "";
}

QString Number(double v)
{
    // The language's decimal sign; no grouping of thousands.
    const LanguageEntry& language = LanguageOf(InstalledLanguage());
    return QString::number(v, 'g', 4).replace(
        QLatin1Char('.'), QLocale(language.locale, language.country).decimalPoint());
}

// "Flow: Overshoot (%), step 2": the loop, the figure and where it is taken.
QString TargetName(const SheetTarget& t, Exercise e)
{
    QString loop = QString::fromUtf8(t.loop.data(), static_cast<int>(t.loop.size()));
    for (const LoopTraces& l : ProfileOf(e).loops) {
        if (l.name == t.loop) {
            loop = QCoreApplication::translate("TfrmRunFigures", l.title);
        }
    }
    // The loop is named only where the exercise has more than one.
    QString name = LabSheetPanelText(FigureText(t.figure));
    if (ProfileOf(e).loops.size() > 1) {
        name = loop + QStringLiteral(": ") + name;
    }
    if (IsStepFigure(t.figure)) {
        name +=
            QStringLiteral(", ") +
            (t.step == 0 ? LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "start step"))
                         : LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "step %1")).arg(t.step));
    }
    if (t.segment && t.figure != SheetFigure::Stable) {
        name += QStringLiteral(", ") +
                LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "segment %1")).arg(*t.segment);
    }
    return name;
}

QString Limits(const SheetTarget& t)
{
    if (t.equals) {
        return *t.equals ? LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "yes"))
                         : LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "no"));
    }
    if (t.min && t.max) {
        return LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "%1 to %2"))
            .arg(Number(*t.min), Number(*t.max));
    }
    return t.max ? QStringLiteral("≤ ") + Number(*t.max) : QStringLiteral("≥ ") + Number(*t.min);
}

// What the panel says under the table about a graded run: every target
// met, or why not.
QString Verdict(const RunGrade& g, int minRecords)
{
    int metCount = 0;
    for (const TargetGrade& t : g.targets) {
        metCount += t.passed ? 1 : 0;
    }
    QStringList lines;
    if (g.passed) {
        lines << LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "This run meets every target."));
    } else {
        if (g.shortRun) {
            lines << LabSheetPanelText(
                         QT_TRANSLATE_NOOP("LabSheet",
                                           "The run is too short: it needs at least %1 records."))
                         .arg(minRecords);
        }
        if (!g.changedLocked.empty()) {
            QStringList names;
            for (const std::string& n : g.changedLocked) {
                names << QString::fromStdString(n);
            }
            lines << LabSheetPanelText(
                         QT_TRANSLATE_NOOP("LabSheet", "Settings of the sheet were changed: %1."))
                         .arg(names.join(QStringLiteral(", ")));
        }
        lines << LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "%1 of %2 targets met."))
                     .arg(metCount)
                     .arg(g.targets.size());
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace

LabSheetPanel::LabSheetPanel(QWidget* parent) : QDockWidget(parent)
{
    setObjectName(QStringLiteral("dockLabSheet"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    m_title = new QLabel(body);
    m_title->setObjectName(QStringLiteral("lblSheetTitle"));
    m_title->setWordWrap(true);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_instructions = new QTextBrowser(body);
    m_instructions->setObjectName(QStringLiteral("txtSheetInstructions"));
    // A few lines of text; the table below takes the rest of the height.
    m_instructions->setMaximumHeight(m_instructions->fontMetrics().lineSpacing() * 9);
    m_instructions->setTabChangesFocus(true);
    m_table = new QTableWidget(0, 4, body);
    m_table->setObjectName(QStringLiteral("tblSheetTargets"));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    // Tab goes on to the next control; the arrows move from cell to cell.
    m_table->setTabKeyNavigation(false);
    m_table->verticalHeader()->hide();
    m_table->setWordWrap(true);
    m_table->setTextElideMode(Qt::ElideNone);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int c = 1; c < 4; ++c) {
        m_table->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    }
    m_verdict = new QLabel(body);
    m_verdict->setObjectName(QStringLiteral("lblSheetVerdict"));
    m_verdict->setWordWrap(true);
    m_close = new QPushButton(body);
    m_close->setObjectName(QStringLiteral("btnCloseSheet"));
    connect(m_close, &QPushButton::clicked, this, &LabSheetPanel::closeSheetRequested);
    // Read top to bottom: the instructions, the targets, the button.
    QWidget::setTabOrder(m_instructions, m_table);
    QWidget::setTabOrder(m_table, m_close);
    // Tab stays in the window it is in (an exercise, its Trends): F6 moves
    // between them and the panel, as between the panes of a desktop
    // program. Only while the panel is shown.
    new QShortcut(QKeySequence(Qt::Key_F6), this, this, &LabSheetPanel::switchPane,
                  Qt::WindowShortcut);
    layout->addWidget(m_title);
    layout->addWidget(m_instructions, 1);
    layout->addWidget(m_table, 2);
    layout->addWidget(m_verdict);
    layout->addWidget(m_close, 0, Qt::AlignRight);
    setWidget(body);
    SetLanguage();
}

void LabSheetPanel::showSheet(const LabSheet& sheet)
{
    m_sheet = sheet;
    m_grade.reset();
    SetLanguage();
}

void LabSheetPanel::showGrade(const RunGrade& grade)
{
    m_grade = grade;
    fillTable();
}

void LabSheetPanel::clearGrade()
{
    m_grade.reset();
    fillTable();
}

void LabSheetPanel::takeFocus()
{
    QWidget* from = QApplication::focusWidget();
    if (from != nullptr && !isAncestorOf(from)) {
        m_returnTo = from;
    }
    show();
    raise();
    m_instructions->setFocus(Qt::TabFocusReason);
}

void LabSheetPanel::switchPane()
{
    if (!isAncestorOf(QApplication::focusWidget())) {
        takeFocus();
        return;
    }
    if (m_returnTo != nullptr && m_returnTo->isVisible()) {
        m_returnTo->setFocus(Qt::TabFocusReason);
    } else if (auto* main = qobject_cast<QMainWindow*>(parentWidget());
               main != nullptr && main->centralWidget() != nullptr) {
        main->centralWidget()->setFocus(Qt::TabFocusReason);
    }
}

void LabSheetPanel::SetLanguage()
{
    setWindowTitle(LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Lab sheet")));
    m_close->setText(LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Close Sheet")));
    m_instructions->setAccessibleName(
        LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Instructions")));
    m_table->setAccessibleName(LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Targets")));
    m_table->setHorizontalHeaderLabels({LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Figure")),
                                        LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Target")),
                                        LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Run")),
                                        LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "Met"))});
    const char* language = LanguageOf(InstalledLanguage()).code;
    m_title->setText(m_sheet ? QString::fromStdString(m_sheet->title.in(language)) : QString());
    m_instructions->setPlainText(
        m_sheet ? QString::fromStdString(m_sheet->instructions.in(language)) : QString());
    fillTable();
}

void LabSheetPanel::fillTable()
{
    const int rows = m_sheet ? static_cast<int>(m_sheet->targets.size()) : 0;
    m_table->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        const SheetTarget& t = m_sheet->targets[static_cast<std::size_t>(r)];
        const TargetGrade* g = m_grade && r < static_cast<int>(m_grade->targets.size())
                                   ? &m_grade->targets[static_cast<std::size_t>(r)]
                                   : nullptr;
        QString value;
        if (g != nullptr) {
            if (!g->value) {
                value = LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "none"));
            } else if (t.figure == SheetFigure::Stable) {
                value = *g->value != 0 ? LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "yes"))
                                       : LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "no"));
            } else {
                value = Number(*g->value);
            }
        }
        // A symbol and a word as well as the colour: the verdict does not
        // rest on colour alone.
        QString met;
        QString metWords;
        QColor colour = Qt::black;
        if (g != nullptr) {
            met = g->passed ? QStringLiteral("✔") : QStringLiteral("✘");
            metWords = g->passed ? LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "met"))
                                 : LabSheetPanelText(QT_TRANSLATE_NOOP("LabSheet", "not met"));
            colour = g->passed ? QColor(0, 110, 0) : QColor(180, 0, 0);
        }
        const QString cells[] = {TargetName(t, m_sheet->exercise), Limits(t), value, met};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 3) {
                item->setForeground(colour);
                item->setTextAlignment(Qt::AlignCenter);
                item->setToolTip(metWords);
                // A screen reader reads the word, not the symbol's name.
                item->setData(Qt::AccessibleTextRole, metWords);
            }
            m_table->setItem(r, c, item);
        }
    }
    m_table->resizeRowsToContents();

    if (!m_grade) {
        m_verdict->setText(m_sheet
                               ? LabSheetPanelText(QT_TRANSLATE_NOOP(
                                     "LabSheet", "Make a run, or open a run file, to check it."))
                               : QString());
        m_table->setAccessibleDescription(m_verdict->text());
        return;
    }
    m_verdict->setText(Verdict(*m_grade, m_sheet->minRecords));
    // The verdict below the table is read with it.
    m_table->setAccessibleDescription(m_verdict->text());
}

void LabSheetPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        SetLanguage();
    }
    QDockWidget::changeEvent(event);
}

} // namespace velmor
