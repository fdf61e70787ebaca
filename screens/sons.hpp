#pragma once
// The game's tunes.

namespace screens {

// The life-lost sound: the tune's second half, fast.
void beeps();
// The pick-up sound: the whole tune, fast.
void beeps2();
// The tune as the title sequence and the completion screen play it.
void tune_titulo();
void tune_zerado();

} // namespace screens
