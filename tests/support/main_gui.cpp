#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Real widgets without a display; a caller that wants the virtual X server sets
    // QT_QPA_PLATFORM=xcb itself.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
