#include "render/ShaderSource.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(ShaderSource, PrefixesEveryLineWithANewlineAndAddsNoneAtTheEnd) {
    const struct {
        const char* file;
        const char* source;
    } cases[] =
        {
            {"A\nB\n", "\nA\nB"},         {"A\nB", "\nA\nB"}, {"A\n\nB\n", "\nA\n\nB"},
            {"A\n\n", "\nA\n"},           {"\n", "\n"},       {"", ""},
            {"A\r\nB\r\n", "\nA\r\nB\r"}, // only "\n" delimits; GLSL takes "\r" as white space
        };
    for (const auto& c : cases) {
        std::istringstream in(c.file);
        EXPECT_EQ(assembleShaderSource(in), c.source) << c.file;
    }
}
