#pragma once
// Flash safety of a run of frames, by the general-flash and red-flash
// definitions that broadcasters and the web's accessibility guidelines share:
//
// - A transition is a change of relative luminance of at least a tenth of the
//   maximum, where the darker of its two states is below 0.8; a red
//   transition is a change of (R - G - B) x 320 (linear R, G, B, negative
//   values taken as 0) of more than 20 to or from a saturated red, a state
//   with R / (R + G + B) of at least 0.8.
// - A flash is a pair of opposing transitions.
// - More than three flashes (of either kind) in any one second over more
//   than a quarter of any 10-degree field of view fails.
//
// The picture is looked at in cells of a few pixels, each followed over time
// on its own; a field is the window of cells that a 10-degree view covers,
// anywhere on the screen. Whatever changes a spot's light counts, moving
// edges such as letters passing over it included.
#include <cstdint>
#include <vector>

// Where a figure peaked: its value and the frame at which it did.
struct FlashPeak {
    double value = 0.0;
    int frame = -1;
};

// What a run of frames reached. Rates are in flashes per second: the
// transitions within the second that ends at a frame, halved.
struct FlashFigures {
    int frames = 0;
    // The most flashes in one second that more than a quarter of some field
    // reached: the guidelines allow three.
    FlashPeak generalOverQuarterField;
    FlashPeak redOverQuarterField;
    // The largest share of the whole screen that made at least one flash
    // within one second: where the show flashes at all, at any rate.
    FlashPeak generalScreenShare;
    FlashPeak redScreenShare;
    // The most flashes in one second at any one spot.
    FlashPeak generalBusiestSpot;
    FlashPeak redBusiestSpot;

    bool passes() const;
};

// The viewing assumption: the show's audience sees the picture from about
// three picture widths away, as from the middle of a hall in front of a big
// screen or from a sofa in front of a television, so that the picture is
// about 20 degrees wide and a 10-degree field is half its width and half its
// height (400 x 300 pixels of 800 x 600; a quarter of it is a sixteenth of
// the picture).
constexpr int fieldsAcrossPicture = 2;

// Follows one quantity of one spot and reports its transitions: the swings
// between turning points of at least `step`, each once, with the value that
// makes it reach `step`. A transition counts when either of its ends
// qualifies (for the general test: lies below 0.8; for the red test: is a
// saturated red).
class TransitionTracker {
public:
    explicit TransitionTracker(float step) : minimumChange(step) {}

    // Takes the value of the next frame; true when a counted transition
    // completes with it.
    bool update(float value, bool qualifies);

private:
    struct State {
        float value;
        bool qualifies;
    };
    float minimumChange;
    bool started = false;
    float direction = 0.0f; // +1 rising, -1 falling, 0 before the first transition
    bool counted = false;   // the current swing has been reported
    State pivot{};          // where the current swing started
    State extreme{};        // how far it has gone
    State low{}, high{};    // before the first transition: the extremes so far
};

// Follows RGBA frames of one size and frame rate, in order.
class FlashAnalyser {
public:
    FlashAnalyser(int width, int height, int framesPerSecond);

    // One frame: 8-bit sRGB red, green, blue and alpha per pixel, rows of
    // `width` pixels, in either vertical order.
    void addFrame(const std::uint8_t* rgba);

    const FlashFigures& figures() const { return results; }

private:
    // One of the two tests, general or red.
    struct Test {
        std::vector<TransitionTracker> spots;
        // Per cell, the transitions within the last second, and which of that
        // second's frames brought one (a ring of frames x cells).
        std::vector<int> perSecond;
        std::vector<std::uint8_t> history;
        int worstOverQuarterField = 0; // transitions
    };

    void follow(Test& test, const std::vector<float>& values, const std::vector<bool>& qualifies,
                FlashPeak& overQuarter, FlashPeak& screenShare, FlashPeak& busiestSpot);
    // Whether more than a quarter of some field has at least `transitions`
    // within the last second.
    bool quarterOfAFieldReaches(const std::vector<int>& perSecond, int transitions);

    int frameWidth, frameRate;
    int cellsAcross, cellsDown;
    int fieldAcross, fieldDown; // in cells
    int frameIndex = 0;
    std::vector<float> linearFromCode; // sRGB code to linear light
    std::vector<float> sums;           // per cell, linear red, green and blue added up
    std::vector<float> luminance, redness;
    std::vector<bool> darkEnough, saturatedRed;
    std::vector<int> areaTable; // summed-area table of the cells reaching a count
    Test general, red;
    FlashFigures results;
};
