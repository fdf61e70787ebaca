#pragma once
// The double-line box-drawing bytes the frames are drawn with.

namespace screens {

inline constexpr int HORIZONTAL = 205;
inline constexpr int VERTICAL = 186;
inline constexpr int CANTO_SUP_ESQ = 201;
inline constexpr int CANTO_SUP_DIR = 187;
inline constexpr int CANTO_INF_ESQ = 200;
inline constexpr int CANTO_INF_DIR = 188;
inline constexpr int JUNCAO_TOPO = 203;
inline constexpr int JUNCAO_BASE = 202;
inline constexpr int JUNCAO_ESQ = 204;
inline constexpr int JUNCAO_DIR = 185;

} // namespace screens
