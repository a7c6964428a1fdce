#pragma once
// The fixed camera through which all text is seen. Matrices are GLM's
// column-major single-precision mat4, handed to GL untransposed.
#include <glm/mat4x4.hpp>

// Right-handed look-at from (0, 2, 0) towards (0, 0, -4), y up.
glm::mat4 cameraView();

// Perspective with a field-of-view argument of 45 taken as radians (the
// show's framing depends on it), aspect 4/3, near 0.1, far 10.
glm::mat4 cameraProjection();

// Places the text plane's origin at the point the camera looks at.
glm::mat4 textModel();

// projection x view x model, formed as (projection x view) x model.
glm::mat4 modelViewProjection(const glm::mat4& projection, const glm::mat4& view,
                              const glm::mat4& model);
