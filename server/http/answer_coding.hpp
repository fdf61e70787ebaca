#pragma once
// How an answer goes on the wire for the request that asked: 304 for a
// client that has it already, a part of it for one Range, gzipped for a
// client that takes gzip.

#include "server/bytes_cache.hpp"
#include "server/http/message.hpp"

#include <optional>
#include <string_view>

namespace board::http {

// `answer` as sent to `request`. A 200 is tagged with an ETag of its
// version where it has one, else of its bytes; an If-None-Match that names it gets 304 and no body.
// Else a 206 of the one range asked, or a 416, where the answer allows ranges and is large enough
// (byte_range.hpp); else, when it is worth it and the client takes it, gzipped, under a tag of its
// own. Refusals are not kept. `gzipped`, when given, keeps the gzip forms of files (answers that
// allow ranges, which do not change under their tag): a stranger who asks for the player's script
// or a long cast again and again costs a lookup, not the compression.
Response coded_for(const Request& request, Response answer,
                   BytesCache<std::string>* gzipped = nullptr);

// A 304 for a request whose If-None-Match names `version`'s tag in either
// form: the answer is not made at all. None for any other request, and for
// "*", which coded_for answers once the answer is made.
std::optional<Response> not_modified(const Request& request, std::string_view version);

// The strong tag of a body's bytes, quoted; `gzipped` names the gzip form.
std::string entity_tag(std::string_view body, bool gzipped);

// Whether an If-None-Match value names `tag` (or is "*"); weak tags compare
// by their opaque part, as the header asks.
bool names_tag(std::string_view if_none_match, std::string_view tag);

} // namespace board::http
