#include "SectionLoudness.h"

#include "Loudness.h"

std::vector<SectionLoudness> sectionLoudness(const StereoBuffer& signal, const Timeline& timeline,
                                             const std::vector<SectionSpan>& sections) {
    std::vector<SectionLoudness> result;
    for (const SectionSpan& section : sections) {
        const long long first = timeline.stepToFrame(section.firstBar * stepsPerBar);
        const long long end =
            timeline.stepToFrame((section.firstBar + section.barCount) * stepsPerBar);
        const StereoBuffer frames =
            signal.slice(static_cast<std::size_t>(first), static_cast<std::size_t>(end - first));
        result.push_back({section.name, integratedLoudness(frames)});
    }
    return result;
}
