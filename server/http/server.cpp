#include "server/http/server.hpp"

#include "server/http/body_stream.hpp"
#include "server/http/connection_table.hpp"
#include "server/work_pool.hpp"

#include <utility> // before asio, which uses std::exchange unannounced

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/serializer.hpp>
#include <boost/beast/http/string_body.hpp>
#include <boost/beast/http/write.hpp>

#include <algorithm>
#include <mutex>
#include <optional>
#include <sstream>
#include <tuple>
#include <unordered_map>

namespace board::http {
namespace asio = boost::asio;
namespace beast = boost::beast;
namespace beast_http = boost::beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;
using ErrorCode = boost::system::error_code;

namespace {

// What one read asks of the socket.
constexpr std::size_t READ_CHUNK = 16 * 1024;
// A refused request may still be sending its body: it is read and dropped
// for this long, this much, so the answer is not lost to a reset.
constexpr auto LINGER_TIME = std::chrono::seconds(2);
// After a failed accept (out of descriptors, say), before the next.
constexpr auto ACCEPT_RETRY = std::chrono::milliseconds(100);
// How often a stopping server looks whether its connections have ended.
constexpr auto STOP_CHECK = std::chrono::milliseconds(20);
// A full pool's client may come back once a worker is free.
constexpr int BUSY_RETRY_SECONDS = 2;
constexpr std::string_view CONTINUE = "HTTP/1.1 100 Continue\r\n\r\n";
// A long answer's socket keeps this little in the kernel (Linux doubles it
// for its bookkeeping), where it would otherwise grow to megabytes: what a
// watcher has not taken is then nearly all in its stream's own count, which
// drops it once too far behind. 64 KiB is a few seconds of a game played,
// a sixteenth of what a watcher may fall behind, and keeps the stream
// flowing over a slow link (64 KiB a round trip).
constexpr int STREAM_SEND_BUFFER = 64 * 1024;

std::int64_t ms_since(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// The answer's bytes, as the edge writes them.
beast_http::response<beast_http::string_body> message_of(Response&& response, unsigned version,
                                                         bool keep_alive, bool head) {
    beast_http::response<beast_http::string_body> message(
        static_cast<beast_http::status>(response.status), version);
    if (!response.content_type.empty())
        message.set(beast_http::field::content_type, response.content_type);
    if (!response.cache_control.empty())
        message.set(beast_http::field::cache_control, response.cache_control);
    for (auto& [name, value] : response.headers)
        message.insert(name, value);
    message.keep_alive(keep_alive);
    if (head) {
        message.content_length(response.body.size());
    } else {
        message.body() = std::move(response.body);
        message.prepare_payload();
    }
    return message;
}

// A long answer's status line and fields, its body to follow in pieces:
// chunked to an HTTP/1.1 client, up to the close to an HTTP/1.0 one.
std::string stream_head(const Response& response, unsigned version) {
    const auto status = static_cast<beast_http::status>(response.status);
    const auto reason = beast_http::obsolete_reason(status);
    std::string head = "HTTP/1." + std::to_string(version % 10) + " " +
                       std::to_string(response.status) + " " +
                       std::string(reason.data(), reason.size()) + "\r\n";
    const auto field = [&](std::string_view name, std::string_view value) {
        head.append(name).append(": ").append(value).append("\r\n");
    };
    if (!response.content_type.empty())
        field("Content-Type", response.content_type);
    field("Cache-Control", response.cache_control);
    for (const auto& [name, value] : response.headers)
        field(name, value);
    if (version >= 11)
        field("Transfer-Encoding", "chunked");
    field("Connection", "close");
    return head + "\r\n";
}

std::string chunk_of(std::string_view bytes) {
    std::ostringstream size;
    size << std::hex << bytes.size();
    return size.str() + "\r\n" + std::string(bytes) + "\r\n";
}

// The method and target of a request line its parser refused, as the
// client sent them, for the log.
std::pair<std::string, std::string> first_line(const beast::flat_buffer& buffer) {
    const auto data = buffer.data();
    const std::string_view bytes(static_cast<const char*>(data.data()), data.size());
    const std::string_view line = bytes.substr(0, bytes.find("\r\n"));
    const auto space = line.find(' ');
    if (space == std::string_view::npos)
        return {std::string(line), {}};
    const std::string_view rest = line.substr(space + 1);
    return {std::string(line.substr(0, space)), std::string(rest.substr(0, rest.rfind(' ')))};
}

} // namespace

class Session;

struct Server::Core {
    Core(ServerConfig c, Service s)
        : config(std::move(c)), service(std::move(s)),
          table(config.limits.connections, config.limits.connections_per_address),
          pool(config.workers, config.waiting) {}

