#pragma once
// Runs work(0) ... work(count - 1) spread over every core and returns when
// all are done; each index runs once, on one thread.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include <SDL.h>

namespace mem::make {

template <typename Work>
void on_every_core(size_t count, const Work& work) {
    std::atomic<size_t> next{0};
    auto worker = [&] {
        for (size_t i = next++; i < count; i = next++) work(i);
    };
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    std::vector<std::thread> helpers;
    // SDL keeps an error text for each thread that calls it; a thread that SDL did not start frees it itself.
    for (size_t i = 1; i < std::min(cores, count); ++i) helpers.emplace_back([&] { worker(), SDL_TLSCleanup(); });
    worker();
    for (std::thread& helper : helpers) helper.join();
}

}  // namespace mem::make
