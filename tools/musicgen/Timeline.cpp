#include "Timeline.h"

#include <algorithm>
#include <cmath>
#include <utility>

long long Timeline::stepToFrame(double step) const {
    return std::llround(step * framesPerStep());
}

double Timeline::frameToStep(long long frame) const {
    return static_cast<double>(frame) / framesPerStep();
}

Automation::Automation(std::vector<Point> keyframes, int cycleSteps)
    : points(std::move(keyframes)), cycle(cycleSteps) {
    std::sort(points.begin(), points.end(),
              [](const Point& a, const Point& b) { return a.step < b.step; });
}

double Automation::valueAt(double step) const {
    if (points.empty()) {
        return 0.0;
    }
    const double s = step - std::floor(step / cycle) * cycle;
    // Find the keyframes around s, treating the list as a ring.
    const Point* before = &points.back();
    double beforeStep = before->step - cycle;
    const Point* after = &points.front();
    double afterStep = after->step;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].step > s) {
            after = &points[i];
            afterStep = points[i].step;
            if (i > 0) {
                before = &points[i - 1];
                beforeStep = before->step;
            }
            break;
        }
        if (i + 1 == points.size()) {
            before = &points[i];
            beforeStep = before->step;
            after = &points.front();
            afterStep = after->step + cycle;
        }
    }
    const double span = afterStep - beforeStep;
    if (span <= 0.0) {
        return after->value;
    }
    const double t = (s - beforeStep) / span;
    return before->value + (after->value - before->value) * t;
}
