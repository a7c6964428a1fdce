// "Dancing": A minor, 24 bars, four on the floor with a kick on every beat.
//
//   bars  1-4   intro      kick, clap, off-beat hats and bass, narrow pads behind a closed filter
//   bars  5-8   build      rolling bass, arpeggio, the filter opens, sixteenth hats, riser and
//                          snare roll; bass and hats drop out for the last two beats
//   bars  9-16  drop       everything, wider: sixteenth hats, clap and snare, the lead hook
//                          twice, its answer doubled an octave up
//   bars 17-20  breakdown  a soft kick under filtered pads, electric piano with a falling
//                          line onto E major, a drone; the arpeggio creeps back, the kick swells
//   bars 21-24  return     the drop's groove and the answering hook, then a short fill
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

// The form, in the order of `Section`.
constexpr std::array<SectionSpan, 5> form{
    {{"intro", 0, 4}, {"build", 4, 4}, {"drop", 8, 8}, {"breakdown", 16, 4}, {"return", 20, 4}}};

const SectionSpan& spanOf(Section section) {
    return form[static_cast<std::size_t>(section)];
}

Section sectionOf(int bar) {
    std::size_t index = 0;
    while (index + 1 < form.size() && bar >= form[index + 1].firstBar) {
        ++index;
    }
    return static_cast<Section>(index);
}

// The bar `offset` bars into a section; a negative offset counts back from
// its end (-1 is its last bar).
int barOf(Section section, int offset) {
    const SectionSpan& span = spanOf(section);
    return span.firstBar + (offset >= 0 ? offset : span.barCount + offset);
}

int barInSection(int bar) {
    return bar - spanOf(sectionOf(bar)).firstBar;
}

bool fullGroove(Section section) {
    return section == Section::Drop || section == Section::Return;
}

// How hard each section plays. The kick never stops, since the picture's
// heart beats with it; it only softens in the breakdown.
struct Dynamics {
    double kick;
    double clap; // 0: none
    double pad;
};

const Dynamics& dynamicsOf(Section section) {
    static constexpr std::array<Dynamics, 5> table{
        {{0.85, 0.8, 0.75}, {0.9, 0.85, 0.8}, {1.0, 0.95, 0.9}, {0.4, 0.0, 0.5}, {1.0, 0.95, 0.9}}};
    return table[static_cast<std::size_t>(section)];
}

