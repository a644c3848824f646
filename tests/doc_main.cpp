#include <QGuiApplication>
#include <gtest/gtest.h>

// Tests of documents and printing: fonts, rich text and page devices need a
// QGuiApplication, which runs on the offscreen platform without a screen.
int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
