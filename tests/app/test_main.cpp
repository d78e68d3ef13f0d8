#include "app/application.h"
#include "plot/fonts.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Listing the tests happens without the test environment; no display is
    // needed for that either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    RegisterFontSubstitutions();
    return RUN_ALL_TESTS();
}
