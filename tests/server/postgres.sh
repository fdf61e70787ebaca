# A new, empty database on the cluster the ctest fixture started
# (scripts/pg-cluster, its state in ORBITRIX_PG_STATE), in $database.
# Sourced by scripts that define fail.
use_postgres() {
    local url name="board_$$_$RANDOM"
    url=$(cat "${ORBITRIX_PG_STATE:-}/url") || fail "no PostgreSQL cluster: run through ctest"
    psql -qX "$url" -c "CREATE DATABASE $name" >/dev/null || fail "cannot create $name"
    database=${url/\/orbitrix\?//$name?}
}
