#include "render/SceneTransforms.h"

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
