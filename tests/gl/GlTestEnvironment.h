#pragma once
#include "GlContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Opens the GL context once for the whole test program; without a display
// to open it on, every test fails with the reason.
class GlTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override { context = std::make_unique<GlContext>(); }
    void TearDown() override { context.reset(); }
    static bool ready() { return context != nullptr && context->ready(); }
    static std::string failure() { return context ? context->failure() : "no context"; }

private:
    static inline std::unique_ptr<GlContext> context;
};

#define REQUIRE_GL()                                                                               \
    do {                                                                                           \
        if (!GlTestEnvironment::ready()) {                                                         \
            FAIL() << "no GL 3.3 core context: " << GlTestEnvironment::failure();                  \
        }                                                                                          \
        drainGlErrors();                                                                           \
    } while (false)
