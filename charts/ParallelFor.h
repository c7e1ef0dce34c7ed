#pragma once

#include <functional>

// Runs f(i) for i in [0, count), split over threads threads (the caller's among them),
// interleaved: neighbouring series cost about the same.
void ParallelFor(int count, int threads, const std::function<void(int)>& f);
