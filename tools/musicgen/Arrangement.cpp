// "Dancing": A minor, 24 bars, four on the floor.
//
//   bars  1-4   intro groove   kick, clap, hats, off-beat bass, pads behind a closed filter
//   bars  5-8   build          rolling bass, arpeggio, the filter opens, riser and snare roll
//   bars  9-16  drop           everything, with the lead hook played twice
//   bars 17-20  breakdown      no kick; pads, electric piano, a falling line onto E major
//   bars 21-24  return         the groove and the hook again, then a short fill
//
// The loop wraps from bar 24 (G) straight into bar 1 (Am), the same move the
// progression makes every four bars, so the jump is heard as the next bar.
#include "Arrangement.h"

#include <array>
#include <cmath>

namespace {

struct Chord {
    int bassRoot;               // MIDI note of the bass root, octave 1-2
    std::array<int, 4> voicing; // pad voicing around middle C
};

// Voicings move by step from one chord to the next: Am7 -> Fmaj7 changes one
// note, Fmaj7 -> C two, C -> G two, G -> Am7 three, each by a tone or less.
constexpr Chord chordAm7{33, {57, 60, 64, 67}};   // A1 | A3 C4 E4 G4
constexpr Chord chordFmaj7{29, {57, 60, 64, 65}}; // F1 | A3 C4 E4 F4
constexpr Chord chordC{36, {55, 60, 64, 67}};     // C2 | G3 C4 E4 G4
constexpr Chord chordG{31, {55, 59, 62, 67}};     // G1 | G3 B3 D4 G4
constexpr Chord chordEsus4{28, {57, 59, 64, 69}}; // E1 | A3 B3 E4 A4
constexpr Chord chordE{28, {56, 59, 64, 68}};     // E1 | G#3 B3 E4 G#4

enum class Section { Intro, Build, Drop, Breakdown, Return };

Section sectionOf(int bar) {
    if (bar < 4) {
        return Section::Intro;
    }
    if (bar < 8) {
        return Section::Build;
    }
    if (bar < 16) {
        return Section::Drop;
    }
    if (bar < 20) {
        return Section::Breakdown;
    }
    return Section::Return;
}

// The chord sounding in a half bar (0 = first half).
const Chord& chordAt(int bar, int half) {
    if (sectionOf(bar) == Section::Breakdown) {
        switch (bar - 16) {
        case 0:
            return chordFmaj7;
        case 1:
            return chordG;
        case 2:
            return chordAm7;
        default:
            return half == 0 ? chordEsus4 : chordE;
        }
    }
    switch (bar % 4) {
    case 0:
        return chordAm7;
    case 1:
        return chordFmaj7;
    case 2:
        return chordC;
    default:
        return chordG;
    }
}

double barStart(int bar) {
    return bar * stepsPerBar;
}

// Odd sixteenths come a little late on the hats: a light shuffle.
double swung(double step) {
    const bool offSixteenth = static_cast<long long>(std::floor(step)) % 2 == 1;
    return offSixteenth ? step + 0.07 : step;
}

struct Phrase {
    double step;
    double length;
    int pitch;
};

// The lead hook over Am7 | Fmaj7 | C | G, in dotted-eighth syncopation.
// Phrase one asks (it ends on D over G), phrase two answers and comes to
// rest on B, the third of G, which leads into the A of the next bar.
const std::vector<std::vector<Phrase>> leadQuestion = {
    {{0, 3, 76}, {3, 3, 79}, {6, 2, 76}, {8, 2, 74}, {10, 2, 72}, {12, 4, 74}},
    {{0, 3, 72}, {3, 3, 69}, {6, 2, 72}, {8, 7, 76}},
    {{0, 3, 79}, {3, 3, 76}, {6, 2, 79}, {8, 4, 81}, {12, 4, 79}},
    {{0, 3, 74}, {3, 3, 71}, {6, 2, 74}, {8, 4, 79}, {12, 4, 74}},
};
const std::vector<std::vector<Phrase>> leadAnswer = {
    {{0, 3, 76}, {3, 3, 79}, {6, 2, 76}, {8, 2, 74}, {10, 2, 72}, {12, 4, 76}},
    {{0, 3, 77}, {3, 3, 76}, {6, 2, 72}, {8, 7, 69}},
    {{0, 3, 67}, {3, 3, 72}, {6, 2, 76}, {8, 4, 79}, {12, 4, 76}},
    {{0, 3, 74}, {3, 3, 71}, {6, 2, 67}, {8, 7, 71}},
};

// Electric piano over Fmaj7 | G | Am7 | Esus4-E: the first note of each bar
// falls by step, E D C B, and the last bar resolves the suspension A -> G#.
const std::vector<std::vector<Phrase>> keysLine = {
    {{0, 6, 76}, {6, 2, 72}, {8, 4, 69}, {12, 4, 72}},
    {{0, 6, 74}, {6, 2, 71}, {8, 4, 67}, {12, 4, 71}},
    {{0, 6, 72}, {6, 2, 76}, {8, 4, 79}, {12, 4, 76}},
    {{0, 4, 71}, {4, 4, 69}, {8, 8, 68}},
};

// Arpeggio order over the four voicing notes, and its accents in a 3-3-2
// feel that answers the kick.
constexpr std::array<int, 16> arpOrder{0, 2, 3, 2, 1, 2, 3, 2, 0, 2, 3, 2, 1, 3, 2, 1};
constexpr std::array<double, 16> arpAccent{1.0, 0.6, 0.7, 1.0, 0.6, 0.7, 1.0, 0.6,
                                           0.7, 0.6, 1.0, 0.6, 0.9, 0.6, 0.7, 0.6};

constexpr std::array<double, 16> shakerAccent{0.3, 0.45, 0.85, 0.45, 0.3, 0.45, 0.85, 0.45,
                                              0.3, 0.45, 0.85, 0.45, 0.3, 0.45, 0.85, 0.5};

void addDrums(Arrangement& song, int bar) {
    const Section section = sectionOf(bar);
    const double start = barStart(bar);
    const bool drums = section != Section::Breakdown;

    if (drums) {
        for (int beat = 0; beat < 4; ++beat) {
            // The build's last beat is left to the snare roll.
            if (bar == 7 && beat == 3) {
                continue;
            }
            song.kicks.push_back({start + 4 * beat, 1.0});
        }
        song.claps.push_back({start + 4, 0.9});
        if (bar != 7) {
            song.claps.push_back({start + 12, 0.9});
        }
    }

    if (section == Section::Intro || section == Section::Build) {
        for (int step = 2; step < 16; step += 4) {
            song.closedHats.push_back({swung(start + step), bar == 0 ? 0.6 : 0.8});
        }
    }
    if (section == Section::Drop || section == Section::Return) {
        for (int step = 2; step < 16; step += 4) {
            song.openHats.push_back({start + step, 0.75});
        }
        for (int step = 3; step < 16; step += 4) {
            song.closedHats.push_back({swung(start + step), 0.4});
        }
    }

    const bool shaker = (section != Section::Breakdown && bar != 0) || bar >= 18;
    if (shaker) {
        const double level = section == Section::Breakdown ? 0.6 : 1.0;
        for (int step = 0; step < 16; ++step) {
            song.shakers.push_back({swung(start + step), level * shakerAccent[step]});
        }
    }

    if (bar == 7) {
        for (int step = 8; step < 16; ++step) {
            song.snares.push_back({start + step, 0.3 + 0.6 * (step - 8) / 7.0});
        }
    }
    if (bar == 19) {
        for (int step = 0; step < 16; step += step < 8 ? 2 : 1) {
            song.snares.push_back({start + step, 0.25 + 0.65 * step / 15.0});
        }
    }
    if (bar == 23) {
        song.snares.push_back({start + 13, 0.55});
        song.snares.push_back({start + 14, 0.7});
        song.snares.push_back({start + 15, 0.85});
    }

    if (bar == 8 || bar == 20) {
        song.crashes.push_back({start, 1.0});
    }
    if (bar == 16) {
        song.crashes.push_back({start, 0.6});
    }
    if (bar == 6 || bar == 18) {
        song.risers.push_back({start, 2.0 * stepsPerBar, bar == 6 ? 0.8 : 1.0});
    }
}

void addBass(Arrangement& song, int bar) {
    const Section section = sectionOf(bar);
    const double start = barStart(bar);
    const int root = chordAt(bar, 0).bassRoot;

    if (section == Section::Breakdown) {
        song.bass.push_back({start, 15.5, root, 0.8});
        return;
    }
    if (section == Section::Intro) {
        for (int step = 2; step < 16; step += 4) {
            song.bass.push_back({start + step, 1.5, root, 0.9});
        }
        return;
    }
    struct Figure {
        double step;
        double length;
        int interval;
        double velocity;
    };
    // Off the kick, with an octave jump and a fifth for the bounce.
    const std::array<Figure, 6> groove{{{2, 1.5, 0, 1.0},
                                        {6, 0.8, 0, 0.8},
                                        {7, 0.8, 12, 0.85},
                                        {10, 1.5, 0, 1.0},
                                        {13, 0.8, 7, 0.8},
                                        {14, 1.5, 0, 0.95}}};
    for (const Figure& f : groove) {
        song.bass.push_back({start + f.step, f.length, root + f.interval, f.velocity});
    }
}

void addPad(Arrangement& song, int bar) {
    const double start = barStart(bar);
    const Chord& first = chordAt(bar, 0);
    const Chord& second = chordAt(bar, 1);
    const bool split = first.voicing != second.voicing;
    for (int note : first.voicing) {
        song.pad.push_back({start, split ? 8.0 : 16.0, note, 0.8});
    }
    if (split) {
        for (int note : second.voicing) {
            song.pad.push_back({start + 8, 8.0, note, 0.8});
        }
    }
}

void addArp(Arrangement& song, int bar) {
    const Section section = sectionOf(bar);
    if (section == Section::Intro) {
        return;
    }
    // Above the lead's register while the lead is silent, below it under the hook.
    const bool underLead = section == Section::Drop || section == Section::Return;
    const int octave = underLead ? 0 : 12;
    const double start = barStart(bar);
    for (int step = 0; step < 16; ++step) {
        const Chord& chord = chordAt(bar, step < 8 ? 0 : 1);
        const int pitch = chord.voicing[static_cast<std::size_t>(arpOrder[step])] + octave;
        song.arp.push_back({start + step, 0.6, pitch, arpAccent[step]});
    }
}

void addPhraseBar(std::vector<Note>& part, const std::vector<Phrase>& bar, int barIndex,
                  double velocity) {
    for (const Phrase& p : bar) {
        part.push_back({barStart(barIndex) + p.step, p.length, p.pitch, velocity});
    }
}

void addMelodies(Arrangement& song, int bar) {
    const Section section = sectionOf(bar);
    if (section == Section::Drop) {
        const auto& phrase = bar < 12 ? leadQuestion : leadAnswer;
        addPhraseBar(song.lead, phrase[static_cast<std::size_t>(bar % 4)], bar, 0.9);
    } else if (section == Section::Return) {
        addPhraseBar(song.lead, leadAnswer[static_cast<std::size_t>(bar % 4)], bar, 0.85);
    } else if (section == Section::Breakdown) {
        addPhraseBar(song.keys, keysLine[static_cast<std::size_t>(bar - 16)], bar, 0.85);
    }
}

double octavesAbove20Hz(double hz) {
    return std::log2(hz / 20.0);
}

Automation curve(std::initializer_list<std::pair<double, double>> barsAndHz, int cycleSteps) {
    std::vector<Automation::Point> points;
    for (const auto& [bar, hz] : barsAndHz) {
        points.push_back({bar * stepsPerBar, octavesAbove20Hz(hz)});
    }
    return Automation(points, cycleSteps);
}

} // namespace

