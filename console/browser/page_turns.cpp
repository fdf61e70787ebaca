#include "console/browser/page_turns.hpp"

#include "console/browser/page_bridge.hpp"

#include <utility>

namespace console::browser {
namespace {

// The page's one thread has one such slot.
std::function<void()>& turn_work() {
    static std::function<void()> work;
    return work;
}

} // namespace

AtEachTurn::AtEachTurn(std::function<void()> work) {
    turn_work() = std::move(work);
}

AtEachTurn::~AtEachTurn() {
    turn_work() = nullptr;
}

void take_turn(int ms) {
    if (const auto& work = turn_work())
        work();
    yield_to_page(ms);
}

} // namespace console::browser
