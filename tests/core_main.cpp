#include <QCoreApplication>
#include <gtest/gtest.h>

// Tests of rules, tables and file formats: no screen, no widgets.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
