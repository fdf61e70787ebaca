#pragma once
// The explosion, the game's tunes and the console set-up at each game.

namespace screens {

void explosao(int coluna, int linha);

// The life-lost sound: the tune's second half, fast.
void beeps();
// The pick-up sound: the whole tune, fast.
void beeps2();
// The tune as the title sequence and the completion screen play it.
void tune_titulo();
void tune_zerado();

void ocultarampliar();

} // namespace screens
