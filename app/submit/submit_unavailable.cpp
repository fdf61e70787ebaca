#include "app/submit/ranked_command.hpp"

#include <ostream>

// A build without libcurl or nlohmann-json still takes --submit, and says
// what it lacks.
namespace submit {

int submit_file(const std::string&, const std::optional<std::string>&, std::ostream&,
                std::ostream& err) {
    err << "orbitrix: this build cannot send recordings: it was made without libcurl "
           "(libcurl4-openssl-dev) or nlohmann-json (nlohmann-json3-dev)"
        << std::endl;
    return NOT_STORED;
}

} // namespace submit

namespace submit {

http::Outcome send_to_board(const http::Request&) {
    return http::Failure{"this build has no HTTP client"};
}

std::variant<RankedStart, int> start_ranked(const std::optional<std::string>&,
                                            const std::vector<std::string>&,
                                            const std::optional<std::string>&, std::ostream& err) {
    err << "orbitrix: this build cannot play ranked: it was made without libcurl "
           "(libcurl4-openssl-dev) or nlohmann-json (nlohmann-json3-dev)"
        << std::endl;
    return NOT_STORED;
}

} // namespace submit
