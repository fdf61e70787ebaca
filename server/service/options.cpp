#include "server/service/options.hpp"

#include <algorithm>

#include <charconv>
#include <chrono>
#include <optional>
#include <string_view>

#ifndef ORBITRIX_VERSION
#error "the build names the program's version"
#endif
#ifndef ORBITRIX_WEB_DIR
#error "the build names where the pages' files are installed"
#endif

namespace board {
namespace {

constexpr int MOST_WORKERS = 64;
constexpr int MOST_WAITING = 1024;

std::optional<int> count(std::string_view text, int least, int most) {
    int v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || v < least ||
        v > most)
        return std::nullopt;
    return v;
}

// HOST:PORT; the host may be [v6] or a name.
bool read_listen(std::string_view text, ServiceConfig& config) {
    const auto colon = text.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        return false;
    std::string_view host = text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    const auto port = count(text.substr(colon + 1), 0, 65535);
    if (!port || host.empty())
        return false;
    config.host = std::string(host);
    config.port = *port;
    return true;
}

// The limits on what one client may take, at the HTTP edge and in live
// sessions: each a whole number in its range, into its field.
struct EdgeFlag {
    std::string_view name;
    int least;
    int most;
    void (*set)(ServiceConfig&, int);
};

constexpr EdgeFlag EDGE_FLAGS[] = {
    {"--header-limit", 1024, 1 << 20,
     [](ServiceConfig& c, int v) { c.edge.header_bytes = static_cast<std::size_t>(v); }},
    {"--header-lines", 8, 10'000,
     [](ServiceConfig& c, int v) { c.edge.header_lines = static_cast<std::size_t>(v); }},
    {"--request-timeout", 1, 3600,
     [](ServiceConfig& c, int v) { c.edge.request_time = std::chrono::seconds(v); }},
    {"--idle-timeout", 1, 3600,
     [](ServiceConfig& c, int v) { c.edge.idle_time = std::chrono::seconds(v); }},
    {"--send-timeout", 1, 3600,
     [](ServiceConfig& c, int v) { c.edge.send_time = std::chrono::seconds(v); }},
    {"--max-connections", 1, 1'000'000,
     [](ServiceConfig& c, int v) { c.edge.connections = static_cast<std::size_t>(v); }},
    {"--max-connections-per-address", 1, 1'000'000,
     [](ServiceConfig& c, int v) { c.edge.connections_per_address = static_cast<std::size_t>(v); }},
    {"--live-sessions-per-address", 1, 1'000'000,
     [](ServiceConfig& c, int v) { c.live.sessions_per_address = v; }},
    {"--watchers-per-address", 1, 1'000'000,
     [](ServiceConfig& c, int v) { c.live.watchers_per_address = v; }},
    {"--live-grace", 1, 30,
     [](ServiceConfig& c, int v) { c.live.grace_ms = std::int64_t{v} * 1000; }},
    {"--live-delay", 0, 3600,
     [](ServiceConfig& c, int v) { c.live.delay_ms = std::int64_t{v} * 1000; }},
};

const EdgeFlag* edge_flag(std::string_view name) {
    for (const EdgeFlag& flag : EDGE_FLAGS)
        if (flag.name == name)
            return &flag;
    return nullptr;
}

} // namespace

