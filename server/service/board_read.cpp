#include "server/service/board_read.hpp"

#include "server/http/answer_coding.hpp"
#include "server/service/board_version.hpp"

namespace board {

http::Response board_read(const http::Request& request, Store& store, MadeAnswers& made,
                          const std::string& content_type,
                          const std::function<std::optional<std::string>()>& make,
                          const std::function<http::Response()>& missing) {
    std::string version = board_version(store);
    if (auto kept = http::not_modified(request, version))
        return std::move(*kept);
    // The version first: a body made after it is of that version or a
    // later one, and a later one's version is asked again next time.
    const std::string key = version + " " + request.target;
    std::shared_ptr<const std::string> body = made.find(key);
    if (!body) {
        std::optional<std::string> fresh = make();
        if (!fresh)
            return missing();
        body = std::make_shared<const std::string>(std::move(*fresh));
        made.keep(key, body);
    }
    http::Response answer;
    answer.content_type = content_type;
    answer.body = *body;
    answer.version = std::move(version);
    return answer;
}

} // namespace board
