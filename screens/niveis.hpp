#pragma once

namespace screens {

// What the four levels change, drawn over the title screen.
void niveis();

} // namespace screens
