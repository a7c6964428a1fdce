#include "Mixer.h"

#include "Drums.h"
#include "Effects.h"
#include "Filters.h"
#include "Loudness.h"
#include "Synths.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Seeds for the noise of each hit: the part's tag in the high bits, the
// hit's index in the low ones.
std::uint64_t seedFor(std::uint64_t partTag, std::size_t index) {
    return (partTag << 32) | static_cast<std::uint64_t>(index);
}

template <typename RenderHit>
StereoBuffer renderHits(const Timeline& timeline, const std::vector<Hit>& hits,
                        std::uint64_t partTag, RenderHit render) {
    StereoBuffer bus(static_cast<std::size_t>(timeline.cycleFrames));
    for (std::size_t i = 0; i < hits.size(); ++i) {
        render(bus, timeline, hits[i], seedFor(partTag, i));
    }
    return bus;
}

// Lowers a bus under the kick. Depth 0.5 halves the level at the kick.
void duck(StereoBuffer& bus, const std::vector<float>& pulse, double depth) {
    for (std::size_t i = 0; i < bus.frames(); ++i) {
        const float gain = static_cast<float>(1.0 - depth * pulse[i]);
        bus.left[i] *= gain;
        bus.right[i] *= gain;
    }
}

// Keeps rumble out of the reverb and the master.
class StereoHighPass {
public:
    explicit StereoHighPass(double hz) {
        left.tune(hz, sampleRateHz);
        right.tune(hz, sampleRateHz);
    }
    void process(double inL, double inR, double& outL, double& outR) {
        outL = left.process(inL);
        outR = right.process(inR);
    }

private:
    OnePoleHighPass left;
    OnePoleHighPass right;
};

void reportLevel(std::ostream* levels, const std::string& name, const StereoBuffer& bus,
                 double gain) {
    if (levels == nullptr) {
        return;
    }
    StereoBuffer scaled(bus.frames());
    scaled.mix(bus, gain);
    double peak = 0.0;
    for (std::size_t i = 0; i < scaled.frames(); ++i) {
        peak = std::max({peak, std::fabs(static_cast<double>(scaled.left[i])),
                         std::fabs(static_cast<double>(scaled.right[i]))});
    }
    *levels << name << ": " << integratedLoudness(scaled) << " LUFS, peak " << toDecibels(peak)
            << " dBFS\n";
}

struct Send {
    const StereoBuffer* bus;
    double level;
};

StereoBuffer sumSends(std::size_t frames, const std::vector<Send>& sends) {
    StereoBuffer sum(frames);
    for (const Send& s : sends) {
        sum.mix(*s.bus, s.level);
    }
    return sum;
}

} // namespace