double cutoffFromOctaves(double octaves) {
    return 20.0 * std::exp2(octaves);
}

Arrangement composeArrangement() {
    Arrangement song;
    song.bars = 24;
    for (int bar = 0; bar < song.bars; ++bar) {
        addDrums(song, bar);
        addBass(song, bar);
        addPad(song, bar);
        addArp(song, bar);
        addMelodies(song, bar);
    }
    const int steps = song.bars * stepsPerBar;
    // The pads open through intro and build, stay open, and close again over
    // the last half bar so that the wrap lands on the muffled intro sound.
    song.padCutoff = curve({{0.0, 550.0},
                            {4.0, 1100.0},
                            {7.9, 4200.0},
                            {16.0, 4200.0},
                            {16.5, 2600.0},
                            {19.9, 5200.0},
                            {20.1, 4200.0},
                            {23.5, 4200.0}},
                           steps);
    song.arpCutoff = curve({{4.0, 900.0},
                            {7.9, 3200.0},
                            {8.0, 1700.0},
                            {16.0, 1700.0},
                            {16.1, 2400.0},
                            {19.9, 3600.0},
                            {20.0, 1700.0},
                            {24.0, 1700.0}},
                           steps);
    song.bassCutoff = curve({{0.0, 260.0},
                             {4.0, 300.0},
                             {7.9, 700.0},
                             {8.0, 520.0},
                             {16.0, 520.0},
                             {16.1, 160.0},
                             {19.9, 260.0},
                             {20.0, 520.0},
                             {23.5, 520.0}},
                            steps);
    return song;
}
