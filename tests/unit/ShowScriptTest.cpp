#include "app/ShowScript.h"

#include "base/ShowConstants.h"
#include "support/TextWidth.h"
#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int greetingIndex(const TextItem& item) {
    for (int i = 0; i < 8; ++i) {
        if (item.text == &greetingNames[i]) {
            return i;
        }
    }
    return -1;
}

// The visible stretch of the scroll line y = -3 runs from about -4.32 to 4.32.
constexpr float visibleEdge = 4.32f;

} // namespace

TEST(ShowScript, NoTextAtExactlyTenAndEighteen) {
    EXPECT_FALSE(textItemAt(10.0f).has_value());
    EXPECT_FALSE(textItemAt(18.0f).has_value());
}

TEST(ShowScript, OpeningScrollStartsAtNineAndMovesLeft) {
    const auto first = textItemAt(-1.0f);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->text, &openingText);
    EXPECT_EQ(first->penX, 9.0f);
    EXPECT_EQ(first->scaleDivX, 40.0f);
    EXPECT_EQ(first->scaleDivY, 30.0f);
    EXPECT_EQ(first->baselineY, -3.0f);
    EXPECT_EQ(textItemAt(1.0f)->penX, -7.0f);
    EXPECT_EQ(textItemAt(std::nextafter(10.0f, 0.0f))->text, &openingText);
}

TEST(ShowScript, GreetingsShowEachNameForOneUnitInOrder) {
    EXPECT_EQ(greetingIndex(*textItemAt(std::nextafter(10.0f, 11.0f))), 0);
    EXPECT_EQ(greetingIndex(*textItemAt(std::nextafter(18.0f, 0.0f))), 7);
    for (float t = std::nextafter(10.0f, 11.0f); t < 18.0f; t += 0.0009765625f) {
        const auto item = textItemAt(t);
        ASSERT_TRUE(item);
        const int index = greetingIndex(*item);
        ASSERT_EQ(index, static_cast<int>(t - 10.0f)) << t;
        ASSERT_EQ(item->baselineY, 0.0f);
        ASSERT_EQ(item->scaleDivY, 30.0f);
        ASSERT_GE(item->scaleDivX, 20.0f);
        ASSERT_LE(item->scaleDivX, 60.0f);
    }
}

TEST(ShowScript, GreetingPulseKeepsTheNameRoughlyCentred) {
    // 8t = pi/2 + 26 pi gives s = 1; 8t = 3 pi/2 + 26 pi gives s = -1.
    const float widest = static_cast<float>((1.5 * pi + 26.0 * pi) / 8.0);
    const float narrowest = static_cast<float>((0.5 * pi + 26.0 * pi) / 8.0);
    const float unscaled = static_cast<float>(26.0 * pi / 8.0);
    const float a = greetingOffsets[0];
    const auto narrow = textItemAt(narrowest);
    EXPECT_EQ(narrow->scaleDivX, 60.0f);
    EXPECT_EQ(narrow->penX, 0.5f * a);
    const auto wide = textItemAt(widest);
    EXPECT_EQ(wide->scaleDivX, 20.0f);
    EXPECT_EQ(wide->penX, 1.5f * a);
    const auto middle = textItemAt(unscaled);
    EXPECT_NEAR(middle->scaleDivX, 40.0f, 1e-4f);
    EXPECT_NEAR(middle->penX, a, 1e-5f);
}

TEST(ShowScript, ClosingScrollRunsFromEightToTheEndOfTheCycle) {
    const auto early = textItemAt(std::nextafter(18.0f, 19.0f));
    ASSERT_TRUE(early);
    EXPECT_EQ(early->text, &closingText);
    EXPECT_LT(early->penX, 8.0f);
    EXPECT_GT(early->penX, 7.99f);
    EXPECT_EQ(textItemAt(19.0f)->penX, 0.0f);
    EXPECT_EQ(textItemAt(26.99975f)->baselineY, -3.0f);
}

TEST(ShowTexts, HaveTheirLengthsAndOnlyCharactersTheFontDraws) {
    EXPECT_EQ(openingText.size(), 250u);
    EXPECT_EQ(closingText.size(), 145u);
    const std::size_t nameLengths[8] = {11, 3, 6, 3, 5, 8, 10, 3};
    std::vector<const std::string*> all{&openingText, &closingText};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(greetingNames[i].size(), nameLengths[i]) << greetingNames[i];
        all.push_back(&greetingNames[i]);
    }
    for (const std::string* text : all) {
        for (char c : *text) {
            EXPECT_TRUE(c >= 32 && c <= 126) << "in " << *text;
            EXPECT_NE(glyphForByte(fontRecord, c), nullptr) << "in " << *text;
        }
    }
}

TEST(ShowTexts, ScrollsCrossTheWholeVisibleLineWithinTheirPhases) {
    const float openingWidth = textWidth(fontRecord, openingText, 40.0f);
    const float closingWidth = textWidth(fontRecord, closingText, 40.0f);
    EXPECT_LE(openingWidth, 74.0f);
    EXPECT_LE(closingWidth, 59.0f);
    // Enter from beyond the right edge, gone past the left edge at the phase's end.
    EXPECT_GT(textItemAt(-1.0f)->penX, visibleEdge);
    EXPECT_LT(textItemAt(std::nextafter(10.0f, 0.0f))->penX + openingWidth, -visibleEdge);
    EXPECT_GT(textItemAt(std::nextafter(18.0f, 19.0f))->penX, visibleEdge);
    EXPECT_LT(textItemAt(26.99975f)->penX + closingWidth, -visibleEdge);
}

TEST(ShowTexts, GreetingOffsetsSitJustLeftOfCentringEachName) {
    for (int i = 0; i < 8; ++i) {
        const float halfWidth = textWidth(fontRecord, greetingNames[i], 40.0f) / 2.0f;
        const float leftOfCentre = -halfWidth - greetingOffsets[i];
        EXPECT_GE(leftOfCentre, 0.04f) << greetingNames[i];
        EXPECT_LE(leftOfCentre, 0.31f) << greetingNames[i];
    }
}
