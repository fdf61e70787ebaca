#include "server/service/board_version.hpp"

#ifndef ORBITRIX_VERSION
#error "ORBITRIX_VERSION is set by the build"
#endif

namespace board {

std::string board_version(Store& store) {
    return std::string("v") + ORBITRIX_VERSION + "-" + std::to_string(store.count(BoardQuery{}));
}

} // namespace board
