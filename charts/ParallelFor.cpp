#include "charts/ParallelFor.h"

#include <algorithm>
#include <thread>
#include <vector>

void ParallelFor(int count, int threads, const std::function<void(int)>& f) {
    threads = std::clamp(threads, 1, std::max(1, count));
    if (threads == 1) {
        for (int i = 0; i < count; ++i)
            f(i);
        return;
    }
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int i = t; i < count; i += threads)
                f(i);
        });
    for (int i = 0; i < count; i += threads)
        f(i);
    for (auto& w : workers)
        w.join();
}