    ServerConfig config;
    Service service;
    ConnectionTable table;
    std::mutex sessions_mutex;
    std::unordered_map<Session*, std::weak_ptr<Session>> sessions;
    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    asio::steady_timer retry{io};
    asio::steady_timer stop_timer{io};
    Clock::time_point stop_asked{};
    int port = 0;
    bool stopping = false; // the I/O thread's alone
    // Last: its workers end first, while what they post to still stands.
    WorkPool pool;

    void accept();
    void admit(tcp::socket socket);
    void refuse_connection(tcp::socket socket, const std::string& peer, int status);
    void begin_stop();
    void check_stopped();
    std::vector<std::shared_ptr<Session>> live();
};

class Session : public std::enable_shared_from_this<Session> {
  public:
    Session(Server::Core& core, tcp::socket socket, std::string peer, bool exempt)
        : core_(core), socket_(std::move(socket)), peer_(std::move(peer)), exempt_(exempt),
          timer_(core.io), buffer_(core.config.limits.header_bytes + READ_CHUNK) {}
    ~Session() {
        core_.table.release(peer_, exempt_);
        const std::lock_guard lock(core_.sessions_mutex);
        core_.sessions.erase(this);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    void start() { begin_request(); }

    // The server stops: what waits for a request goes now; a request under
    // way gets its answer, and the connection closes after it.
    void stop_soon() {
        if (phase_ == Phase::waiting || phase_ == Phase::streaming ||
            (phase_ == Phase::reading && !reader_->started()))
            close();
    }

    void close() {
        if (phase_ == Phase::closed)
            return;
        if (phase_ == Phase::streaming) {
            stream_->drop();
            exchange_.ms = ms_since(began_);
            core_.service.log(exchange_);
        }
        phase_ = Phase::closed;
        disarm();
        ErrorCode ignored;
        socket_.shutdown(tcp::socket::shutdown_both, ignored);
        socket_.close(ignored);
    }

  private:
    enum class Phase { waiting, reading, working, writing, streaming, lingering, closed };

    const EdgeLimits& limits() const { return core_.config.limits; }

    void arm(std::chrono::milliseconds after) {
        timer_.expires_after(after);
        timer_.async_wait([self = shared_from_this(), epoch = ++epoch_](ErrorCode error) {
            if (!error && epoch == self->epoch_)
                self->on_timeout();
        });
    }
    void disarm() {
        ++epoch_;
        timer_.cancel();
    }

    void begin_request() {
        reader_.emplace(limits(), core_.service.body_rules);
        continue_sent_ = false;
        exchange_ = Exchange{};
        if (core_.stopping && kept_alive_)
            return close();
        if (buffer_.size() > 0) {
            start_reading();
            return parse();
        }
        if (kept_alive_) {
            phase_ = Phase::waiting;
            arm(limits().idle_time);
        } else {
            start_reading();
        }
        read();
    }

    void start_reading() {
        phase_ = Phase::reading;
        began_ = Clock::now();
        arm(limits().request_time);
    }

    void read() {
        const std::size_t room = buffer_.max_size() - buffer_.size();
        if (room == 0) // the reader refuses a header before this
            return refuse(Refusal{431, "the request's header is too large"});
        socket_.async_read_some(buffer_.prepare(std::min(room, READ_CHUNK)),
                                [self = shared_from_this()](ErrorCode error, std::size_t n) {
                                    self->on_read(error, n);
                                });
    }

    void on_read(ErrorCode error, std::size_t n) {
        if (phase_ != Phase::waiting && phase_ != Phase::reading)
            return;
        if (error) // gone, or reset: nobody is left to answer
            return close();
        buffer_.commit(n);
        if (phase_ == Phase::waiting)
            start_reading();
        parse();
    }

    void parse() {
        const auto data = buffer_.data();
        const std::size_t used =
            reader_->read(std::string_view(static_cast<const char*>(data.data()), data.size()));
        buffer_.consume(used);
        if (const auto& refusal = reader_->refusal())
            return refuse(*refusal);
        if (reader_->done())
            return dispatch();
        if (reader_->wants_continue() && !continue_sent_) {
            continue_sent_ = true;
            sending_continue_ = true;
            return asio::async_write(socket_, asio::buffer(CONTINUE.data(), CONTINUE.size()),
                                     [self = shared_from_this()](ErrorCode error, std::size_t) {
                                         self->sending_continue_ = false;
                                         if (error)
                                             return self->close();
                                         if (self->phase_ == Phase::reading)
                                             self->read();
                                     });
        }
        read();
    }

    void on_timeout() {
        switch (phase_) {
        case Phase::reading:
            // No answer goes out over another: one that stalls is closed.
            if (!reader_->started() || sending_continue_)
                return close();
            return refuse(Refusal{408, "the request did not come whole within " +
                                           std::to_string(limits().request_time.count() / 1000) +
                                           " s"});
        case Phase::waiting:
        case Phase::writing:
        case Phase::streaming:
        case Phase::lingering:
            return close();
        case Phase::working:
        case Phase::closed:
            return;
        }
    }

    // The edge's own refusal: the client learns why, and the connection
    // ends, since what it was sending cannot be told from what comes next.
    void refuse(const Refusal& refusal) {
        exchange_.method = reader_->method();
        exchange_.target = reader_->target();
        if (exchange_.method.empty()) // the header was not read: what its line says
            std::tie(exchange_.method, exchange_.target) = first_line(buffer_);
        exchange_.client = peer_;
        ErrorCode ignored;
        socket_.cancel(ignored);
        Response answer = core_.service.refused(refusal);
        answer.close = true;
        head_ = false;
        respond(std::move(answer), 11);
    }

    void dispatch() {
        phase_ = Phase::working;
        disarm();
        keep_alive_ = reader_->keep_alive();
        Request request = reader_->take();
        request.peer = peer_;
        request.client =
            client_address(peer_, request.joined("X-Forwarded-For"), core_.config.trusted_proxies);
        exchange_.client = request.client;
        exchange_.method = request.method;
        exchange_.target = request.target;
        head_ = request.method == "HEAD";
        version_ = request.version;
        auto job = [self = shared_from_this(), request = std::move(request),
                    guard = asio::make_work_guard(core_.io)]() mutable {
            Response answer;
            try {
                answer = self->core_.service.handle(std::move(request));
            } catch (const std::exception& e) {
                self->core_.service.failed(self->exchange_, e.what());
                answer = self->core_.service.refused(Refusal{500, "internal error"});
            }
            asio::post(self->core_.io, [self, answer = std::move(answer)]() mutable {
                self->respond(std::move(answer), self->version_);
            });
        };
        if (!core_.pool.try_submit(std::move(job))) {
            Response busy = core_.service.refused(
                Refusal{503, "more requests are waiting than this server's workers take"});
            busy.headers.emplace_back("Retry-After", std::to_string(BUSY_RETRY_SECONDS));
            respond(std::move(busy), version_);
        }
    }

    void respond(Response&& answer, unsigned version) {
        if (phase_ == Phase::closed)
            return;
        if (answer.stream && !head_)
            return stream(std::move(answer), version);
        phase_ = Phase::writing;
        keep_alive_ = keep_alive_ && !answer.close && !core_.stopping;
        close_after_ = !keep_alive_;
        exchange_.status = answer.status;
        exchange_.bytes = answer.body.size();
        message_.emplace(message_of(std::move(answer), version, keep_alive_, head_));
        serializer_.emplace(*message_);
        arm(limits().send_time);
        write();
    }

    void write() {
        beast_http::async_write_some(socket_, *serializer_,
                                     [self = shared_from_this()](ErrorCode error, std::size_t n) {
                                         self->on_write(error, n);
                                     });
    }

    void on_write(ErrorCode error, std::size_t n) {
        if (phase_ != Phase::writing)
            return;
        if (error)
            return close();
        if (!serializer_->is_done()) {
            if (n > 0) // progress: the reader has another while
                arm(limits().send_time);
            return write();
        }
        disarm();
        exchange_.ms = ms_since(began_);
        core_.service.log(exchange_);
        serializer_.reset();
        message_.reset();
        if (close_after_)
            return linger();
        kept_alive_ = true;
        begin_request();
    }

    // A long answer: its head, then each piece as it comes, until its end,
    // the client leaves, or the client stops reading for the send time.
    void stream(Response&& answer, unsigned version) {
        phase_ = Phase::streaming;
        stream_ = std::move(answer.stream);
        chunked_ = version >= 11;
        exchange_.status = answer.status;
        exchange_.bytes = 0;
        out_ = stream_head(answer, version);
        ErrorCode ignored; // unbounded, the stream still ends when far behind, only later
        socket_.set_option(asio::socket_base::send_buffer_size(STREAM_SEND_BUFFER), ignored);
        arm(limits().send_time);
        asio::async_write(socket_, asio::buffer(out_),
                          [self = shared_from_this()](ErrorCode error, std::size_t) {
                              if (self->phase_ != Phase::streaming)
                                  return;
                              if (error)
                                  return self->close();
                              self->watch_peer();
                              self->pump();
                          });
    }

    // A watcher sends nothing more; a read that ends says it has gone.
    void watch_peer() {
        buffer_.clear();
        socket_.async_read_some(buffer_.prepare(READ_CHUNK),
                                [self = shared_from_this()](ErrorCode error, std::size_t n) {
                                    if (self->phase_ != Phase::streaming)
                                        return;
                                    if (error)
                                        return self->close();
                                    self->buffer_.consume(n);
                                    self->watch_peer();
                                });
    }

    void pump() {
        if (phase_ != Phase::streaming)
            return;
        BodyStream::Taken taken = stream_->take_or_wait([weak = weak_from_this(), &io = core_.io] {
            asio::post(io, [weak] {
                if (const auto self = weak.lock())
                    self->pump();
            });
        });
        if (taken.dropped)
            return close();
        if (taken.bytes.empty() && !taken.ended)
            return disarm(); // until the next piece
        exchange_.bytes += taken.bytes.size();
        out_ = chunked_ && !taken.bytes.empty() ? chunk_of(taken.bytes) : std::move(taken.bytes);
        if (taken.ended && chunked_)
            out_ += "0\r\n\r\n";
        arm(limits().send_time);
        asio::async_write(
            socket_, asio::buffer(out_),
            [self = shared_from_this(), ended = taken.ended](ErrorCode error, std::size_t) {
                if (self->phase_ != Phase::streaming)
                    return;
                if (error)
                    return self->close();
                if (!ended)
                    return self->pump();
                self->disarm();
                self->exchange_.ms = ms_since(self->began_);
                self->core_.service.log(self->exchange_);
                // Logged: close() must not log it again. A
                // watcher sends nothing to be lost to a reset.
                self->phase_ = Phase::writing;
                self->close();
            });
    }

    // Half-closes and drops what the client still sends, for a while, so
    // the answer reaches it before the connection is gone.
    void linger() {
        phase_ = Phase::lingering;
        ErrorCode ignored;
        socket_.shutdown(tcp::socket::shutdown_send, ignored);
        buffer_.clear();
        arm(std::chrono::duration_cast<std::chrono::milliseconds>(LINGER_TIME));
        drain();
    }

    void drain() {
        socket_.async_read_some(buffer_.prepare(READ_CHUNK),
                                [self = shared_from_this()](ErrorCode error, std::size_t n) {
                                    if (self->phase_ != Phase::lingering)
                                        return;
                                    if (error)
                                        return self->close();
                                    self->buffer_.consume(n);
                                    self->drain();
                                });
    }

    Server::Core& core_;
    tcp::socket socket_;
    std::string peer_;
    bool exempt_;
    asio::steady_timer timer_;
    std::uint64_t epoch_ = 0;
    beast::flat_buffer buffer_;
    std::optional<RequestReader> reader_;
    Phase phase_ = Phase::reading;
    bool kept_alive_ = false; // a request came before on this connection
    bool continue_sent_ = false;
    bool sending_continue_ = false;
    bool keep_alive_ = false;
    bool close_after_ = false;
    bool head_ = false;
    unsigned version_ = 11;
    Clock::time_point began_ = Clock::now();
    Exchange exchange_;
    std::optional<beast_http::response<beast_http::string_body>> message_;
    std::optional<beast_http::response_serializer<beast_http::string_body>> serializer_;
    std::shared_ptr<BodyStream> stream_;
    bool chunked_ = false;
    std::string out_; // the piece of a long answer being written
};

void Server::Core::accept() {
    acceptor.async_accept([this](ErrorCode error, tcp::socket socket) {
        if (stopping || error == asio::error::operation_aborted)
            return;
        if (error) { // out of descriptors, say: not a reason to spin
            retry.expires_after(ACCEPT_RETRY);
            retry.async_wait([this](ErrorCode waited) {
                if (!waited && !stopping)
                    accept();
            });
            return;
        }
        admit(std::move(socket));
        accept();
    });
}

void Server::Core::admit(tcp::socket socket) {
    ErrorCode error;
    const auto endpoint = socket.remote_endpoint(error);
    if (error)
        return;
    socket.set_option(tcp::no_delay(true), error);
    const std::string peer = normalised(endpoint.address().to_string());
    const auto address = parse_address(peer);
    const bool exempt = address && trusted(config.trusted_proxies, *address);
    if (const auto status = table.admit(peer, exempt))
        return refuse_connection(std::move(socket), peer, *status);
    auto session = std::make_shared<Session>(*this, std::move(socket), peer, exempt);
    {
        const std::lock_guard lock(sessions_mutex);
        sessions.emplace(session.get(), session);
    }
    session->start();
}

// Past a connection limit: one short answer, then the connection ends,
// before a byte of its request is read.
void Server::Core::refuse_connection(tcp::socket socket, const std::string& peer, int status) {
    Response answer =
        service.refused(Refusal{status, status == 503 ? "this server holds all the connections "
                                                        "it takes"
                                                      : "this address holds all the connections "
                                                        "one address may"});
    const std::size_t body = answer.body.size();
    std::ostringstream bytes;
    bytes << message_of(std::move(answer), 11, false, false);
    auto text = std::make_shared<std::string>(bytes.str());
    auto held = std::make_shared<tcp::socket>(std::move(socket));
    asio::async_write(*held, asio::buffer(*text), [held, text](ErrorCode, std::size_t) {
        ErrorCode ignored;
        held->shutdown(tcp::socket::shutdown_both, ignored);
        held->close(ignored);
    });
    service.log(Exchange{peer, "-", "-", status, body, 0});
}

std::vector<std::shared_ptr<Session>> Server::Core::live() {
    std::vector<std::shared_ptr<Session>> found;
    const std::lock_guard lock(sessions_mutex);
    for (const auto& [key, session] : sessions)
        if (auto held = session.lock())
            found.push_back(std::move(held));
    return found;
}

void Server::Core::begin_stop() {
    if (stopping)
        return;
    stopping = true;
    stop_asked = Clock::now();
    ErrorCode ignored;
    acceptor.close(ignored);
    retry.cancel();
    for (const auto& session : live())
        session->stop_soon();
    check_stopped();
}

// Until every connection has ended: those still open past the grace are
// closed, and their workers' answers go nowhere.
void Server::Core::check_stopped() {
    const auto open = live();
    if (open.empty())
        return;
    if (Clock::now() - stop_asked >= config.stop_grace)
        for (const auto& session : open)
            session->close();
    stop_timer.expires_after(STOP_CHECK);
    stop_timer.async_wait([this](ErrorCode error) {
        if (!error)
            check_stopped();
    });
}

Server::Server(ServerConfig config, Service service)
    : core_(std::make_shared<Core>(std::move(config), std::move(service))) {
    Core& c = *core_;
    ErrorCode error;
    const auto address = asio::ip::make_address(c.config.host, error);
    if (error)
        throw std::runtime_error("cannot listen on " + c.config.host + ": not an address");
    const tcp::endpoint endpoint(address, static_cast<std::uint16_t>(c.config.port));
    const std::string where =
        c.config.host + (c.config.port == 0 ? "" : ":" + std::to_string(c.config.port));
    c.acceptor.open(endpoint.protocol(), error);
    if (!error)
        c.acceptor.set_option(tcp::acceptor::reuse_address(true), error);
    if (!error)
        c.acceptor.bind(endpoint, error);
    if (!error)
        c.acceptor.listen(asio::socket_base::max_listen_connections, error);
    if (error)
        throw std::runtime_error("cannot listen on " + where + ": " + error.message());
    c.port = c.acceptor.local_endpoint().port();
}

Server::~Server() = default;

int Server::port() const {
    return core_->port;
}

void Server::run() {
    core_->accept();
    core_->io.run();
}

void Server::stop() {
    asio::post(core_->io, [core = core_] { core->begin_stop(); });
}

} // namespace board::http
