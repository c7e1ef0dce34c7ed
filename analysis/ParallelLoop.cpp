#include "analysis/ParallelLoop.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

void ParallelLoop(int count, int threads, const std::function<void(int)>& f) {
    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::clamp(threads, 1, std::max(1, count));
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i = next++; i < count; i = next++)
            f(i);
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (auto& w : workers)
        w.join();
}
