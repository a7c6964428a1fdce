#include "render/SceneTransforms.h"

#include "base/ShowConstants.h"

#include <glm/ext/matrix_clip_space.hpp>
#include <glm/ext/matrix_transform.hpp>

glm::mat4 cameraView() {
    return glm::lookAtRH(glm::vec3(0.0f, 2.0f, 0.0f), glm::vec3(0.0f, 0.0f, -4.0f),
                         glm::vec3(0.0f, 1.0f, 0.0f));
}

glm::mat4 cameraProjection() {
    const float fieldOfView = 45.0f;
    const float aspect = static_cast<float>(windowWidth) / static_cast<float>(windowHeight);
    return glm::perspectiveRH_NO(fieldOfView, aspect, 0.1f, 10.0f);
}

glm::mat4 textModel() {
    return glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -4.0f));
}

glm::mat4 modelViewProjection(const glm::mat4& projection, const glm::mat4& view,
                              const glm::mat4& model) {
    return (projection * view) * model;
}
