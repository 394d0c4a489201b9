#pragma once

#include <QString>

namespace orvane::bench {

// The panel's CAD paths against a running demo CAD, each beside the bare
// bus round trips it has to make. Medians of runs, in ms.
struct CadCalls {
    double click = 0.0;
    double clickRoundTrips = 0.0;
    double tick = 0.0;
    double tickRoundTrips = 0.0;
    // CAD calls one click and one tick made, as the demo CAD logged them.
    int callsPerClick = 0;
    int callsPerTick = 0;
};

CadCalls measureCadCalls(const QString& democad, int runs);

}  // namespace orvane::bench
