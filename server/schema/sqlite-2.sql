-- Version 2, on SQLite: a histogram of each board's points (how many games
-- it holds at each number of points), kept with every insert. Points are
-- bounded, so a game's place is a sum over the rows above its points (one a
-- number of points, however many games) plus the ties received before it,
-- not a count of every game ahead. Level 0 is the board of all levels; a
-- board of both kinds adds its two rows. PostgreSQL's beside this file.
CREATE TABLE point_counts (
    level INTEGER NOT NULL,
    kind TEXT NOT NULL,
    points INTEGER NOT NULL,
    games INTEGER NOT NULL,
    PRIMARY KEY (level, kind, points)
);

INSERT INTO point_counts (level, kind, points, games)
SELECT 0, kind, points, COUNT(*) FROM games GROUP BY kind, points;

INSERT INTO point_counts (level, kind, points, games)
SELECT start_level, kind, points, COUNT(*) FROM games GROUP BY start_level, kind, points;