std::string help_text() {
    return "Usage: orbitrix-server [OPTION]...\n"
           "The Orbitrix board: takes recordings of sessions over HTTP, replays each one\n"
           "itself and ranks only the games its own replay confirms.\n"
           "\n"
           "  -h, --help          show this help and exit\n"
           "  -V, --version       show the version and exit\n"
           "      --listen HOST:PORT\n"
           "                      the address to serve on (127.0.0.1:8080); a public board\n"
           "                      sits behind a TLS proxy\n"
           "      --database PATH|postgresql://URL\n"
           "                      an SQLite file, made when missing, or a PostgreSQL\n"
           "                      database ($XDG_DATA_HOME/orbitrix/board.sqlite3)\n"
           "      --workers N     threads that replay submissions (1 to 64; 2)\n"
           "      --queue N       replays waiting for a worker before the server answers\n"
           "                      503 (0 to 1024; 4)\n"
           "      --submissions-per-minute N\n"
           "                      from one address before it answers 429 (0 for no limit;\n"
           "                      30)\n"
           "      --cast-cache MIB\n"
           "                      the run pages' casts kept in memory, the least recently\n"
           "                      played going first (0 to 65536; 256)\n"
           "      --trusted-proxy ADDR\n"
           "                      a proxy whose X-Forwarded-For names the client: an\n"
           "                      address or a CIDR block, IPv4 or IPv6; repeatable (none:\n"
           "                      the peer is the client); a board behind nginx on the same\n"
           "                      machine gives 127.0.0.1\n"
           "      --web DIR       the files the pages load from /static/ (else the first\n"
           "                      of web/ beside the program, ../share/orbitrix/web\n"
           "                      from it, and " ORBITRIX_WEB_DIR "\n"
           "                      that holds them)\n"
           "\n"
           "What one client may take (a limit passed gets its 4xx and one log line):\n"
           "      --header-limit BYTES\n"
           "                      the request line and headers (1024 to 1048576; 8192):\n"
           "                      431\n"
           "      --header-lines N\n"
           "                      header lines (8 to 10000; 64): 431\n"
           "      --request-timeout SECONDS\n"
           "                      to send a whole request, line, headers and body (1 to\n"
           "                      3600; 10): 408\n"
           "      --idle-timeout SECONDS\n"
           "                      a kept-alive connection between requests (1 to 3600; 30)\n"
           "      --send-timeout SECONDS\n"
           "                      an answer's reader without progress (1 to 3600; 30)\n"
           "      --max-connections N\n"
           "                      open at once, in all (1 to 1000000; 10000): 503\n"
           "      --max-connections-per-address N\n"
           "                      open at once from one address; a --trusted-proxy is\n"
           "                      exempt (1 to 1000000; 256): 429\n"
           "      --live-sessions-per-address N\n"
           "                      live sessions open at once from one address (1 to\n"
           "                      1000000; 4): 429\n"
           "      --watchers-per-address N\n"
           "                      live streams watched at once from one address (1 to\n"
           "                      1000000; 32): 429\n"
           "      --live-grace SECONDS\n"
           "                      a live session without a batch for this long is ended\n"
           "                      where its replay stands, its game open (1 to 30; 10)\n"
           "      --live-delay SECONDS\n"
           "                      watchers see each live game this much later than it\n"
           "                      is played, its points on /api/live too (0 to 3600; 0)\n"
           "\n"
           "Pages: GET / (the board), GET /runs/ID (a run, played), GET /runs/ID.cast,\n"
           "GET /live/ID (a session as it is played).\n"
           "API: POST /api/runs, GET /api/board, GET /api/runs/ID, GET /runs/ID.replay,\n"
           "GET /healthz; live sessions: POST /api/live, POST /api/live/ID/games,\n"
           "POST /api/live/ID/batches, GET /api/live, GET /api/live/ID/stream.\n"
           "One log line a request on standard error.\n"
           "\n"
           "Exit status:\n"
           "  0  the help or the version was shown, or the server was stopped (SIGTERM,\n"
           "     SIGINT)\n"
           "  1  the database cannot be opened, the address cannot be listened on, or\n"
           "     the pages' files are not found\n"
           "  2  a wrong command line\n";
}

std::string version_text() {
    return std::string("orbitrix-server ") + ORBITRIX_VERSION + "\n";
}

std::string default_database(const char* xdg_data_home, const char* home) {
    if (xdg_data_home && *xdg_data_home)
        return std::string(xdg_data_home) + "/orbitrix/board.sqlite3";
    if (home && *home)
        return std::string(home) + "/.local/share/orbitrix/board.sqlite3";
    return {};
}

