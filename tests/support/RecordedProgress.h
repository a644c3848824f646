#pragma once

#include "core/Progress.h"

#include <stdexcept>

namespace varnel::test {

// A progress that records how it was driven; it can fail at a step or ask
// to stop after one.
struct RecordedProgress : core::Progress {
    int max = -1, steps = 0, starts = 0, finished = 0;
    int failAtStep = 0;  // 0: never
    int stopAtStep = 0;  // 0: never

    void start(int m) override {
        max = m;
        ++starts;
    }
    void step() override {
        if (++steps == failAtStep)
            throw std::runtime_error("przerwano");
    }
    void finish() override { ++finished; }
    bool goOn() override { return steps != stopAtStep; }
};

}  // namespace varnel::test
