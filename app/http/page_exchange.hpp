#pragma once
// An HTTP exchange the page makes with fetch() while the program goes on:
// started at once, its outcome read at a later look, once it has come. The
// page has one thread, so a wait on the network is a wait of the game's.

#include "app/http/client.hpp"

#include <optional>

namespace http {

class PageExchange {
  public:
    PageExchange(const Request& request, TimeLimits limits);
    // An exchange left unread is abandoned: its answer is dropped.
    ~PageExchange();
    PageExchange(const PageExchange&) = delete;
    PageExchange& operator=(const PageExchange&) = delete;

    // None while the answer is still on its way.
    std::optional<Outcome> outcome();

  private:
    int id_;
};

} // namespace http
