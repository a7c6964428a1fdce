#include "Mixer.h"

#include "Drums.h"
#include "Effects.h"
#include "Filters.h"
#include "Loudness.h"
#include "SectionLoudness.h"
#include "Synths.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <vector>

namespace {

// The buses in the order they are summed.
enum Bus { Kick, Claps, Snares, Hats, Cymbals, Bass, Pad, Arp, Lead, Keys, Echoes, Room };
constexpr std::size_t busCount = Room + 1;

struct Fader {
    const char* name;
    double gain;
};

// Bus faders, balanced by each bus's loudness (see --levels): the kick
// leads, the lead and bass sit a few LU below it, pads, clap and hats fill in
// behind.
constexpr std::array<Fader, busCount> faders{{{"kick", 0.62},
                                              {"claps", 0.9},
                                              {"snares", 0.34},
                                              {"hats", 0.55},
                                              {"cymbals", 0.35},
                                              {"bass", 0.72},
                                              {"pad", 0.8},
                                              {"arp", 0.62},
                                              {"lead", 1.35},
                                              {"keys", 1.1},
                                              {"echoes", 0.8},
                                              {"reverb", 1.6}}};

// A bus's contribution to an effect, relative to its fader.
struct Send {
    Bus bus;
    double level;
};

StereoBuffer sumSends(const std::vector<StereoBuffer>& buses, std::initializer_list<Send> sends) {
    StereoBuffer sum(buses.front().frames());
    for (const Send& s : sends) {
        sum.mix(buses[s.bus], s.level * faders[s.bus].gain);
    }
    return sum;
}

// Seeds for the noise of each hit: the variation in the top bits, the
// part's tag below it, the hit's index in the low ones.
std::uint64_t seedFor(std::uint64_t variation, std::uint64_t partTag, std::size_t index) {
    return (variation << 48) | (partTag << 32) | static_cast<std::uint64_t>(index);
}

template <typename Event, typename RenderEvent>
void renderSeeded(StereoBuffer& bus, const Timeline& timeline, const std::vector<Event>& events,
                  std::uint64_t variation, std::uint64_t partTag, RenderEvent render) {
    for (std::size_t i = 0; i < events.size(); ++i) {
        render(bus, timeline, events[i], seedFor(variation, partTag, i));
    }
}

// Lowers a bus under the kick. Depth 0.5 halves the level at the kick.
void duck(StereoBuffer& bus, const std::vector<float>& pulse, double depth) {
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        const float gain = static_cast<float>(1.0 - depth * pulse[i]);
        bus.left[i] *= gain;
        bus.right[i] *= gain;
    }
}

// Scales a bus's side signal (left minus right) by the curve and leaves its
// mid signal alone, so the pads widen without changing their mono sum.
void setWidth(StereoBuffer& bus, const Timeline& timeline, const Automation& width) {
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        const double w = width.valueAt(timeline.frameToStep(static_cast<long long>(i)));
        const double mid = 0.5 * (static_cast<double>(bus.left[i]) + bus.right[i]);
        const double side = 0.5 * w * (static_cast<double>(bus.left[i]) - bus.right[i]);
        bus.left[i] = static_cast<float>(mid + side);
        bus.right[i] = static_cast<float>(mid - side);
    }
}

// Keeps rumble out of the reverb and the master.
StereoFilter<OnePoleHighPass> highPass(double hz) {
    StereoFilter<OnePoleHighPass> filter;
    filter.tune(hz);
    return filter;
}

void reportLevel(std::ostream& levels, const char* name, const StereoBuffer& bus, double gain,
                 const Timeline& timeline, const std::vector<SectionSpan>& sections) {
    StereoBuffer scaled(bus.frames());
    scaled.mix(bus, gain);
    double peak = 0.0;
    for (std::size_t i = 0; i < scaled.frames(); ++i) {
        peak = std::max({peak, std::fabs(static_cast<double>(scaled.left[i])),
                         std::fabs(static_cast<double>(scaled.right[i]))});
    }
    levels << name << ": " << integratedLoudness(scaled) << " LUFS, peak " << toDecibels(peak)
           << " dBFS;";
    for (const SectionLoudness& section : sectionLoudness(scaled, timeline, sections)) {
        levels << " " << section.name << " ";
        if (section.lufs > silenceLufs) {
            levels << section.lufs;
        } else {
            levels << "-";
        }
    }
    levels << "\n";
}

} // namespace