std::string database_for_log(const std::string& database) {
    std::string shown = database;
    const std::size_t scheme = shown.find("://");
    if (scheme == std::string::npos)
        return shown;
    const std::size_t authority = scheme + 3;
    // The user part ends at the authority's last '@': a password may hold one.
    const std::size_t path = std::min(shown.find_first_of("/?", authority), shown.size());
    const std::size_t at = shown.rfind('@', path);
    if (at != std::string::npos && at >= authority) {
        const std::size_t colon = shown.find(':', authority);
        if (colon != std::string::npos && colon < at)
            shown.replace(colon + 1, at - colon - 1, "***");
    }
    for (std::size_t key = shown.find("password=", authority); key != std::string::npos;
         key = shown.find("password=", key + 1)) {
        const char before = shown[key - 1];
        if (before != '?' && before != '&')
            continue;
        const std::size_t value = key + 9;
        const std::size_t end = std::min(shown.find('&', value), shown.size());
        shown.replace(value, end - value, "***");
    }
    return shown;
}

Command read_command_line(const std::vector<std::string>& args) {
    Run run;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "-h" || arg == "--help")
            return ShowHelp{};
        if (arg == "-V" || arg == "--version")
            return ShowVersion{};
        if (arg.size() > 2 && arg[0] == '-' && arg[1] != '-') {
            // Bundled short options: the first one decides.
            if (arg[1] == 'h')
                return ShowHelp{};
            if (arg[1] == 'V')
                return ShowVersion{};
            return BadCommandLine{"unknown option '-" + std::string(1, arg[1]) + "'"};
        }
        if (!arg.starts_with("--"))
            return BadCommandLine{"unexpected argument '" + std::string(arg) + "'"};
        std::string name(arg);
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            name = std::string(arg.substr(0, eq));
            value = std::string(arg.substr(eq + 1));
        }
        const EdgeFlag* edge = edge_flag(name);
        const bool known = name == "--listen" || name == "--database" || name == "--workers" ||
                           name == "--queue" || name == "--submissions-per-minute" ||
                           name == "--cast-cache" || name == "--web" || name == "--trusted-proxy" ||
                           edge;
        if (!known)
            return BadCommandLine{"unknown option '" + name + "'"};
        if (!value) {
            if (i + 1 == args.size())
                return BadCommandLine{"option '" + name + "' needs a value"};
            value = args[++i];
        }
        const auto bad = [&] { return BadCommandLine{"bad value '" + *value + "' for " + name}; };
        if (edge) {
            const auto n = count(*value, edge->least, edge->most);
            if (!n)
                return bad();
            edge->set(run.config, *n);
        } else if (name == "--listen") {
            if (!read_listen(*value, run.config))
                return bad();
        } else if (name == "--database") {
            if (value->empty())
                return bad();
            run.config.database = *value;
            run.database_given = true;
        } else if (name == "--web") {
            if (value->empty())
                return bad();
            run.config.web_dir = *value;
        } else if (name == "--cast-cache") {
            const auto n = count(*value, 0, 65536);
            if (!n)
                return bad();
            run.config.cast_cache_bytes = static_cast<std::size_t>(*n) << 20;
        } else if (name == "--trusted-proxy") {
            const auto block = http::parse_cidr(*value);
            if (!block)
                return bad();
            run.config.trusted_proxies.push_back(*block);
        } else if (name == "--workers") {
            const auto n = count(*value, 1, MOST_WORKERS);
            if (!n)
                return bad();
            run.config.workers = *n;
        } else if (name == "--queue") {
            const auto n = count(*value, 0, MOST_WAITING);
            if (!n)
                return bad();
            run.config.waiting = static_cast<std::size_t>(*n);
        } else {
            const auto n = count(*value, 0, 1'000'000);
            if (!n)
                return bad();
            run.config.submissions_per_minute = *n;
        }
    }
    return run;
}

} // namespace board
