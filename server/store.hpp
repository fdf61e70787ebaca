#pragma once
// What the board keeps, whatever engine keeps it. Every run on the board was
// replayed by the server before it was stored; the store only keeps what the
// replay found. Each engine (SQLite, PostgreSQL) holds the same schema,
// created and migrated at open from the version the database records.

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace board {

// Ranked: played on seeds the server dealt, in real time. Open: replayed
// and proven, but its seeds or pace were the player's own.
enum class Kind { open, ranked };

struct Game {
    std::string name; // as typed, UTF-8
    int start_level = 0;
    int end_level = 0;
    std::int64_t points = 0;
    int lives = 0;
    std::string ending;      // "perdeu", "venceu" or "saiu"
    std::int64_t frames = 0; // the game's length in frames
    Kind kind = Kind::open;
    std::string ticket;      // the ticket a ranked game was dealt; empty when open
    std::string reason = {}; // why an open game is open, one line; empty when ranked
    int holds = 0;           // the times its player held a game played live
};

struct NewRun {
    std::string sha256;           // of `bytes`, lower-case hex
    std::string bytes;            // the recording as it was sent
    std::int64_t received_ms = 0; // the server's clock, ms since the epoch
    std::string made_by;          // the recording's program and platform line
    std::vector<Game> games;
};

struct StoredRun {
    std::int64_t id = 0;
    std::string sha256;
    std::int64_t received_ms = 0;
    std::string made_by;
    std::vector<Game> games;
};

// One game as the board lists it.
struct Placed {
    std::int64_t place = 0; // 1-based, on the board the query asked for
    std::int64_t run_id = 0;
    int game_index = 0; // the game's order within its run, from 0
    std::int64_t received_ms = 0;
    Game game;
};

// Where a page read by keyset starts: just after the row of this sort key
// (the last row of the page before), so page N costs what page 1 does.
struct BoardCursor {
    std::int64_t points = 0;
    std::int64_t received_ms = 0;
    std::int64_t run_id = 0;
    int game_index = 0;
    friend bool operator==(const BoardCursor&, const BoardCursor&) = default;
};

struct BoardQuery {
    std::optional<int> level; // the game's start level, 1 to 4; none: all
    std::optional<Kind> kind; // none: both
    int limit = 100;          // 1 to 100
    std::int64_t offset = 0;
};

// A game's place on the board of all levels and on its own level's board,
// both of both kinds; 0 where that board does not hold it.
struct GamePlaces {
    std::int64_t overall = 0;
    std::int64_t in_level = 0;
};

struct Inserted {
    std::int64_t id = 0;
    bool created = false; // false: the same bytes were stored before
    // A ranked game's ticket was already used (or is unknown): nothing was
    // stored, and the caller may send the run again with those games open.
    bool ticket_taken = false;
};

struct Ticket {
    std::string id;
    std::uint32_t seed = 0;
    std::int64_t issued_ms = 0;
    std::optional<std::int64_t> run_id; // the run that used it
};

// Sessions played live, as the store keeps them: enough for any server on
// the database to carry one on. Times are the board's live clock, ms since
// the epoch.
struct LiveOpened {
    std::int64_t opened_ms = 0;
    std::string secret_sha256; // of the session's secret, hex; the secret is never kept
    std::string client;        // the address it was opened from
};

struct LiveDeal {
    int number = 0; // from 1, in the session
    std::uint32_t seed = 0;
    std::int64_t dealt_ms = 0;
    std::string secret_sha256; // of the game's secret, hex
    std::string name;          // as the player typed it, UTF-8
    int level = 0;             // the level key's code
    friend bool operator==(const LiveDeal&, const LiveDeal&) = default;
};

struct LiveBatch {
    std::int64_t seq = 0; // from 1, in the session
    std::int64_t received_ms = 0;
    std::string lines;
    std::int64_t frame = 0;
    std::string holds; // "[[frame, ms], ...]"
    friend bool operator==(const LiveBatch&, const LiveBatch&) = default;
};

// How a batch's add went: kept, or why not, with the session's batches
// as the store holds them.
struct LiveKept {
    bool kept = false;
    bool ended = false; // the session has its run, or is no session
    std::int64_t batches = 0;
};

struct KeptLive {
    std::int64_t id = 0;
    LiveOpened opened;
    std::optional<std::int64_t> run_id; // once ended
    std::int64_t last_seq = 0;          // its batches' count, kept or in its run
    std::vector<LiveDeal> games;        // every game dealt, in order
    std::vector<LiveBatch> batches;     // those asked for, in order
};

// The PostgreSQL channel a store notifies of each live change, once it is
// committed: "ID:SEQ" for a batch, "ID:deal" for a game dealt, "ID:end"
// for a session ended.
inline constexpr const char* LIVE_CHANNEL = "orbitrix_live";

struct StoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// One connection; not shared between threads: each worker opens its own.
// Every write is committed before the call returns.
class Store {
  public:
    virtual ~Store() = default;

    // The run and its games in one transaction. Runs are unique by sha256:
    // the same bytes sent again, even to another server on the same
    // database at the same moment, return the first run's id.
    virtual Inserted insert_run(const NewRun& run) = 0;

    // Best points first; among equal points the earlier received first,
    // then the lower run id and game index.
    virtual std::vector<Placed> board(const BoardQuery& query) = 0;
    // The same board's rows after `after` in that order (the query's offset
    // ignored), each with its place on the board.
    virtual std::vector<Placed> board_after(const BoardQuery& query, const BoardCursor& after) = 0;
    virtual std::int64_t count(const BoardQuery& query) = 0;

    virtual std::optional<StoredRun> run(std::int64_t id) = 0;
    // The place of each of the run's games on the board `query` names
    // (its limit and offset ignored), in the run's order.
    virtual std::vector<std::int64_t> places(std::int64_t run_id, const BoardQuery& query) = 0;
    // Both places of each of the run's games, in the run's order: what its
    // page and the API show, asked at once.
    virtual std::vector<GamePlaces> run_places(std::int64_t run_id) = 0;
    virtual std::optional<std::string> recording(std::int64_t id) = 0;

    virtual Ticket issue_ticket(std::uint32_t seed, std::int64_t issued_ms) = 0;
    virtual std::optional<Ticket> ticket(const std::string& id) = 0;
    // Forgets the tickets no run can claim any more: those used, and those
    // issued before `issued_before_ms` and never used. Returns how many.
    virtual std::int64_t purge_tickets(std::int64_t issued_before_ms) = 0;

    // Sessions played live. A store that keeps none says so: StoreError.
    // Every change to a session is told to the other servers on the same
    // database, once committed (see LIVE_CHANNEL).
    virtual std::int64_t open_live(const LiveOpened& /*opened*/) { return no_live(); }
    // False, nothing kept: the session ended, or its game `number` was
    // dealt already (by another server: the caller's copy is behind).
    virtual bool deal_live(std::int64_t /*session*/, const LiveDeal& /*deal*/) {
        no_live();
        return false;
    }
    // Kept only when it is the session's next batch and the session has
    // not ended; else the store's count says how it stands.
    virtual LiveKept add_live_batch(std::int64_t /*session*/, const LiveBatch& /*batch*/) {
        no_live();
        return {};
    }
    // The session's run and games, stored as insert_run stores them (its
    // ranked games dealt live, not on tickets), the session marked with it
    // and its batches dropped, in one transaction; none, and nothing
    // stored, unless the session still has exactly `batches` batches and
    // `games` games and no run: the caller's copy of it is behind.
    virtual std::optional<Inserted> end_live(std::int64_t /*session*/, const NewRun& /*run*/,
                                             std::int64_t /*batches*/, int /*games*/) {
        no_live();
        return std::nullopt;
    }
    // The sessions not ended, oldest first.
    virtual std::vector<std::int64_t> open_live_sessions() {
        no_live();
        return {};
    }
    // The session as kept, with its batches after `after_seq` in order.
    virtual std::optional<KeptLive> live_session(std::int64_t /*session*/,
                                                 std::int64_t /*after_seq*/) {
        no_live();
        return std::nullopt;
    }
    // The lines of a session's batches still kept, in their order.
    virtual std::string live_lines(std::int64_t /*session*/) {
        no_live();
        return {};
    }
    // The run a session ended as, once it has.
    virtual std::optional<std::int64_t> live_run(std::int64_t /*session*/) {
        no_live();
        return std::nullopt;
    }

  private:
    [[noreturn]] static std::int64_t no_live() {
        throw StoreError("this store keeps no live sessions");
    }
};

// `database`: a file path for SQLite, or a postgresql:// URL. Creates or
// migrates the schema. Throws StoreError with a one-line reason.
std::unique_ptr<Store> open_store(const std::string& database);
// Whether `database` names a PostgreSQL database rather than a SQLite file.
bool is_postgres_url(std::string_view database);

} // namespace board