StereoBuffer renderMix(const Timeline& timeline, const Arrangement& song,
                       std::uint64_t noiseVariation, std::ostream* levels) {
    const std::size_t frames = static_cast<std::size_t>(timeline.cycleFrames);
    std::vector<StereoBuffer> bus(busCount, StereoBuffer(frames));

    std::vector<float> pulse(frames, 0.0f);
    for (const Hit& kick : song.kicks) {
        renderKickPulse(pulse, timeline, kick);
        renderKick(bus[Kick], timeline, kick, song.kickLowCut.valueAt(kick.step));
    }
    renderSeeded(bus[Claps], timeline, song.claps, noiseVariation, 1, renderClap);
    renderSeeded(bus[Snares], timeline, song.snares, noiseVariation, 2, renderSnare);
    renderSeeded(bus[Hats], timeline, song.closedHats, noiseVariation, 3, renderClosedHat);
    StereoBuffer openHats(frames);
    renderSeeded(openHats, timeline, song.openHats, noiseVariation, 4, renderOpenHat);
    bus[Hats].mix(openHats, 1.0);
    StereoBuffer shakers(frames);
    renderSeeded(shakers, timeline, song.shakers, noiseVariation, 5, renderShaker);
    bus[Hats].mix(shakers, 1.0);
    renderSeeded(bus[Cymbals], timeline, song.crashes, noiseVariation, 6, renderCrash);
    renderSeeded(bus[Cymbals], timeline, song.risers, noiseVariation, 7, renderRiser);

    for (const Note& note : song.bass) {
        renderBassNote(bus[Bass], timeline, note, song.bassCutoff);
    }
    for (std::size_t i = 0; i < song.pad.size(); ++i) {
        renderPadNote(bus[Pad], timeline, song.pad[i], song.padCutoff,
                      seedFor(noiseVariation, 8, i));
    }
    for (const Note& note : song.arp) {
        renderPluckNote(bus[Arp], timeline, note, song.arpCutoff);
    }
    for (const std::vector<Note>* line : {&song.lead, &song.leadOctave}) {
        for (std::size_t i = 0; i < line->size(); ++i) {
            renderLeadNote(bus[Lead], timeline, (*line)[i], i > 0 ? &(*line)[i - 1] : nullptr);
        }
    }
    for (const Note& note : song.keys) {
        renderKeysNote(bus[Keys], timeline, note);
    }

    setWidth(bus[Pad], timeline, song.padWidth);

    // The pump: pads breathe hardest, the bass a little, so kick and bass
    // never fight over the low end.
    duck(bus[Bass], pulse, 0.45);
    duck(bus[Pad], pulse, 0.6);
    duck(bus[Arp], pulse, 0.35);

    // Echo of three sixteenths, a dotted eighth, the classic dance delay.
    bus[Echoes] = processCycle(sumSends(bus, {{Arp, 0.35}, {Lead, 0.25}, {Keys, 0.3}}),
                               PingPongDelay(3.0 * timeline.secondsPerStep(), 0.42, 3800.0));
    duck(bus[Echoes], pulse, 0.4);

    StereoBuffer roomSend = sumSends(bus, {{Claps, 0.18},
                                           {Snares, 0.2},
                                           {Hats, 0.06},
                                           {Cymbals, 0.25},
                                           {Pad, 0.3},
                                           {Arp, 0.2},
                                           {Lead, 0.22},
                                           {Keys, 0.4}});
    // The echoes reach the room at a level of their own, not through their fader.
    roomSend.mix(bus[Echoes], 0.25);
    bus[Room] = processCycle(processCycle(roomSend, highPass(220.0)), Reverb(2.4, 5500.0, 0.02));
    duck(bus[Room], pulse, 0.35);

    StereoBuffer mix(frames);
    for (std::size_t b = 0; b < busCount; ++b) {
        if (levels != nullptr) {
            reportLevel(*levels, faders[b].name, bus[b], faders[b].gain, timeline, song.sections);
        }
        mix.mix(bus[b], faders[b].gain);
    }
    return processCycle(mix, highPass(22.0));
}
