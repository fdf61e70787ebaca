#pragma once
// How an answer goes on the wire for the request that asked: a part of it
// for one Range, gzipped for a client that takes gzip.

#include "server/http/message.hpp"

namespace board::http {

// `answer` as sent to `request`: a 206 of the one range asked, or a 416,
// where the answer allows ranges and is large enough (byte_range.hpp);
// else, when it is worth it and the client takes it, gzipped.
Response coded_for(const Request& request, Response answer);

} // namespace board::http
