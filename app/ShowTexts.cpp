#include "app/ShowScript.h"

// Each scroll must cross the whole visible line before its phase ends: the
// opening text at most about 74 units wide at scaleDivX 40, the closing text
// at most about 59. The tests hold the texts to that and to their lengths.
const std::string openingText =
    "Hello there, and welcome to Velmora: a tiny self-running show made with shaders, one font "
    "and a little song. Sit back, watch the heart beat and let the letters roll by. Press Escape "
    "whenever you like, but please do stay for the greetings, coming up!!";

const std::string closingText =
    "That was Velmora. Thanks for watching, and for staying to the very end. The heart beats on, "
    "and the show starts over in a moment. Take care, bye!";

const std::string greetingNames[greetingCount] = {
    "Quiet Comet", "Mox", "Glimra", "Yol", "Zinth", "Dustbyte", "Hex Lagoon", "Fyr",
};

const float greetingOffsets[greetingCount] = {-1.87f, -0.66f, -1.03f, -0.54f,
                                              -0.83f, -1.39f, -1.75f, -0.55f};
