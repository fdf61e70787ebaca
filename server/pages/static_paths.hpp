#pragma once
// Where the pages find the files the server serves from its own web folder,
// and the one policy every page is sent with: nothing loads from another
// host. The player runs its terminal in WebAssembly, which a policy must
// allow by name even from this host. The one style hash is the empty
// text's: the game's terminal leaves its <style> elements empty and puts
// its rules in through the CSSOM (see play.js).

#include <string_view>

namespace board::pages {

inline constexpr std::string_view STATIC_PREFIX = "/static/";
inline constexpr std::string_view STYLESHEET = "/static/orbitrix.css";
inline constexpr std::string_view ICON = "/static/favicon.svg";
inline constexpr std::string_view PLAYER_SCRIPT = "/static/asciinema-player.min.js";
inline constexpr std::string_view PLAYER_STYLESHEET = "/static/asciinema-player.css";
inline constexpr std::string_view RUN_SCRIPT = "/static/run.js";
inline constexpr std::string_view LIVE_SCRIPT = "/static/live.js";
inline constexpr std::string_view TERMINAL_SCRIPT = "/static/xterm.js";
inline constexpr std::string_view TERMINAL_STYLESHEET = "/static/xterm.css";
inline constexpr std::string_view GAME_SCRIPT = "/static/orbitrix.js";
inline constexpr std::string_view PLAY_SCRIPT = "/static/play.js";
inline constexpr std::string_view BOARD_SCRIPT = "/static/board.js";

inline constexpr std::string_view CONTENT_SECURITY_POLICY =
    "default-src 'self'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self' "
    "'sha256-47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU='; "
    "img-src 'self'; connect-src 'self'; object-src 'none'; base-uri 'none'; "
    "form-action 'self'; frame-ancestors 'none'";

} // namespace board::pages
