#pragma once
// The console colours the game draws in. Bit 0 is blue, bit 1 green, bit 2
// red and bit 3 brightness; the background is always black.

namespace screens {

inline constexpr int PRETO = 0;
inline constexpr int VERDE = 2;
inline constexpr int VERMELHO = 4;
inline constexpr int AMARELO = 14;
inline constexpr int BRANCO = 15;

} // namespace screens
