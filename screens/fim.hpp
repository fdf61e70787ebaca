#pragma once
// The two end screens.

namespace screens {

void gameover(int pontos, int nivel);
void zerado();

} // namespace screens
