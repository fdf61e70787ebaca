-- The board's first schema, on SQLite. PostgreSQL holds the same tables,
-- columns and indexes in its own dialect beside this file.
CREATE TABLE IF NOT EXISTS meta (
    key TEXT PRIMARY KEY,
    value TEXT NOT NULL
);

CREATE TABLE runs (
    id INTEGER PRIMARY KEY,
    sha256 TEXT NOT NULL UNIQUE,
    bytes BLOB NOT NULL,
    received_ms INTEGER NOT NULL,
    made_by TEXT NOT NULL,
    "cast" TEXT
);

-- Each game keeps its run's time of receipt, so the board's order is one
-- index and a page of it one range scan.
CREATE TABLE games (
    run_id INTEGER NOT NULL REFERENCES runs (id),
    idx INTEGER NOT NULL,
    name TEXT NOT NULL,
    start_level INTEGER NOT NULL,
    end_level INTEGER NOT NULL,
    points INTEGER NOT NULL,
    lives INTEGER NOT NULL,
    ending TEXT NOT NULL,
    frames INTEGER NOT NULL,
    kind TEXT NOT NULL,
    ticket TEXT,
    received_ms INTEGER NOT NULL,
    PRIMARY KEY (run_id, idx)
);

CREATE INDEX games_board_all ON games (points DESC, received_ms, run_id, idx);
CREATE INDEX games_board_level ON games (start_level, points DESC, received_ms, run_id, idx);
CREATE INDEX games_board_kind ON games (kind, points DESC, received_ms, run_id, idx);
CREATE INDEX games_board_level_kind
    ON games (start_level, kind, points DESC, received_ms, run_id, idx);

-- How many games each board holds (level 0: all levels), kept with every
-- insert so a page's total is one row and not a scan.
CREATE TABLE board_counts (
    level INTEGER NOT NULL,
    kind TEXT NOT NULL,
    n INTEGER NOT NULL,
    PRIMARY KEY (level, kind)
);

CREATE TABLE tickets (
    id TEXT PRIMARY KEY,
    seed INTEGER NOT NULL,
    issued_ms INTEGER NOT NULL,
    run_id INTEGER REFERENCES runs (id)
);
