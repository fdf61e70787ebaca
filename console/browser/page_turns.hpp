#pragma once
// Work the program does while the game waits in the page. A page has one
// thread: what a terminal program would do on a thread of its own (the
// live session's batches) takes its turns at the game's waits instead,
// each turn short, so the game keeps its time.

#include <functional>

namespace console::browser {

// Each turn calls `work` while this lives; one at a time.
class AtEachTurn {
  public:
    explicit AtEachTurn(std::function<void()> work);
    ~AtEachTurn();
    AtEachTurn(const AtEachTurn&) = delete;
    AtEachTurn& operator=(const AtEachTurn&) = delete;
};

// A turn: the work given, if any, then the page's own turn of `ms`.
void take_turn(int ms);

} // namespace console::browser
