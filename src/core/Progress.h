#pragma once

#include <functional>
#include <memory>

namespace varnel::core {

// A progress bar that a long operation advances, one step per record. The
// program shows it in a window; tests record the calls.
class Progress {
public:
    virtual ~Progress() = default;
    // The bar runs from 0 to max and stands at 0; the window is shown
    // without waiting.
    virtual void start(int max) = 0;
    // One more step done.
    virtual void step() = 0;
    // The operation is over (also when it failed): the window is closed.
    virtual void finish() = 0;
};

// For operations run where nobody watches.
class NoProgress : public Progress {
public:
    void start(int) override {}
    void step() override {}
    void finish() override {}
};

// Makes a progress window when an operation needs one.
using ProgressFactory = std::function<std::unique_ptr<Progress>()>;

}  // namespace varnel::core
