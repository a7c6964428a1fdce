#include "render/SceneTransforms.h"

#include <glm/vec4.hpp>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Expected values by rows, as a person reads a matrix; GLM indexes [column][row].
void expectRows(const glm::mat4& m, const float (&rows)[4][4], float tolerance) {
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(m[column][row], rows[row][column], tolerance)
                << "row " << row << " column " << column;
        }
    }
}

} // namespace

TEST(SceneTransforms, ViewLooksDownFromTwoAboveTheOrigin) {
    const float rows[4][4] = {{1, 0, 0, 0},
                              {0, 0.89442718f, -0.44721359f, -1.7888544f},
                              {0, 0.44721359f, 0.89442718f, -0.89442718f},
                              {0, 0, 0, 1}};
    expectRows(cameraView(), rows, 1e-7f);
}

TEST(SceneTransforms, ProjectionTakesFortyFiveAsRadians) {
    const glm::mat4 p = cameraProjection();
    EXPECT_EQ(bitsOf(p[0][0]), 0x3FAC16B7u);
    EXPECT_EQ(bitsOf(p[1][1]), 0x3FE5739Fu);
    EXPECT_EQ(bitsOf(p[2][2]), 0xBF8295FBu);
    EXPECT_EQ(p[2][3], -1.0f);
    EXPECT_EQ(bitsOf(p[3][2]), 0xBE4EDE63u);
    int nonZero = 0;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            nonZero += p[c][r] != 0.0f;
        }
    }
    EXPECT_EQ(nonZero, 5);
    // Degrees would give 1.8106601 and 2.4142137: a larger picture.
    EXPECT_NE(p[0][0], 1.8106601f);
}

TEST(SceneTransforms, ProductMatchesTheFixedCamera) {
    const float rows[4][4] = {{1.3444432f, 0, 0, 0},
                              {0, 1.6033421f, -0.80167103f, 0},
                              {0, -0.45624822f, -0.91249645f, 4.3604622f},
                              {0, -0.44721359f, -0.89442718f, 4.4721360f}};
    const glm::mat4 mvp = modelViewProjection(cameraProjection(), cameraView(), textModel());
    expectRows(mvp, rows, 2e-6f);
}

TEST(SceneTransforms, TextPlaneLandsWhereTheShowExpects) {
    const glm::mat4 mvp = modelViewProjection(cameraProjection(), cameraView(), textModel());
    const glm::vec4 centre = mvp * glm::vec4(0, 0, 0, 1);
    EXPECT_NEAR(centre.x / centre.w, 0.0f, 1e-6f);
    EXPECT_NEAR(centre.y / centre.w, 0.0f, 1e-6f);
    EXPECT_NEAR(centre.z / centre.w, 0.975f, 1e-3f);

    // The scroll line y = -3 sits about 52 rows above the bottom of 600.
    const glm::vec4 scroll = mvp * glm::vec4(1, -3, 0, 1);
    EXPECT_NEAR(scroll.x / scroll.w, 0.2313f, 1e-4f);
    EXPECT_NEAR(scroll.y / scroll.w, -0.8273f, 1e-4f);
    EXPECT_NEAR((scroll.y / scroll.w + 1.0f) * 300.0f, 52.0f, 0.5f);
}
