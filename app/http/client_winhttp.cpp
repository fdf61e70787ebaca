#include "app/http/client.hpp"

#include <windows.h>
#include <winhttp.h>

#include <memory>
#include <string_view>

namespace http {
namespace {

struct HandleCloser {
    void operator()(void* handle) const { WinHttpCloseHandle(handle); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

std::wstring wide(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

std::string narrow(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                        nullptr, nullptr);
    return utf8;
}

Failure failed(std::string_view step) {
    const DWORD code = GetLastError();
    std::string what(step);
    what += " failed: ";
    switch (code) {
    case ERROR_WINHTTP_TIMEOUT:
        what += "timed out";
        break;
    case ERROR_WINHTTP_CANNOT_CONNECT:
        what += "could not connect";
        break;
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        what += "the name could not be resolved";
        break;
    case ERROR_WINHTTP_SECURE_FAILURE:
        what += "the secure connection could not be made";
        break;
    default:
        what += "WinHTTP error " + std::to_string(code);
    }
    return Failure{what};
}

} // namespace

Outcome send(const Request& request, TimeLimits limits) {
    std::wstring url = wide(request.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts))
        return Failure{"not an address: " + request.url};
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty())
        path = L"/";

    const std::wstring agent = wide("orbitrix/" ORBITRIX_VERSION);
    const Handle session(WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                     WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session)
        return failed("WinHttpOpen");
    const int connect = static_cast<int>(limits.connect.count());
    const int total = static_cast<int>(limits.total.count());
    WinHttpSetTimeouts(session.get(), connect, connect, total, total);
    const Handle connection(WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
    if (!connection)
        return failed("connecting");
    const std::wstring method = wide(request.method);
    const Handle call(
        WinHttpOpenRequest(connection.get(), method.c_str(), path.c_str(), nullptr,
                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                           parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0));
    if (!call)
        return failed("opening the request");
    // WinHTTP follows redirects by default; a board is never reached through one.
    DWORD no_redirects = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(call.get(), WINHTTP_OPTION_DISABLE_FEATURE, &no_redirects,
                     sizeof no_redirects);

    std::wstring headers;
    if (!request.content_type.empty())
        headers = L"Content-Type: " + wide(request.content_type) + L"\r\n";
    const DWORD length = static_cast<DWORD>(request.body.size());
    if (!WinHttpSendRequest(call.get(),
                            headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            headers.empty() ? 0 : static_cast<DWORD>(-1),
                            const_cast<char*>(request.body.data()), length, length, 0))
        return failed("sending");
    if (!WinHttpReceiveResponse(call.get(), nullptr))
        return failed("receiving");

    Response response;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(call.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
        return failed("reading the status");
    response.status = static_cast<int>(status);
    wchar_t retry[64] = {};
    size = sizeof retry;
    if (WinHttpQueryHeaders(call.get(), WINHTTP_QUERY_RETRY_AFTER, WINHTTP_HEADER_NAME_BY_INDEX,
                            retry, &size, WINHTTP_NO_HEADER_INDEX))
        response.retry_after = narrow(std::wstring_view(retry, size / sizeof(wchar_t)));
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(call.get(), &available))
            return failed("reading the answer");
        if (available == 0)
            break;
        if (response.body.size() + available > MOST_ANSWER_BYTES)
            return Failure{"the answer is longer than any board's"};
        const std::size_t at = response.body.size();
        response.body.resize(at + available);
        DWORD read = 0;
        if (!WinHttpReadData(call.get(), response.body.data() + at, available, &read))
            return failed("reading the answer");
        response.body.resize(at + read);
    }
    return response;
}

} // namespace http
