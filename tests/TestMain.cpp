#include "SimRuntime.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Before any test captures a COM context (a no-op without tavlet.dll).
    sim::InstallContextStandIn();
    return RUN_ALL_TESTS();
}
