#pragma once
// The tunes a frame plays when a life is won or lost, as (hz, ms) pairs.

#include <cstddef>
#include <utility>
#include <vector>

namespace teste {

using Tons = std::vector<std::pair<int, int>>;

// The fast tune: the pick-up sound, and from its tenth note the life-lost one.
inline const Tons TUNE_RAPIDA{{660, 10}, {660, 20}, {734, 10}, {660, 10}, {704, 20}, {660, 10},
                              {704, 10}, {844, 20}, {734, 40}, {550, 10}, {594, 10}, {550, 10},
                              {594, 10}, {660, 20}, {495, 20}, {594, 10}, {550, 10}, {440, 40}};
inline constexpr std::size_t INICIO_DA_PERDA = 9;

inline Tons vezes(int n, const Tons& uma) {
    Tons out;
    for (int i = 0; i < n; ++i)
        out.insert(out.end(), uma.begin(), uma.end());
    return out;
}
inline Tons pega_vida(int n) {
    return vezes(n, TUNE_RAPIDA);
}
inline Tons perde_vida(int n) {
    return vezes(n, Tons(TUNE_RAPIDA.begin() + INICIO_DA_PERDA, TUNE_RAPIDA.end()));
}

} // namespace teste