StereoBuffer renderMix(const Timeline& timeline, const Arrangement& song, std::ostream* levels) {
    const std::size_t frames = static_cast<std::size_t>(timeline.cycleFrames);

    std::vector<float> pulse(frames, 0.0f);
    for (const Hit& kick : song.kicks) {
        renderKickPulse(pulse, timeline, kick);
    }

    StereoBuffer kick(frames);
    for (const Hit& hit : song.kicks) {
        renderKick(kick, timeline, hit);
    }
    StereoBuffer claps = renderHits(timeline, song.claps, 1, renderClap);
    StereoBuffer snares = renderHits(timeline, song.snares, 2, renderSnare);
    StereoBuffer hats = renderHits(timeline, song.closedHats, 3, renderClosedHat);
    hats.mix(renderHits(timeline, song.openHats, 4, renderOpenHat), 1.0);
    hats.mix(renderHits(timeline, song.shakers, 5, renderShaker), 1.0);
    StereoBuffer cymbals = renderHits(timeline, song.crashes, 6, renderCrash);
    for (std::size_t i = 0; i < song.risers.size(); ++i) {
        renderRiser(cymbals, timeline, song.risers[i], seedFor(7, i));
    }

    StereoBuffer bass(frames);
    for (const Note& note : song.bass) {
        renderBassNote(bass, timeline, note, song.bassCutoff);
    }
    StereoBuffer pad(frames);
    for (std::size_t i = 0; i < song.pad.size(); ++i) {
        renderPadNote(pad, timeline, song.pad[i], song.padCutoff, seedFor(8, i));
    }
    StereoBuffer arp(frames);
    for (const Note& note : song.arp) {
        renderPluckNote(arp, timeline, note, song.arpCutoff);
    }
    StereoBuffer lead(frames);
    for (std::size_t i = 0; i < song.lead.size(); ++i) {
        renderLeadNote(lead, timeline, song.lead[i], i > 0 ? &song.lead[i - 1] : nullptr);
    }
    StereoBuffer keys(frames);
    for (const Note& note : song.keys) {
        renderKeysNote(keys, timeline, note);
    }

    // The pump: pads breathe hardest, the bass a little, so kick and bass
    // never fight over the low end.
    duck(bass, pulse, 0.45);
    duck(pad, pulse, 0.6);
    duck(arp, pulse, 0.35);

    // Bus faders, balanced by each bus's loudness (see --levels): the kick
    // leads, the lead and bass sit a few LU below it, pads, clap and hats
    // fill in behind.
    const double kickGain = 0.62;
    const double clapGain = 0.9;
    const double snareGain = 0.34;
    const double hatGain = 0.55;
    const double cymbalGain = 0.35;
    const double bassGain = 0.72;
    const double padGain = 0.8;
    const double arpGain = 0.62;
    const double leadGain = 1.35;
    const double keysGain = 1.1;
    const double echoReturn = 0.8;
    const double reverbReturn = 1.6;

    // Echo of three sixteenths, a dotted eighth, the classic dance delay.
    PingPongDelay delay(3.0 * timeline.secondsPerStep(), 0.42, 3800.0);
    const StereoBuffer delaySend = sumSends(
        frames, {{&arp, 0.35 * arpGain}, {&lead, 0.25 * leadGain}, {&keys, 0.3 * keysGain}});
    StereoBuffer echoes = processCycle(delaySend, delay);
    duck(echoes, pulse, 0.4);

    StereoHighPass reverbHighPass(220.0);
    const StereoBuffer reverbSend = sumSends(frames, {{&claps, 0.18 * clapGain},
                                                      {&snares, 0.2 * snareGain},
                                                      {&hats, 0.06 * hatGain},
                                                      {&cymbals, 0.25 * cymbalGain},
                                                      {&pad, 0.3 * padGain},
                                                      {&arp, 0.2 * arpGain},
                                                      {&lead, 0.22 * leadGain},
                                                      {&keys, 0.4 * keysGain},
                                                      {&echoes, 0.25}});
    const StereoBuffer filteredSend = processCycle(reverbSend, reverbHighPass);
    Reverb room(2.4, 5500.0, 0.02);
    StereoBuffer reverb = processCycle(filteredSend, room);
    duck(reverb, pulse, 0.35);

    reportLevel(levels, "kick", kick, kickGain);
    reportLevel(levels, "claps", claps, clapGain);
    reportLevel(levels, "snares", snares, snareGain);
    reportLevel(levels, "hats", hats, hatGain);
    reportLevel(levels, "cymbals", cymbals, cymbalGain);
    reportLevel(levels, "bass", bass, bassGain);
    reportLevel(levels, "pad", pad, padGain);
    reportLevel(levels, "arp", arp, arpGain);
    reportLevel(levels, "lead", lead, leadGain);
    reportLevel(levels, "keys", keys, keysGain);
    reportLevel(levels, "echoes", echoes, echoReturn);
    reportLevel(levels, "reverb", reverb, reverbReturn);

    StereoBuffer mix(frames);
    mix.mix(kick, kickGain);
    mix.mix(claps, clapGain);
    mix.mix(snares, snareGain);
    mix.mix(hats, hatGain);
    mix.mix(cymbals, cymbalGain);
    mix.mix(bass, bassGain);
    mix.mix(pad, padGain);
    mix.mix(arp, arpGain);
    mix.mix(lead, leadGain);
    mix.mix(keys, keysGain);
    mix.mix(echoes, echoReturn);
    mix.mix(reverb, reverbReturn);

    StereoHighPass subsonic(22.0);
    return processCycle(mix, subsonic);
}
