// The fixture of the in-process tests: a real main window, opened for each
// test, with a fresh notes folder named after the test, and the driver's
// helpers (Lookup, Press, Note, Editor, Answer, the Note Browser's list).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/wine/main_window_driver.h"

class MainWindowTest : public testing::Test, public MainWindowDriver {
protected:
    void SetUp() override {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(test->test_suite_name()) + "." + test->name();
        for (char& c : name) {
            c = c == '/' ? '-' : c;  // parameterised names
        }
        ASSERT_TRUE(Open(name));
    }
    void TearDown() override { Close(); }
};
