#pragma once
// The console set-up at each game: the cursor hidden, the window enlarged.

namespace screens {

void ocultarampliar();

} // namespace screens
