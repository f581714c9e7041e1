// Registration of a window test class with the runner of its area (see
// CMakeLists.txt here): every area is one executable whose main runs the
// class named first on its command line, so that the build links a few
// runners instead of one program per class while CTest still runs, and
// names, each class on its own. The build includes this header in every
// test file.
//
//     VELMOR_TEST_MAIN(FooTest, shell)
//
// takes the place of QTEST_MAIN(FooTest) and does what it does (an
// application object, 96 dpi fonts, the class's slots run by QTest::qExec).
// A class that needs a main of its own (child processes, set-up before the
// application object) names it:
//
//     int FooMain(int argc, char** argv); // argv without the class name
//     VELMOR_TEST_MAIN_FUNCTION(FooTest, shell, FooMain)
#pragma once

#include <QApplication>
#include <QtTest>

namespace velmor::test {

using TestEntry = int (*)(int argc, char** argv);

// Adds `entry` under `name` to this runner; true, so that a static can hold it.
bool RegisterTest(const char* name, TestEntry entry);

template <typename TestClass> int RunTestClass(int argc, char** argv)
{
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmor::test

#define VELMOR_TEST_MAIN_FUNCTION(TestClass, area, function)                                       \
    [[maybe_unused]] static const bool velmorRegistered##TestClass =                               \
        ::velmor::test::RegisterTest(#TestClass, function);

#define VELMOR_TEST_MAIN(TestClass, area)                                                          \
    VELMOR_TEST_MAIN_FUNCTION(TestClass, area, ::velmor::test::RunTestClass<TestClass>)
