// The keyboard's way through a window for the window tests: Tab from the
// first stop must visit the stops in the order given.
#pragma once

#include "ui/common/PanelView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>
#include <QWidget>

#include <vector>

namespace velmor::test {

inline QString NameOf(const QWidget* w)
{
    if (w == nullptr) {
        return QStringLiteral("(none)");
    }
    if (const auto* item = qobject_cast<const PanelItem*>(w)) {
        return QStringLiteral("item '%1' at %2,%3").arg(item->label()).arg(w->x()).arg(w->y());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return QStringLiteral("%1 '%2' at %3,%4")
            .arg(QLatin1String(w->metaObject()->className()), button->text())
            .arg(w->x())
            .arg(w->y());
    }
    return QStringLiteral("%1 %2").arg(QLatin1String(w->metaObject()->className()),
                                       w->objectName());
}

// A window's whole chain comes back to its first stop after the last; a
// part of a larger window's chain goes on elsewhere.
enum class Chain { Round, Part };

// Tab from the first stop visits `order` (and, for a round chain, comes back
// to the first); Shift+Tab from the last goes back to the one before.
// Returns a failure text or nothing.
inline QString FollowChain(const std::vector<QWidget*>& order, Chain chain = Chain::Round)
{
    order.front()->setFocus(Qt::TabFocusReason);
    if (QApplication::focusWidget() != order.front()) {
        return QStringLiteral("the first stop takes no focus: ") + NameOf(order.front());
    }
    const std::size_t stops = chain == Chain::Round ? order.size() : order.size() - 1;
    for (std::size_t k = 1; k <= stops; ++k) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* expected = order[k % order.size()];
        if (QApplication::focusWidget() != expected) {
            return QStringLiteral("stop %1: %2 where %3 was expected")
                .arg(k)
                .arg(NameOf(QApplication::focusWidget()), NameOf(expected));
        }
    }
    QWidget* back = chain == Chain::Round ? order.back() : order[order.size() - 2];
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    if (QApplication::focusWidget() != back) {
        return QStringLiteral("Shift+Tab went to ") + NameOf(QApplication::focusWidget());
    }
    return {};
}

} // namespace velmor::test
