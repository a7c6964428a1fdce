#include "ShowEnvironment.h"

#include <SDL.h>

void ShowEnvironment::SetUp() {
    SDL_setenv("SDL_AUDIODRIVER", "dummy", 1);
    app = std::make_unique<IntroApp>();
    testing::internal::CaptureStdout();
    const int result = app->init();
    const std::string output = testing::internal::GetCapturedStdout();
    failure = result == 0 ? "" : "start-up returned " + std::to_string(result) + "\n" + output;
}

void drainGlErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new ShowEnvironment);
    return RUN_ALL_TESTS();
}
