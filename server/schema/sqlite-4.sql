-- Version 4, on SQLite: games played live. A session's batches are kept as
-- they come, each committed before it is acknowledged, so a server that
-- restarts finds them; once the session ends they become its run, and are
-- dropped. Each game keeps why it is open, and how often its player held
-- it. PostgreSQL's beside this file.
ALTER TABLE games ADD COLUMN reason TEXT NOT NULL DEFAULT '';
ALTER TABLE games ADD COLUMN holds INTEGER NOT NULL DEFAULT 0;

CREATE TABLE live_sessions (
    id INTEGER PRIMARY KEY,
    opened_ms INTEGER NOT NULL,
    run_id INTEGER REFERENCES runs (id)
);

CREATE TABLE live_games (
    session_id INTEGER NOT NULL REFERENCES live_sessions (id),
    number INTEGER NOT NULL,
    seed INTEGER NOT NULL,
    dealt_ms INTEGER NOT NULL,
    PRIMARY KEY (session_id, number)
);

CREATE TABLE live_batches (
    session_id INTEGER NOT NULL REFERENCES live_sessions (id),
    seq INTEGER NOT NULL,
    received_ms INTEGER NOT NULL,
    lines TEXT NOT NULL,
    PRIMARY KEY (session_id, seq)
);
