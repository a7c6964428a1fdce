#include "render/ShaderSource.h"

#include <gtest/gtest.h>

#include <sstream>

// The desktop puts a newline before every line and none at the end; the
// browser's variant is the same text starting with the first line.
TEST(ShaderSource, JoinsLinesForEachPlatform) {
    const struct {
        const char* file;
        const char* desktop;
        const char* web;
    } cases[] = {
        {"A\nB\n", "\nA\nB", "A\nB"},
        {"A\nB", "\nA\nB", "A\nB"},
        {"A\n\nB\n", "\nA\n\nB", "A\n\nB"},
        {"A\n\n", "\nA\n", "A\n"},
        {"\n", "\n", ""},
        {"", "", ""},
        {"A\r\nB\r\n", "\nA\r\nB\r",
         "A\r\nB\r"}, // only "\n" delimits; GLSL takes "\r" as white space
    };
    for (const auto& c : cases) {
        std::istringstream desktopIn(c.file);
        EXPECT_EQ(assembleShaderSource(desktopIn), c.desktop) << c.file;
        std::istringstream webIn(c.file);
        EXPECT_EQ(assembleShaderSourceFromFirstLine(webIn), c.web) << c.file;
    }
}
