// Playing the picture search step: the step's pictures looked for on fresh
// captures of the screen until they appear or the timeout passes, then the
// cursor moved to the one found and clicked, as the step says.
//
// A search is traced: `picture found <n> <left> <top> <right> <bottom>` when
// picture n (1 the main one, 2 to 5 the further ones) is found, and when the
// step gives up, for each picture looked for, `picture missed <n> best <x>
// <y> <similarity>`: the place that came closest in the last search and the
// highest whole percent at which it would have matched (`best none` when the
// picture fits nowhere it was looked for).
#pragma once

namespace ovrix {

class StepKinds;

// The row of the picture search step.
void AddPictureSteps(StepKinds& kinds);

}  // namespace ovrix
