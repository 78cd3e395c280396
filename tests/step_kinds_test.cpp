// The table of step kinds: every id made, saved, loaded and compared through
// its row; and the dispatch of ExecuteStep through the row.
#include <gtest/gtest.h>

#include "shell/StepKindsAll.h"

namespace ovrix {
namespace {

// Every test of this program loads and plays with the player's table, as the
// driver installs it for a playback.
const StepKindsScope kPlayerKinds(PlayerStepKinds());

}  // namespace
}  // namespace ovrix
