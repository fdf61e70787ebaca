-- Version 5, on SQLite: what a server needs to carry on a live session it
-- did not open, after a restart or for another server on the same
-- database. The secrets are kept as their SHA-256 only, so the store never
-- holds one a player could send; the session keeps the address it was
-- opened from, for the limits a server applies per address; each game the
-- name and level it was dealt for; each batch the frame it reached and its
-- holds ("[[frame, ms], ...]"), as the replay is fed them. A session's
-- counts of batches and games are what a server compares before it adds to
-- it or ends it: the one that finds them moved knows another server fed
-- the session meanwhile. Sessions opened before this version have no
-- secret any player can send, and are ended as abandoned by the first
-- server that loads them. PostgreSQL's beside this file.
ALTER TABLE live_sessions ADD COLUMN secret_sha256 TEXT NOT NULL DEFAULT '';
ALTER TABLE live_sessions ADD COLUMN client TEXT NOT NULL DEFAULT '';
ALTER TABLE live_sessions ADD COLUMN batches INTEGER NOT NULL DEFAULT 0;
ALTER TABLE live_sessions ADD COLUMN games INTEGER NOT NULL DEFAULT 0;
UPDATE live_sessions SET
    batches = (SELECT COALESCE(MAX(b.seq), 0) FROM live_batches b WHERE b.session_id = live_sessions.id),
    games = (SELECT COUNT(*) FROM live_games g WHERE g.session_id = live_sessions.id);
CREATE INDEX live_sessions_open ON live_sessions (id) WHERE run_id IS NULL;

ALTER TABLE live_games ADD COLUMN secret_sha256 TEXT NOT NULL DEFAULT '';
ALTER TABLE live_games ADD COLUMN name TEXT NOT NULL DEFAULT '';
ALTER TABLE live_games ADD COLUMN level INTEGER NOT NULL DEFAULT 0;

ALTER TABLE live_batches ADD COLUMN frame INTEGER NOT NULL DEFAULT 0;
ALTER TABLE live_batches ADD COLUMN holds TEXT NOT NULL DEFAULT '[]';
