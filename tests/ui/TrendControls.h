// The Trends window's controls by their names (its object names), for the
// window tests: the window keeps them to itself.
#pragma once

#include "ui/trends/TfrmGraph.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velmor::test {

template <typename T> T* Control(const TfrmGraph& graph, const char* name)
{
    return graph.findChild<T*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

inline QCheckBox* TraceBox(const TfrmGraph& graph, const char* name)
{
    return Control<QCheckBox>(graph, name);
}
inline QPushButton* Button(const TfrmGraph& graph, const char* name)
{
    return Control<QPushButton>(graph, name);
}
inline QLineEdit* Edit(const TfrmGraph& graph, const char* name)
{
    return Control<QLineEdit>(graph, name);
}
inline QLabel* Label(const TfrmGraph& graph, const char* name)
{
    return Control<QLabel>(graph, name);
}

} // namespace velmor::test
