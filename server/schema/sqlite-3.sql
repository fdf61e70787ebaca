-- Version 3, on SQLite: the same histogram summed again in buckets of 128
-- points (bucket = points / 128), kept with every insert. A game ends at
-- 30,000 points, so a board has at most about 240 buckets and a bucket at
-- most 128 rows of point_counts: a game's place is a sum over the buckets
-- above its own, the rows of its own bucket above its points, and the ties
-- received before it, whatever the board's size. PostgreSQL's beside this
-- file; the width is the store's BUCKET_POINTS too.
CREATE TABLE point_buckets (
    level INTEGER NOT NULL,
    kind TEXT NOT NULL,
    bucket INTEGER NOT NULL,
    games INTEGER NOT NULL,
    PRIMARY KEY (level, kind, bucket)
);

INSERT INTO point_buckets (level, kind, bucket, games)
SELECT level, kind, points / 128, SUM(games) FROM point_counts
GROUP BY level, kind, points / 128;
