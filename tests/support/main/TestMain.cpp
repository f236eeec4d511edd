// The main of every test executable: a Qt application object (a widget one for the widget
// tests, a Gui one for the painting tests), then GoogleTest.
#include <gtest/gtest.h>

#if defined(PANELO2_GUI_TEST)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(PANELO2_PAINT_TEST)
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#if defined(PANELO2_GUI_TEST) || defined(PANELO2_PAINT_TEST)
    // Test discovery at build time runs without CTest's environment: never look for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
