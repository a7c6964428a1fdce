#pragma once
// The GL test program starts the whole show once, in-process, with SDL's
// dummy audio driver: its full-screen window and OpenGL 3.3 core context
// stay current on the main thread for every test. It needs a display
// (scripts/test provides Xvfb when there is none) and the data files beside
// the program; without them, every test fails with the reason.
#include "app/IntroApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class ShowEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override { app.reset(); }

    static inline std::unique_ptr<IntroApp> app;
    // Why start-up failed; empty when it succeeded.
    static inline std::string failure = "not set up";
};

// Clears every pending GL error so a test starts from a clean slate.
void drainGlErrors();

#define REQUIRE_SHOW()                                                                             \
    do {                                                                                           \
        if (!ShowEnvironment::failure.empty()) {                                                   \
            FAIL() << "the show did not start: " << ShowEnvironment::failure;                      \
        }                                                                                          \
        drainGlErrors();                                                                           \
    } while (false)
