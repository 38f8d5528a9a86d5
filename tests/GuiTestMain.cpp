#include <cstdlib>

#include <QApplication>
#include <gtest/gtest.h>

#include "workbench/StartUp.h"

// One QApplication for every GUI test, set up as the program sets itself up.
int main(int argc, char** argv)
{
    // Tests run without a display unless the caller asks for one.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    ConfigureApplication(app);
    return RUN_ALL_TESTS();
}
