#include "app/submit/submit_command.hpp"

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
