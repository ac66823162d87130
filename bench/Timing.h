// Timing for the benchmarks: wall-clock seconds, and the cost per call of two
// ways of doing the same work, measured in alternating rounds with the best
// round of each kept, so that other load on the machine falls on both alike.
#pragma once

#include <windows.h>

#include <algorithm>
#include <utility>

inline double Seconds() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

template <typename Call>
double TimePerCall(int calls, Call&& call) {
    double start = Seconds();
    for (int i = 0; i < calls; ++i) call();
    return (Seconds() - start) / calls;
}

// {seconds per call of a, seconds per call of b}
template <typename A, typename B>
std::pair<double, double> BestOfAlternatingRounds(int rounds, int calls, A&& a, B&& b) {
    double bestA = 1e9, bestB = 1e9;
    for (int round = 0; round < rounds; ++round) {
        bestA = std::min(bestA, TimePerCall(calls, a));
        bestB = std::min(bestB, TimePerCall(calls, b));
    }
    return {bestA, bestB};
}
