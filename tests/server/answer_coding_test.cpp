// How an answer is sent for the request that asked: tagged, 304 for a
// client that has it, cut to one range, gzipped; refusals never kept.
#include "server/http/answer_coding.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace board::http;

std::string header(const Response& r, std::string_view name) {
    for (const auto& [key, value] : r.headers)
        if (key == name)
            return value;
    return {};
}

TEST(AnswerCoding, TagsWhatItSendsAndAnswers304ToWhoHasIt) {
    const std::string page(4000, 'p');
    const std::string big(2u << 20, 'b');
    const std::string plain = entity_tag(page, false);
    const std::string gzipped = entity_tag(page, true);
    EXPECT_NE(plain, gzipped);
    EXPECT_NE(plain, entity_tag(std::string(4000, 'q'), false));
    struct Case {
        const char* what;
        std::string method;
        Fields asked;
        int status; // of the answer before coding
        std::string body;
        bool ranges;
        int sent_status;
        std::string etag;
        std::string encoding;
        std::string cache_control;
    };
    const Case cases[] = {
        {"a page", "GET", {}, 200, page, false, 200, plain, "", "no-cache"},
        {"a page, gzipped",
         "GET",
         {{"Accept-Encoding", "gzip"}},
         200,
         page,
         false,
         200,
         gzipped,
         "gzip",
         "no-cache"},
        {"kept", "GET", {{"If-None-Match", plain}}, 200, page, false, 304, plain, "", "no-cache"},
        {"kept gzipped",
         "GET",
         {{"If-None-Match", gzipped}, {"Accept-Encoding", "gzip"}},
         200,
         page,
         false,
         304,
         gzipped,
         "",
         "no-cache"},
        {"kept, named weak among others",
         "HEAD",
         {{"If-None-Match", "\"x\", W/" + plain}},
         200,
         page,
         false,
         304,
         plain,
         "",
         "no-cache"},
        {"kept, any",
         "GET",
         {{"If-None-Match", "*"}},
         200,
         page,
         false,
         304,
         plain,
         "",
         "no-cache"},
        {"an older copy",
         "GET",
         {{"If-None-Match", entity_tag("old", false)}},
         200,
         page,
         false,
         200,
         plain,
         "",
         "no-cache"},
        {"a range",
         "GET",
         {{"Range", "bytes=0-9"}},
         200,
         big,
         true,
         206,
         entity_tag(big, false),
         "",
         "no-cache"},
        {"a refusal", "GET", {{"If-None-Match", "*"}}, 404, page, false, 404, "", "", "no-store"},
        {"a post", "POST", {{"If-None-Match", "*"}}, 200, page, false, 200, "", "", "no-cache"},
    };
    for (const auto& c : cases) {
        Request request;
        request.method = c.method;
        request.target = "/";
        request.headers = c.asked;
        Response answer;
        answer.status = c.status;
        answer.content_type = "text/html; charset=utf-8";
        answer.body = c.body;
        answer.ranges = c.ranges;
        const Response sent = coded_for(request, answer);
        EXPECT_EQ(sent.status, c.sent_status) << c.what;
        EXPECT_EQ(header(sent, "ETag"), c.etag) << c.what;
        EXPECT_EQ(header(sent, "Content-Encoding"), c.encoding) << c.what;
        EXPECT_EQ(sent.cache_control, c.cache_control) << c.what;
        if (c.sent_status == 304) {
            EXPECT_TRUE(sent.body.empty()) << c.what;
        }
    }
}

// An answer whose version is known before it is made: its tags name the
// version in both forms, and a request that holds either is answered 304
// before anything is made; the tags of another version are not kept.
TEST(AnswerCoding, AVersionedAnswerIsKeptByItsVersionWithoutBeingMade) {
    const std::string page(4000, 'p');
    Request any;
    any.method = "GET";
    any.target = "/api/board";
    Response versioned;
    versioned.body = page;
    versioned.version = "v1-42";
    const Response sent = coded_for(any, versioned);
    EXPECT_EQ(header(sent, "ETag"), "\"v1-42\"");
    any.headers = {{"Accept-Encoding", "gzip"}};
    const Response gzipped = coded_for(any, versioned);
    EXPECT_EQ(header(gzipped, "ETag"), "\"v1-42-gz\"");
    EXPECT_EQ(header(gzipped, "Content-Encoding"), "gzip");

    struct Case {
        const char* what;
        std::string method;
        Fields asked;
        std::string kept_tag; // empty: no 304
    };
    const Case cases[] = {
        {"nothing held", "GET", {}, ""},
        {"the plain form", "GET", {{"If-None-Match", "\"v1-42\""}}, "\"v1-42\""},
        {"the gzip form", "HEAD", {{"If-None-Match", "\"v1-42-gz\""}}, "\"v1-42-gz\""},
        {"weak, among others", "GET", {{"If-None-Match", "\"v1-41\", W/\"v1-42\""}}, "\"v1-42\""},
        {"any, left to the made answer", "GET", {{"If-None-Match", "*"}}, ""},
        {"an older version", "GET", {{"If-None-Match", "\"v1-41\", \"v1-41-gz\""}}, ""},
        {"a longer version", "GET", {{"If-None-Match", "\"v1-420\""}}, ""},
        {"the tag of its bytes", "GET", {{"If-None-Match", entity_tag(page, false)}}, ""},
        {"a post", "POST", {{"If-None-Match", "\"v1-42\""}}, ""},
    };
    for (const auto& c : cases) {
        Request request;
        request.method = c.method;
        request.target = "/api/board";
        request.headers = c.asked;
        const std::optional<Response> kept = not_modified(request, "v1-42");
        ASSERT_EQ(kept.has_value(), !c.kept_tag.empty()) << c.what;
        if (!kept)
            continue;
        EXPECT_EQ(kept->status, 304) << c.what;
        EXPECT_TRUE(kept->body.empty()) << c.what;
        EXPECT_TRUE(kept->content_type.empty()) << c.what;
        EXPECT_EQ(header(*kept, "ETag"), c.kept_tag) << c.what;
        EXPECT_EQ(header(*kept, "Vary"), "Accept-Encoding") << c.what;
    }
}

} // namespace

namespace {

// The gzip form of a file is made once and kept; a page's never is, since
// the next run changes it under another tag.
TEST(AnswerCoding, KeepsTheGzipFormsOfFilesAlone) {
    board::BytesCache<std::string> kept(1 << 20);
    Request request;
    request.method = "GET";
    request.headers = {{"Accept-Encoding", "gzip"}};
    Response file;
    file.content_type = "text/javascript";
    file.body = std::string(50'000, 'j');
    file.ranges = true;
    const Response first = coded_for(request, file, &kept);
    const std::size_t size = kept.bytes();
    EXPECT_GT(size, 0u);
    EXPECT_EQ(kept.find(entity_tag(file.body, true)) != nullptr, true);
    const Response again = coded_for(request, file, &kept);
    EXPECT_EQ(again.body, first.body);
    EXPECT_EQ(kept.bytes(), size);
    Response page = file;
    page.ranges = false;
    page.body = std::string(50'000, 'h');
    EXPECT_EQ(header(coded_for(request, page, &kept), "Content-Encoding"), "gzip");
    EXPECT_EQ(kept.bytes(), size);
}

} // namespace