// The chord sounding in a half bar (0 = first half).
const Chord& chordAt(int bar, int half) {
    if (sectionOf(bar) == Section::Breakdown) {
        switch (barInSection(bar)) {
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
    const Dynamics& dynamics = dynamicsOf(section);
    const double start = barStart(bar);
    const bool lastOfBuild = bar == barOf(Section::Build, -1);
    const bool lastOfBreakdown = bar == barOf(Section::Breakdown, -1);
    // The build's last two beats keep only kick, snare roll and riser: the
    // breath before the drop.
    const int grooveSteps = lastOfBuild ? stepsPerBar / 2 : stepsPerBar;

    for (int beat = 0; beat < 4; ++beat) {
        double velocity = dynamics.kick;
        if (lastOfBuild && beat == 3) {
            velocity = 0.6; // held back under the top of the snare roll
        }
        if (lastOfBreakdown) {
            velocity += (0.8 - velocity) * (beat + 1) / 5.0; // swelling into the return
        }
        song.kicks.push_back({start + 4 * beat, velocity});
    }

    if (dynamics.clap > 0.0) {
        song.claps.push_back({start + 4, dynamics.clap});
        if (!lastOfBuild) {
            song.claps.push_back({start + 12, dynamics.clap});
        }
    }
    if (fullGroove(section)) {
        // A snare under the clap gives the backbeat its crack.
        song.snares.push_back({start + 4, 0.4});
        song.snares.push_back({start + 12, 0.4});
    }

    if (section == Section::Intro || section == Section::Build) {
        for (int step = 2; step < grooveSteps; step += 4) {
            song.closedHats.push_back({swung(start + step), bar == 0 ? 0.6 : 0.8});
        }
    }
    // Sixteenths from the build's second half on drive towards the drop.
    if (section == Section::Build && bar >= barOf(Section::Build, 2)) {
        for (int step = 1; step < grooveSteps; step += 2) {
            song.closedHats.push_back({swung(start + step), 0.35});
        }
    }
    if (fullGroove(section)) {
        for (int step = 2; step < 16; step += 4) {
            song.openHats.push_back({start + step, 0.75});
        }
        for (int step = 1; step < 16; step += 2) {
            song.closedHats.push_back({swung(start + step), step % 4 == 3 ? 0.5 : 0.3});
        }
    }

    const bool shaker =
        (section != Section::Breakdown && bar != 0) || bar >= barOf(Section::Breakdown, 2);
    if (shaker) {
        const double level = section == Section::Breakdown ? 0.5 : 1.0;
        for (int step = 0; step < grooveSteps; ++step) {
            song.shakers.push_back({swung(start + step), level * shakerAccent[step]});
        }
    }

    if (lastOfBuild) {
        for (int step = 8; step < 16; ++step) {
            song.snares.push_back({start + step, 0.3 + 0.6 * (step - 8) / 7.0});
        }
    }
    if (lastOfBreakdown) {
        for (int step = 0; step < 16; step += step < 8 ? 2 : 1) {
            song.snares.push_back({start + step, 0.15 + 0.55 * step / 15.0});
        }
    }
    if (bar == barOf(Section::Return, -1)) {
        song.snares.push_back({start + 13, 0.55});
        song.snares.push_back({start + 14, 0.7});
        song.snares.push_back({start + 15, 0.85});
    }

    if (bar == barOf(Section::Drop, 0) || bar == barOf(Section::Return, 0)) {
        song.crashes.push_back({start, 1.0});
    }
    if (bar == barOf(Section::Drop, 4)) {
        song.crashes.push_back({start, 0.7}); // the answer's start
    }
    if (bar == barOf(Section::Breakdown, 0)) {
        song.crashes.push_back({start, 0.5});
    }
    if (bar == barOf(Section::Build, 2) || bar == barOf(Section::Breakdown, 2)) {
        song.risers.push_back({start, 2.0 * stepsPerBar, 0.8});
    }
}

void addBass(Arrangement& song, int bar) {
    const Section section = sectionOf(bar);
    const double start = barStart(bar);
    const int root = chordAt(bar, 0).bassRoot;

    if (section == Section::Breakdown) {
        song.bass.push_back({start, 15.5, root, 0.4});
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
    // Silent for the build's last two beats, so that the drop brings it back.
    const double end = bar == barOf(Section::Build, -1) ? 8.0 : 16.0;
    for (const Figure& f : groove) {
        if (f.step < end) {
            song.bass.push_back({start + f.step, f.length, root + f.interval, f.velocity});
        }
    }
}

void addPad(Arrangement& song, int bar) {
    const double start = barStart(bar);
    const double velocity = dynamicsOf(sectionOf(bar)).pad;
    const Chord& first = chordAt(bar, 0);
    const Chord& second = chordAt(bar, 1);
    const bool split = first.voicing != second.voicing;
    for (int note : first.voicing) {
        song.pad.push_back({start, split ? 8.0 : 16.0, note, velocity});
    }
    if (split) {
        for (int note : second.voicing) {
            song.pad.push_back({start + 8, 8.0, note, velocity});
        }
    }
}

void addArp(Arrangement& song, int bar) {
    const Section section = sectionOf(bar);
    if (section == Section::Intro) {
        return;
    }
    // The breakdown's first half is the piano's; the arpeggio creeps back in
    // its second, softly.
    if (section == Section::Breakdown && bar < barOf(Section::Breakdown, 2)) {
        return;
    }
    double level = 1.0;
    if (section == Section::Build) {
        level = 0.6 + 0.4 * barInSection(bar) / (spanOf(section).barCount - 1.0);
    } else if (section == Section::Breakdown) {
        level = 0.6;
    }
    // Above the lead's register while the lead is silent, below it under the hook.
    const int octave = fullGroove(section) ? 0 : 12;
    const double start = barStart(bar);
    for (int step = 0; step < 16; ++step) {
        const Chord& chord = chordAt(bar, step < 8 ? 0 : 1);
        const int pitch = chord.voicing[static_cast<std::size_t>(arpOrder[step])] + octave;
        song.arp.push_back({start + step, 0.6, pitch, level * arpAccent[step]});
    }
}

void addPhraseBar(std::vector<Note>& part, const std::vector<Phrase>& bar, int barIndex,
                  int transpose, double velocity) {
    for (const Phrase& p : bar) {
        part.push_back({barStart(barIndex) + p.step, p.length, p.pitch + transpose, velocity});
    }
}

void addMelodies(Arrangement& song, int bar) {
    const Section section = sectionOf(bar);
    const std::size_t phraseBar = static_cast<std::size_t>(barInSection(bar) % 4);
    // The drop asks and answers; the return answers again.
    const bool answer =
        section == Section::Return || (section == Section::Drop && bar >= barOf(Section::Drop, 4));
    if (fullGroove(section)) {
        const auto& phrase = answer ? leadAnswer : leadQuestion;
        addPhraseBar(song.lead, phrase[phraseBar], bar, 0, 0.9);
        if (answer) {
            addPhraseBar(song.leadOctave, phrase[phraseBar], bar, 12, 0.35);
        }
    } else if (section == Section::Breakdown) {
        addPhraseBar(song.keys, keysLine[phraseBar], bar, 0, 0.5);
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

// A curve of plain values, from keyframes given in bars.
Automation linearCurve(std::initializer_list<std::pair<double, double>> barsAndValues,
                       int cycleSteps) {
    std::vector<Automation::Point> points;
    for (const auto& [bar, value] : barsAndValues) {
        points.push_back({bar * stepsPerBar, value});
    }
    return Automation(points, cycleSteps);
}

} // namespace

double cutoffFromOctaves(double octaves) {
    return 20.0 * std::exp2(octaves);
}

Arrangement composeArrangement() {
    Arrangement song;
    song.sections.assign(form.begin(), form.end());
    song.bars = form.back().firstBar + form.back().barCount;
    for (int bar = 0; bar < song.bars; ++bar) {
        addDrums(song, bar);
        addBass(song, bar);
        addPad(song, bar);
        addArp(song, bar);
        addMelodies(song, bar);
    }
    const int steps = song.bars * stepsPerBar;
    // The pads open through intro and build and stay open for the drop. The
    // breakdown closes them to a murmur that opens again with the riser; the
    // last half bar closes them once more, so that the wrap lands on the
    // muffled intro sound.
    song.padCutoff = curve({{0.0, 550.0},
                            {4.0, 1100.0},
                            {7.9, 4200.0},
                            {16.0, 4200.0},
                            {16.25, 1300.0},
                            {18.0, 1600.0},
                            {19.9, 4800.0},
                            {20.1, 4200.0},
                            {23.5, 4200.0}},
                           steps);
    song.arpCutoff = curve({{4.0, 900.0},
                            {7.9, 3200.0},
                            {8.0, 1900.0},
                            {16.0, 1900.0},
                            {18.0, 1400.0},
                            {19.9, 3600.0},
                            {20.0, 1900.0},
                            {24.0, 1900.0}},
                           steps);
    // The bass opens only halfway in the build and fully with the drop.
    song.bassCutoff = curve({{0.0, 260.0},
                             {4.0, 300.0},
                             {7.5, 480.0},
                             {8.0, 720.0},
                             {16.0, 720.0},
                             {16.1, 150.0},
                             {19.9, 240.0},
                             {20.0, 720.0},
                             {23.5, 720.0}},
                            steps);
    // The end of the build takes the weight out of the kick, so that the drop
    // brings it back; the kick keeps its attack, and so the beat.
    song.kickLowCut = linearCurve({{0.0, 0.0}, {6.0, 0.0}, {7.75, 180.0}, {8.0, 0.0}}, steps);
    // Narrow in the intro, widening through the build; the drop and the
    // return spread the pads wide, the breakdown a little less.
    song.padWidth = linearCurve({{0.0, 0.8},
                                 {4.0, 0.8},
                                 {7.95, 1.1},
                                 {8.0, 1.6},
                                 {16.0, 1.6},
                                 {16.25, 1.25},
                                 {19.95, 1.25},
                                 {20.0, 1.6},
                                 {23.5, 1.6}},
                                steps);
    return song;
}
