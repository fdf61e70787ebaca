// A live game's batch and deal as a stranger sends them, and the batch's
// recording lines: reading may refuse but never crash or trip a sanitizer,
// and what is taken stays within the limits the board counts on.
#include "server/live/batch_body.hpp"
#include "server/live/stream_lines.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what) {
    std::fprintf(stderr, "fault: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto batch = live::read_batch(text);
    if (const auto* b = std::get_if<live::BatchBody>(&batch)) {
        if (b->seq < 1 || b->frame < 0 || b->lines.size() > live::MOST_BATCH_LINE_BYTES ||
            b->holds.size() > live::MOST_BATCH_HOLDS)
            fault("a batch taken outside its limits");
        for (const live::BatchHold& h : b->holds)
            if (h.frame < 0 || h.ms < 0)
                fault("a hold taken outside its limits");
    }
    const auto deal = live::read_deal(text);
    if (const auto* d = std::get_if<live::DealBody>(&deal))
        if (d->level < 0 || d->level > 255 || d->secret.empty())
            fault("a deal taken outside its limits");
    for (const bool first : {true, false})
        (void)live::StreamLines::read(text, first);
    return 0;
}
