// The fixture every test uses: a fresh simulated runtime, and no simulated
// object left alive when the test ends.
#pragma once

#include "SimRuntime.h"

#include <gtest/gtest.h>
#include <objbase.h>

class RuntimeTest : public testing::Test {
protected:
    void SetUp() override { sim::Reset(); }
    void TearDown() override {
        // Completions the runtime still raises on its threads hold objects until they end.
        EXPECT_TRUE(sim::WaitForRuntimeIdle()) << "runtime threads still busy";
        EXPECT_EQ(sim::LiveObjects(), expectedSurvivors_) << "simulated objects leaked";
    }

    // Objects that a test deliberately leaves to the end of the process.
    long expectedSurvivors_ = 0;
};

// The host's UI thread: a single-threaded apartment for the test's thread.
class ApartmentTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        initialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    void TearDown() override {
        RuntimeTest::TearDown();
        if (initialized_) CoUninitialize();
    }

private:
    bool initialized_ = false;
};
