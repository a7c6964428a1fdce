#include "app/ShowScript.h"

#include "base/ShowConstants.h"
#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const std::string* const none = nullptr;

float justAfter(float t) {
    return std::nextafter(t, 100.0f);
}

} // namespace

TEST(ShowScript, PicksTheTextAndPlacementOfEachMoment) {
    // s = sin(8t) is 0 at 8t = 26 pi, 1 at 26.5 pi and -1 at 27.5 pi.
    const float atRest = static_cast<float>(26.0 * pi / 8.0);
    const float narrowest = static_cast<float>((0.5 * pi + 26.0 * pi) / 8.0);
    const float widest = static_cast<float>((1.5 * pi + 26.0 * pi) / 8.0);
    const float a = greetingOffsets[0];
    const struct {
        float t;
        const std::string* text;
        float scaleDivX;
        float penX;
        float baselineY;
    } cases[] = {
        {-1.0f, &openingText, 40.0f, 9.0f, -3.0f},
        {1.0f, &openingText, 40.0f, -7.0f, -3.0f},
        {10.0f, none, 0, 0, 0},
        {narrowest, &greetingNames[0], 60.0f, 0.5f * a, 0.0f},
        {widest, &greetingNames[0], 20.0f, 1.5f * a, 0.0f},
        {18.0f, none, 0, 0, 0},
        {19.0f, &closingText, 40.0f, 0.0f, -3.0f},
        {26.99975f, &closingText, 40.0f, (19.0f - 26.99975f) * 8.0f, -3.0f},
    };
    for (const auto& c : cases) {
        const std::optional<TextItem> item = textItemAt(c.t);
        ASSERT_EQ(item.has_value(), c.text != nullptr) << "t " << c.t;
        if (item) {
            EXPECT_EQ(item->text, c.text) << "t " << c.t;
            EXPECT_EQ(item->scaleDivX, c.scaleDivX) << "t " << c.t;
            EXPECT_EQ(item->scaleDivY, 30.0f) << "t " << c.t;
            EXPECT_EQ(item->penX, c.penX) << "t " << c.t;
            EXPECT_EQ(item->baselineY, c.baselineY) << "t " << c.t;
        }
    }
    EXPECT_NEAR(textItemAt(atRest)->scaleDivX, 40.0f, 1e-4f);
    EXPECT_NEAR(textItemAt(atRest)->penX, a, 1e-5f);
}

TEST(ShowScript, GreetsEachNameForOneUnitInOrder) {
    for (float t = justAfter(10.0f); t < 18.0f; t += 0.0009765625f) {
        const std::optional<TextItem> item = textItemAt(t);
        ASSERT_TRUE(item) << t;
        ASSERT_EQ(item->text, &greetingNames[static_cast<int>(t - 10.0f)]) << t;
        ASSERT_GE(item->scaleDivX, 20.0f) << t;
        ASSERT_LE(item->scaleDivX, 60.0f) << t;
    }
}

TEST(ShowTexts, UseOnlyCharactersTheFontDraws) {
    std::vector<const std::string*> all{&openingText, &closingText};
    for (const std::string& name : greetingNames) {
        all.push_back(&name);
    }
    for (const std::string* text : all) {
        for (const char c : *text) {
            EXPECT_TRUE(c >= 32 && c <= 126 && glyphForByte(fontRecord, c)) << "in " << *text;
        }
    }
}

TEST(ShowTexts, GreetingOffsetsSitJustLeftOfCentringEachName) {
    for (int i = 0; i < greetingCount; ++i) {
        const float width = layoutText(fontRecord, greetingNames[i], modelUnitsPerPixel(40.0f),
                                       0.0f, 0.0f, 0.0f, [](const GlyphQuad&) {});
        const float halfWidth = width / 2.0f;
        const float leftOfCentre = -halfWidth - greetingOffsets[i];
        EXPECT_GE(leftOfCentre, 0.04f) << greetingNames[i];
        EXPECT_LE(leftOfCentre, 0.31f) << greetingNames[i];
    }
}
