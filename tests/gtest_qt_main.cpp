// main() for GoogleTest executables that need a QApplication (widgets,
// serial ports, timers). Message boxes are scripted for every test.
#include <QApplication>
#include <gtest/gtest.h>

#include "messages.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                      : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    zv::Messages::setScripted(true);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
