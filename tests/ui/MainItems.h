// The main window's menu items, toolbar buttons and hidden controls, found
// by the object names the program gives them.
#pragma once

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QObject>
#include <QTimer>
#include <QToolButton>

namespace velmor::test {

// The child of `root` named `name`; a name the program does not give ends
// the test at once.
template <typename T = QAction> T* Item(const QObject& root, const char* name)
{
    T* found = root.findChild<T*>(QLatin1String(name));
    if (found == nullptr) {
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    }
    return found;
}

} // namespace velmor::test
