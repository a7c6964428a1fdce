#include "render/SceneTransforms.h"

#include "render/Viewport.h"

#include <gtest/gtest.h>

// The whole camera in one product, by rows as a person reads a matrix (GLM
// indexes [column][row]). A field of view of 45 degrees instead of radians,
// another eye or target, or another product order all move these values.
TEST(SceneTransforms, ModelViewProjectionIsTheFixedCamera) {
    const float rows[4][4] = {{1.3444432f, 0, 0, 0},
                              {0, 1.6033421f, -0.80167103f, 0},
                              {0, -0.45624822f, -0.91249645f, 4.3604622f},
                              {0, -0.44721359f, -0.89442718f, 4.4721360f}};
    const glm::mat4 mvp = modelViewProjection(cameraProjection(), cameraView(), textModel());
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            EXPECT_NEAR(mvp[column][row], rows[row][column], 2e-6f)
                << "row " << row << " column " << column;
        }
    }
}

// The picture keeps its 4:3 shape in any drawable: the largest centred
// rectangle, whole pixels, nothing for an empty drawable.
TEST(SceneTransforms, ViewportIsTheLargestCentredFourByThree) {
    struct Case {
        int width, height;
        ViewportRect expected;
    };
    const Case cases[] = {
        {800, 600, {0, 0, 800, 600}},       // the show's own size
        {1920, 1080, {240, 0, 1440, 1080}}, // wider: bars left and right
        {3840, 2160, {480, 0, 2880, 2160}},
        {800, 800, {0, 100, 800, 600}},  // taller: bars above and below
        {1001, 600, {100, 0, 800, 600}}, // odd margin: the spare pixel on the right
        {401, 301, {0, 0, 401, 301}},    // 301 x 4/3 = 401.33: rounds to the whole width
        {1009, 757, {0, 0, 1009, 757}},  // 757 x 4/3 = 1009.33
        {1, 1, {0, 0, 1, 1}},            // one pixel stays one pixel
        {0, 600, {}},
        {800, -1, {}},
    };
    for (const Case& c : cases) {
        const ViewportRect got = fitViewport(c.width, c.height);
        EXPECT_EQ(got, c.expected) << c.width << "x" << c.height << " gave " << got.x << ","
                                   << got.y << " " << got.width << "x" << got.height;
    }
}
