#pragma once
// The clock of a ranked session: each game reads the seed of the ticket a
// board dealt it, where --seed would answer the chosen seed. The first
// ticket is in hand before the session; each later one is asked for as its
// game begins. A game whose ticket cannot be had reads the machine's clock
// and counts as open.

#include "console/forwarding_platform.hpp"
#include "game/resultado.hpp"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace submit {

struct DealtTicket {
    std::string id;
    std::uint32_t seed = 0;
};

struct TicketDealer {
    std::optional<DealtTicket> first;
    std::function<std::optional<DealtTicket>()> next;
    // Each begun game's ticket id, in order; empty for a game without one.
    std::vector<std::string> dealt = {};
};

class TicketedClock : public console::ForwardingPlatform, public game::Observador {
  public:
    TicketedClock(console::Platform& inner, TicketDealer& dealer)
        : ForwardingPlatform(inner), dealer_(dealer) {}

    std::int64_t time() override {
        return current_ ? std::int64_t{current_->seed} : ForwardingPlatform::time();
    }
    void partida_comeca() override {
        current_ = dealer_.dealt.empty() ? dealer_.first : dealer_.next();
        dealer_.dealt.push_back(current_ ? current_->id : std::string());
    }

  private:
    TicketDealer& dealer_;
    std::optional<DealtTicket> current_;
};

} // namespace submit
