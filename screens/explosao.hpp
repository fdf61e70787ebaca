#pragma once
// The explosion drawn where a special shot detonates and on the title.

namespace screens {

void explosao(int coluna, int linha);

} // namespace screens
