#pragma once

#include <functional>
#include <memory>

#include "core/Progress.h"

namespace varnel::core {
struct Context;
}

namespace varnel::app {

using core::Context;
using core::ProgressFactory;

enum class UpgradeOutcome {
    GoOn,     // nothing to do, or a step after which the start goes on
    Restart,  // a step was made that needs a new start: end the run now
    Failed,   // a rebuild failed; its message was shown and the table is as
              // it was (the next start tries again); the rest of the start is
              // not taken
};

// The schema check of a start: reads the kWh cost and the lowest pension from
// "param", then looks for the first missing field of "param" and of
// "Aktualne" and makes at most one upgrade step, telling the user before it
// and, for the steps that need it, asking for a new start after it. Other
// failures of the table engine in opening either table are passed over:
// the openings that follow the check report them.
UpgradeOutcome MakeUpgrade(Context &ctx, const ProgressFactory &progress);

}  // namespace varnel::app
