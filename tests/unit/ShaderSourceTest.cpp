#include "render/ShaderSource.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {
std::string assembled(const std::string& fileText) {
    std::istringstream in(fileText);
    return assembleShaderSource(in);
}
} // namespace

TEST(ShaderSource, PrefixesEveryLineWithANewline) {
    EXPECT_EQ(assembled("A\nB\n"), "\nA\nB");
    EXPECT_EQ(assembled("A\nB"), "\nA\nB");
    EXPECT_EQ(assembled("#version 330 core\nvoid main() {}\n"),
              "\n#version 330 core\nvoid main() {}");
}

TEST(ShaderSource, KeepsBlankLinesButAddsNoTrailingOne) {
    EXPECT_EQ(assembled("A\n\nB\n"), "\nA\n\nB");
    EXPECT_EQ(assembled("A\n\n"), "\nA\n");
    EXPECT_EQ(assembled("\n"), "\n");
}

TEST(ShaderSource, EmptyFileGivesEmptyText) {
    EXPECT_EQ(assembled(""), "");
}

TEST(ShaderSource, CarriageReturnsStayForTheCompiler) {
    // Only "\n" delimits; GLSL treats the remaining "\r" as white space.
    EXPECT_EQ(assembled("A\r\nB\r\n"), "\nA\r\nB\r");
}
