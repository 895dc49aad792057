#pragma once

#include "collect/run_state.h"

// The steps of one collection run, in the order the run calls them.
namespace tessaly {

// True when the run may go on.
bool VersionGate(RunState& state);
// True when the run may go on; false after the anti-scraping wall.
bool ProductStep(RunState& state);
// Each acts only when its check box is ticked and always lets the run go on.
void MainImageStep(RunState& state);
void DescriptionImageStep(RunState& state);
void SkuImageStep(RunState& state);

}  // namespace tessaly
