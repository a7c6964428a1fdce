#pragma once
#include "GlContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Opens the GL context once for the whole test program; tests skip with the
// reason when there is no display to open it on.
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

// Writes `text` to a fresh file in a per-process temporary directory and
// returns its path.
std::string writeTempFile(const std::string& name, const std::string& text);
