#pragma once

#include <functional>

// Runs f(i) for every i in [0, count) on up to threads threads, the caller's among them
// (threads 0: one per processor); f must not throw. Each thread takes the next index when it
// is done with one, so that sources of very different lengths still share the work evenly.
void ParallelLoop(int count, int threads, const std::function<void(int)>& f);
