#include "app/DataPath.h"
#include "app/IntroApp.h"

#include <gtest/gtest.h>

TEST(DataPath, AppendsTheFileNameToTheBaseDirectoryAsItIs) {
    EXPECT_EQ(joinDataPath("/opt/show/", "/vert.vsh"), "/opt/show//vert.vsh");
    EXPECT_EQ(joinDataPath("C:\\show\\", "/dancing.ogg"), "C:\\show\\/dancing.ogg");
    EXPECT_EQ(joinDataPath(nullptr, "/heart.fsh"), "./heart.fsh"); // the current directory
}

TEST(QuitEvents, EscapeKeyDownAndQuitEndTheShowAndNothingElse) {
    const auto ends = [](Uint32 type, SDL_Keycode key, Uint8 repeat = 0) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = key;
        event.key.repeat = repeat;
        return endsShow(event);
    };
    EXPECT_TRUE(ends(SDL_KEYDOWN, SDLK_ESCAPE));
    EXPECT_TRUE(ends(SDL_KEYDOWN, SDLK_ESCAPE, 1)); // auto-repeat
    EXPECT_TRUE(ends(SDL_QUIT, 0));
    EXPECT_FALSE(ends(SDL_KEYUP, SDLK_ESCAPE));
    EXPECT_FALSE(ends(SDL_KEYDOWN, SDLK_SPACE));
    EXPECT_FALSE(ends(SDL_KEYDOWN, SDLK_q));
    EXPECT_FALSE(ends(SDL_WINDOWEVENT, SDLK_ESCAPE));
}

// The seven subsystems and not the sensors: known when the suite compiles.
static_assert(showSubsystems == 0x7231u);
