#include "app/DataPath.h"
#include "app/IntroApp.h"

#include <gtest/gtest.h>

TEST(DataPath, AppendsTheFileNameToTheBaseDirectoryAsItIs) {
    EXPECT_EQ(joinDataPath("/opt/show/", "/vert.vsh"), "/opt/show//vert.vsh");
    EXPECT_EQ(joinDataPath("C:\\show\\", "/dancing.ogg"), "C:\\show\\/dancing.ogg");
}

TEST(DataPath, NoBaseDirectoryMeansTheCurrentDirectory) {
    EXPECT_EQ(joinDataPath(nullptr, "/heart.fsh"), "./heart.fsh");
}

namespace {
SDL_Event keyEvent(Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.sym = key;
    event.key.repeat = repeat;
    return event;
}
} // namespace

TEST(QuitEvents, EscapeKeyDownAndQuitEndTheShow) {
    EXPECT_TRUE(endsShow(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE)));
    EXPECT_TRUE(endsShow(keyEvent(SDL_KEYDOWN, SDLK_ESCAPE, 1)));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_TRUE(endsShow(quit));
}

TEST(QuitEvents, OtherEventsDoNot) {
    EXPECT_FALSE(endsShow(keyEvent(SDL_KEYUP, SDLK_ESCAPE)));
    EXPECT_FALSE(endsShow(keyEvent(SDL_KEYDOWN, SDLK_SPACE)));
    EXPECT_FALSE(endsShow(keyEvent(SDL_KEYDOWN, SDLK_q)));
    SDL_Event window{};
    window.type = SDL_WINDOWEVENT;
    window.window.event = SDL_WINDOWEVENT_CLOSE;
    EXPECT_FALSE(endsShow(window));
}

TEST(IntroAppObject, StartsEmptyWithIdentityCamera) {
    const IntroApp app;
    EXPECT_FALSE(app.running);
    EXPECT_EQ(app.window, nullptr);
    EXPECT_EQ(app.textProgram, nullptr);
    EXPECT_EQ(app.backgroundProgram, nullptr);
    EXPECT_EQ(app.quad, nullptr);
    EXPECT_EQ(app.decoder, nullptr);
    EXPECT_EQ(app.view, glm::mat4(1.0f));
    EXPECT_EQ(app.projection, glm::mat4(1.0f));
    EXPECT_EQ(app.showClock, 0.0f);
}
