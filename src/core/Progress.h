#pragma once

#include <functional>
#include <memory>

namespace varnel::core {

// A progress bar that a long operation advances, one step per record. The
// program shows it in a window; tests record the calls. data::walk drives it
// for every walk over a table.
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
    // Asked after each step: false stops the operation after the record
    // just done (a window with a stop button answers here).
    virtual bool goOn() { return true; }
};

// For operations run where nobody watches.
class NoProgress : public Progress {
public:
    void start(int) override {}
    void step() override {}
    void finish() override {}
};

// Starts a progress with its number of steps and finishes it however the
// scope is left (a failure of finish() itself is not passed on).
class ShownProgress {
public:
    ShownProgress(Progress &p, int max) : m_p(p) { m_p.start(max); }
    ~ShownProgress() {
        try {
            m_p.finish();
        } catch (...) {
        }
    }
    ShownProgress(const ShownProgress &) = delete;
    ShownProgress &operator=(const ShownProgress &) = delete;

private:
    Progress &m_p;
};

// Makes a progress window when an operation needs one.
using ProgressFactory = std::function<std::unique_ptr<Progress>()>;

}  // namespace varnel::core
