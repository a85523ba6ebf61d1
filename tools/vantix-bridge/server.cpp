// SPDX-License-Identifier: Apache-2.0
#include "server.hpp"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/v6_only.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <cerrno>
#include <deque>
#include <list>
#include <map>
#include <stdexcept>

#include "dispatcher.hpp"
#include "http_answers.hpp"
#include "pads.hpp"
#include "protocol.hpp"
#include "vantix-zelnar.h"

namespace bridge {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;

constexpr std::size_t max_http_header = 8 * 1024;
constexpr std::size_t max_http_body = 1024;
// A request must arrive whole in this time (a half-sent one holds a
// descriptor); a reply must be taken in this time.
constexpr auto http_request_timeout = std::chrono::seconds(limits::http_request_seconds);
constexpr auto http_write_timeout = std::chrono::seconds(30);
// Out of descriptors: accept again after this pause, not at once (the
// waiting connection would wake the loop again and again).
constexpr auto accept_backoff = std::chrono::milliseconds(100);

class server;

// --- WebSocket ------------------------------------------------------------------

class ws_session : public client, public std::enable_shared_from_this<ws_session> {
public:
    ws_session(server &srv, std::uint64_t id, beast::tcp_stream stream);

    void start(http::request<http::string_body> request);
    std::uint64_t id() const override { return id_; }
    void send(std::string text) override {
        asio::post(ws_.get_executor(), [self = shared_from_this(), text = std::move(text)]() mutable {
            self->queue(std::move(text), false);
        });
    }
    void answer(std::string text) override {
        asio::post(ws_.get_executor(), [self = shared_from_this(), text = std::move(text)]() mutable {
            self->queue(std::move(text), true);
        });
    }
    void drain(std::shared_ptr<event_stream> stream) override {
        asio::post(ws_.get_executor(), [self = shared_from_this(), stream = std::move(stream)] {
            for (std::string &event : stream->take())
                self->queue(std::move(event), false);
        });
    }
    // Sends a going-away close (shutdown).
    void going_away() { begin_close(websocket::close_code::going_away); }

private:
    void read();
    void on_read(beast::error_code ec, std::size_t bytes);
    void queue(std::string text, bool reply);
    void write();
    void ended();
    // Drops what waits to be sent (not the message being written) and
    // sends a close frame once no write is in flight.
    void begin_close(websocket::close_reason reason) {
        if (closed_ || gone_)
            return;
        closed_ = true;
        while (out_.size() > (writing_ ? 1u : 0u)) {
            out_bytes_ -= out_.back().text.size();
            if (out_.back().reply)
                reply_bytes_ -= out_.back().text.size();
            out_.pop_back();
        }
        close_reason_ = reason;
        if (!writing_)
            send_close();
    }
    void send_close() {
        ws_.async_close(close_reason_, [self = shared_from_this()](beast::error_code) {});
    }

    server &server_;
    const std::uint64_t id_;
    websocket::stream<beast::tcp_stream> ws_;
    beast::flat_buffer in_;
    struct outgoing {
        std::string text;
        bool reply;
    };
    std::deque<outgoing> out_;
    std::size_t out_bytes_ = 0;    // all of out_
    std::size_t reply_bytes_ = 0;  // the replies in out_
    bool writing_ = false;         // out_.front() is being written
    bool closed_ = false;
    bool gone_ = false;
    websocket::close_reason close_reason_;
    dispatcher dispatcher_;
};

// --- HTTP -------------------------------------------------------------------------

class http_session : public std::enable_shared_from_this<http_session> {
public:
    http_session(server &srv, tcp::socket socket);
    ~http_session();
    void start() { read(); }
    // Ends the session now (the server needs its place): the pending read
    // ends with operation_aborted.
    void evict();
    // Where the server lists it while it waits for a request.
    std::list<http_session *>::iterator waiting_place;

private:
    void read();
    void on_read(beast::error_code ec);
    template <class Response>
    void reply(Response &&response);
    // With -v: why a request was refused, with its origin and host.
    void refused(const request &req, const char *reason) const;

    server &server_;
    beast::tcp_stream stream_;
    beast::flat_buffer buffer_;
    std::optional<http::request_parser<http::string_body>> parser_;
    bool waiting_ = false;  // listed in the server's waiting sessions
    bool counted_ = true;   // counted in the server's sessions (not evicted)
};

// --- The server ---------------------------------------------------------------------

class server {
public:
    server(const config &cfg, std::function<config()> reread)
        : cfg_(cfg),
          reread_(std::move(reread)),
          acceptor_(io_),
          signals_(io_, SIGINT, SIGTERM),
          hangup_(io_, SIGHUP),
          stop_timer_(io_),
          accept_timer_(io_) {}

    int run(const std::function<void()> &threads_started) {
        auto where = parse_endpoint(cfg_.listen, default_port);
        if (!where)
            throw std::invalid_argument("--listen " + cfg_.listen + ": expected ADDRESS:PORT");
        std::string host = where->host;
        if (host == "localhost")
            host = "127.0.0.1";
        beast::error_code ec;
        const asio::ip::address address = asio::ip::make_address(host, ec);
        if (ec)
            throw std::invalid_argument("--listen " + cfg_.listen + ": not an IP address (or localhost)");
        if (!address.is_loopback() && !cfg_.allow_remote)
            throw std::invalid_argument(
                "--listen " + cfg_.listen +
                ": not a loopback address; --allow-remote serves pads to other machines");
        const tcp::endpoint endpoint(address, static_cast<unsigned short>(where->port));
        acceptor_.open(endpoint.protocol());
        acceptor_.set_option(asio::socket_base::reuse_address(true));
        if (address.is_v6())
            acceptor_.set_option(asio::ip::v6_only(true));
        acceptor_.bind(endpoint, ec);
        if (ec)
            throw std::runtime_error("cannot listen on " + cfg_.listen + ": " + ec.message());
        acceptor_.listen(asio::socket_base::max_listen_connections);
        const tcp::endpoint bound = acceptor_.local_endpoint();
        identity_.address = bound.address().to_string();
        identity_.port = bound.port();
        identity_.loopback = bound.address().is_loopback();
        identity_.unspecified = bound.address().is_unspecified();
        identity_.extra_origins = cfg_.allow_origins;

        pads_.emplace(cfg_, [this](std::string text) {
            asio::post(io_, [this, text = std::move(text)] { broadcast(text); });
        });

        threads_started();
        signals_.async_wait([this](beast::error_code error, int) {
            if (!error)
                stop();
        });
        wait_for_hangup();
        accept();
        std::printf("vantix-bridge: listening on %s%s\n", identity_.url().c_str(),
                    cfg_.sim ? (cfg_.sim_pads > 1 ? " (virtual pads)" : " (virtual pad)") : "");
        std::fflush(stdout);
        // One network thread, and no strands: on it no two handlers run at
        // once, and what the pads' threads post (to io_, or to a socket's
        // executor, which is io_'s) runs in the order it was posted.
        // Handlers answer their own failures; this is the last net under
        // them: the service goes on.
        for (;;) {
            try {
                io_.run();
                break;
            } catch (const std::exception &e) {
                std::fprintf(stderr, "vantix-bridge: internal error on the network thread: %s\n", e.what());
            }
        }
        pads_->shutdown();
        return 0;
    }

    const config &cfg() const { return cfg_; }
    const listen_identity &identity() const { return identity_; }
    pad_service &pads() { return *pads_; }
    bool stopping() const { return stopping_; }

    bool room_for_another() const { return sessions_.size() < cfg_.max_connections; }
    // Plain HTTP sessions (before an upgrade), counted by http_session, and
    // those waiting for a request, oldest first.
    void http_opened() { ++http_sessions_; }
    void http_closed() { --http_sessions_; }
    std::list<http_session *>::iterator http_waiting(http_session *session) {
        return waiting_.insert(waiting_.end(), session);
    }
    void http_not_waiting(std::list<http_session *>::iterator place) { waiting_.erase(place); }
    std::uint64_t next_id() { return ++last_id_; }
    void joined(const std::shared_ptr<ws_session> &session) { sessions_[session->id()] = session; }
    void left(std::uint64_t id) {
        sessions_.erase(id);
        pads_->disconnected(id);
        if (stopping_ && sessions_.empty())
            io_.stop();  // every client has its close frame
        if (cfg_.verbose)
            std::fprintf(stderr, "vantix-bridge: connection %llu closed\n",
                         static_cast<unsigned long long>(id));
    }

    void broadcast(const std::string &text) {
        for (auto &[id, weak] : sessions_)
            if (auto session = weak.lock())
                session->send(text);
    }

    // SIGINT, SIGTERM: no new connections, the pads closed, close frames
    // to every client, and out once they are closed (half a second at most).
    void stop() {
        if (stopping_)
            return;
        stopping_ = true;
        if (cfg_.verbose)
            std::fprintf(stderr, "vantix-bridge: stopping\n");
        beast::error_code ignored;
        acceptor_.close(ignored);
        hangup_.cancel(ignored);
        pads_->shutdown();
        if (sessions_.empty())
            return io_.stop();
        for (auto &[id, weak] : sessions_)
            if (auto session = weak.lock())
                session->going_away();
        stop_timer_.expires_after(std::chrono::milliseconds(500));
        stop_timer_.async_wait([this](beast::error_code) { io_.stop(); });
    }

private:
    void wait_for_hangup() {
        hangup_.async_wait([this](beast::error_code error, int) {
            if (error || stopping_)
                return;
            reconfigure();
            wait_for_hangup();
        });
    }

    // SIGHUP: what may change without a restart changes; the address, the
    // virtual pads and -v stay.
    void reconfigure() {
        try {
            config next = reread_();
            std::shared_ptr<const seal_policy> seal = load_seal_policy(next);
            cfg_.allow_origins = next.allow_origins;
            cfg_.seal_to = next.seal_to;
            cfg_.seal_only = next.seal_only;
            cfg_.page_recipients = next.page_recipients;
            cfg_.max_message = next.max_message;
            cfg_.max_frame = next.max_frame;
            cfg_.max_rate = next.max_rate;
            cfg_.max_connections = next.max_connections;
            identity_.extra_origins = cfg_.allow_origins;
            pads_->reconfigure(std::move(seal));
            std::fprintf(
                stderr, "vantix-bridge: configuration read again: %zu allowed origins, %zu seal recipients\n",
                cfg_.allow_origins.size(), cfg_.seal_to.size());
        } catch (const std::exception &e) {
            std::fprintf(stderr, "vantix-bridge: configuration not changed: %s\n", e.what());
        }
    }

    void accept() {
        acceptor_.async_accept([this](beast::error_code ec, tcp::socket socket) {
            if (ec == asio::error::operation_aborted || stopping_)
                return;
            if (ec == asio::error::no_descriptors || ec == asio::error::no_buffer_space ||
                ec == asio::error::no_memory ||
                (ec.category() == asio::error::get_system_category() && ec.value() == ENFILE)) {
                // The connection stays in the backlog and would wake the
                // loop at once: try again after a pause.
                if (cfg_.verbose)
                    std::fprintf(stderr, "vantix-bridge: cannot accept (%s); waiting\n",
                                 ec.message().c_str());
                accept_timer_.expires_after(accept_backoff);
                accept_timer_.async_wait([this](beast::error_code error) {
                    if (!error && !stopping_)
                        accept();
                });
                return;
            }
            if (!ec) {
                // At the limit, the session that has waited longest for its
                // request makes room (an idle or half-sent one: a client
                // that holds connections open cannot lock others out);
                // when none waits, the newcomer is turned away.
                if (http_sessions_ >= limits::http_sessions && !waiting_.empty())
                    waiting_.front()->evict();
                if (http_sessions_ >= limits::http_sessions) {
                    turn_away(socket);
                } else {
                    // Small messages (a sample after a reply) go at once, not
                    // after the peer's delayed acknowledgement.
                    beast::error_code ignored;
                    socket.set_option(tcp::no_delay(true), ignored);
                    std::make_shared<http_session>(*this, std::move(socket))->start();
                }
            }
            accept();
        });
    }

    // Past limits::http_sessions: a short 503 if the socket takes it at
    // once, then closed.
    static void turn_away(tcp::socket &socket) {
        static constexpr std::string_view busy =
            "HTTP/1.1 503 Service Unavailable\r\nServer: vantix-bridge\r\nContent-Type: text/plain\r\n"
            "Content-Length: 22\r\nConnection: close\r\n\r\ntoo many connections\r\n";
        beast::error_code ignored;
        socket.non_blocking(true, ignored);
        socket.write_some(asio::buffer(busy.data(), busy.size()), ignored);
        socket.shutdown(tcp::socket::shutdown_both, ignored);
        socket.close(ignored);
    }

    config cfg_;  // changed by reconfigure(), on this (the network's) thread
    std::function<config()> reread_;
    asio::io_context io_;
    tcp::acceptor acceptor_;
    asio::signal_set signals_;
    asio::signal_set hangup_;
    asio::steady_timer stop_timer_;
    asio::steady_timer accept_timer_;
    std::size_t http_sessions_ = 0;
    std::list<http_session *> waiting_;
    listen_identity identity_;
    std::optional<pad_service> pads_;
    std::map<std::uint64_t, std::weak_ptr<ws_session>> sessions_;
    std::uint64_t last_id_ = 0;
    bool stopping_ = false;
};

// --- http_session ---------------------------------------------------------------------

http_session::http_session(server &srv, tcp::socket socket) : server_(srv), stream_(std::move(socket)) {
    server_.http_opened();
}

http_session::~http_session() {
    if (waiting_)
        server_.http_not_waiting(waiting_place);
    if (counted_)
        server_.http_closed();
}

void http_session::evict() {
    if (waiting_) {
        server_.http_not_waiting(waiting_place);
        waiting_ = false;
    }
    if (counted_) {
        server_.http_closed();
        counted_ = false;
    }
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
    stream_.socket().close(ignored);
}

void http_session::read() {
    parser_.emplace();
    parser_->header_limit(max_http_header);
    parser_->body_limit(max_http_body);
    stream_.expires_after(http_request_timeout);
    if (!waiting_) {
        waiting_place = server_.http_waiting(this);
        waiting_ = true;
    }
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](beast::error_code ec, std::size_t) { self->on_read(ec); });
}

template <class Response>
void http_session::reply(Response &&response) {
    auto res = std::make_shared<std::decay_t<Response>>(std::forward<Response>(response));
    stream_.expires_after(http_write_timeout);
    http::async_write(stream_, *res, [self = shared_from_this(), res](beast::error_code ec, std::size_t) {
        if (ec || !res->keep_alive()) {
            beast::error_code ignored;
            self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
            return;
        }
        self->read();
    });
}

void http_session::on_read(beast::error_code ec) {
    if (waiting_) {
        server_.http_not_waiting(waiting_place);
        waiting_ = false;
    }
    if (ec == http::error::end_of_stream || ec == beast::error::timeout ||
        ec == asio::error::operation_aborted) {
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
        return;
    }
    if (ec) {
        // Malformed or oversized: a 400, then the connection ends.
        return reply(plain(http::status::bad_request, 11, false, "bad request: " + ec.message()));
    }
    http::request<http::string_body> req = parser_->release();
    const unsigned version = req.version();
    const bool keep_alive = req.keep_alive();
    if (server_.stopping())
        return reply(plain(http::status::service_unavailable, version, false, "shutting down"));
    // DNS rebinding: a foreign name resolving to us must reach nothing.
    if (!server_.identity().host_allowed(req[http::field::host])) {
        refused(req, "unexpected Host");
        return reply(plain(http::status::forbidden, version, false, "forbidden: unexpected Host"));
    }
    const std::string_view target(req.target().data(), req.target().size());
    const std::string_view path = target.substr(0, target.find('?'));
    const std::string_view origin = req[http::field::origin];
    const bool origin_allowed = server_.identity().origin_allowed(origin);
    if (websocket::is_upgrade(req)) {
        if (path != "/ws")
            return reply(plain(http::status::not_found, version, false, "not found"));
        if (!origin_allowed) {
            refused(req, "origin not allowed");
            return reply(plain(http::status::forbidden, version, false, "forbidden: origin not allowed"));
        }
        if (!server_.room_for_another()) {
            refused(req, "too many connections");
            return reply(plain(http::status::service_unavailable, version, false, "too many connections"));
        }
        auto session = std::make_shared<ws_session>(server_, server_.next_id(), std::move(stream_));
        server_.joined(session);
        session->start(std::move(req));
        return;
    }
    if (req.method() == http::verb::options)
        return reply(preflight(req, path, origin_allowed, server_.cfg().verbose));
    if (req.method() != http::verb::get && req.method() != http::verb::head) {
        auto res = plain(http::status::method_not_allowed, version, keep_alive, "only GET, HEAD and OPTIONS");
        res.set(http::field::allow, "GET, HEAD, OPTIONS");
        return reply(std::move(res));
    }
    if (path == "/ws")
        return reply(plain(http::status::upgrade_required, version, keep_alive, "WebSocket only"));
    if (path == "/status")
        return reply(status_answer(req, origin_allowed, server_.cfg().verbose));
    const web_file *file = find_web_file(path);
    if (!file)
        return reply(plain(http::status::not_found, version, keep_alive, "not found"));
    http::response<http::string_body> res{http::status::ok, version};
    res.set(http::field::server, "vantix-bridge");
    res.set(http::field::content_type, std::string(file->content_type));
    res.set(http::field::cache_control, "no-store");
    res.set("X-Content-Type-Options", "nosniff");
    res.set("X-Frame-Options", "DENY");
    res.set("Referrer-Policy", "no-referrer");
    res.set("Content-Security-Policy",
            "default-src 'self'; img-src 'self' data: blob:; connect-src 'self'; frame-ancestors 'none'");
    allow_origin(res, req, origin_allowed, server_.cfg().verbose);
    res.keep_alive(keep_alive);
    if (req.method() == http::verb::get)
        res.body() = std::string(file->body);
    res.prepare_payload();
    if (req.method() == http::verb::head)
        res.content_length(file->body.size());
    reply(std::move(res));
}

void http_session::refused(const request &req, const char *reason) const {
    log_refusal(server_.cfg().verbose, req, reason);
}

// --- ws_session -------------------------------------------------------------------------

ws_session::ws_session(server &srv, std::uint64_t id, beast::tcp_stream stream)
    : server_(srv), id_(id), ws_(std::move(stream)), dispatcher_(srv.cfg(), srv.pads()) {}

void ws_session::start(http::request<http::string_body> request) {
    const config &cfg = server_.cfg();
    beast::get_lowest_layer(ws_).expires_never();
    websocket::stream_base::timeout timeouts =
        websocket::stream_base::timeout::suggested(beast::role_type::server);
    timeouts.idle_timeout = std::chrono::seconds(60);
    timeouts.keep_alive_pings = true;
    ws_.set_option(timeouts);
    ws_.set_option(websocket::stream_base::decorator(
        [](websocket::response_type &res) { res.set(http::field::server, "vantix-bridge"); }));
    ws_.read_message_max(cfg.max_frame);
    ws_.auto_fragment(false);
    ws_.async_accept(request, [self = shared_from_this()](beast::error_code ec) {
        if (ec)
            return self->ended();
        const std::shared_ptr<const seal_policy> seal = self->server_.pads().seal();
        json welcome = {{"type", "welcome"},
                        {"protocol", protocol_version},
                        {"service", "vantix-bridge"},
                        {"version", vantix_get_zelnar_version()},
                        {"sim", self->server_.cfg().sim},
                        {"seal",
                         {{"recipients", seal->certificates.size()},
                          {"seal_only", seal->seal_only},
                          {"page_recipients", seal->page_recipients}}},
                        {"limits",
                         {{"max_message", self->server_.cfg().max_message},
                          {"max_frame", self->server_.cfg().max_frame},
                          {"max_rate", self->server_.cfg().max_rate},
                          {"event_queue", self->server_.cfg().event_queue}}}};
        self->queue(to_text(welcome), true);
        self->read();
    });
}

void ws_session::read() {
    ws_.async_read(in_, [self = shared_from_this()](beast::error_code ec, std::size_t bytes) {
        self->on_read(ec, bytes);
    });
}

void ws_session::on_read(beast::error_code ec, std::size_t) {
    if (ec)
        return ended();  // closed, timed out, a frame past max_frame (1009) or a broken one (1002)
    auto self = shared_from_this();
    if (!ws_.got_text()) {
        in_.consume(in_.size());
        dispatcher_.binary(self);
        return read();
    }
    const auto data = in_.data();
    dispatcher_.text(self, std::string_view(static_cast<const char *>(data.data()), data.size()));
    in_.consume(in_.size());
    read();  // also after a close frame went out, until the peer's arrives
}

// The unread budget (config::send_queue) counts what waits, not the message
// being written. Events and notices must fit in it; a reply is queued
// whenever the client had kept within it, so a reply the client asked for
// (at most limits::reply_bytes) never alone closes the connection, and
// events then have that reply's room besides. A client that stops reading
// is disconnected (1008) by the next message past that.
void ws_session::queue(std::string text, bool reply) {
    if (closed_ || gone_)
        return;
    const std::size_t budget = server_.cfg().send_queue;
    const std::size_t in_flight = writing_ ? out_.front().text.size() : 0;
    const std::size_t waiting = out_bytes_ - in_flight;
    const std::size_t replies_waiting = reply_bytes_ - (writing_ && out_.front().reply ? in_flight : 0);
    const bool fits = reply ? waiting <= budget
                            : waiting - replies_waiting + text.size() <= budget &&
                                  waiting + text.size() <= budget + limits::reply_bytes;
    if (!fits) {
        // The client does not read: it loses the connection, not the service its memory.
        return begin_close(websocket::close_reason(websocket::close_code::policy_error, "not reading"));
    }
    out_bytes_ += text.size();
    if (reply)
        reply_bytes_ += text.size();
    out_.push_back({std::move(text), reply});
    if (!writing_)
        write();
}

void ws_session::write() {
    writing_ = true;
    ws_.text(true);
    ws_.async_write(asio::buffer(out_.front().text),
                    [self = shared_from_this()](beast::error_code ec, std::size_t) {
                        self->writing_ = false;
                        if (ec)
                            return self->ended();
                        const outgoing &sent = self->out_.front();
                        self->out_bytes_ -= sent.text.size();
                        if (sent.reply)
                            self->reply_bytes_ -= sent.text.size();
                        self->out_.pop_front();
                        if (self->closed_)
                            return self->send_close();
                        if (!self->out_.empty())
                            self->write();
                    });
}

void ws_session::ended() {
    if (gone_)
        return;
    gone_ = true;
    server_.left(id_);
}

}  // namespace

int serve(const config &cfg, std::function<config()> reread, const std::function<void()> &threads_started) {
    server srv(cfg, std::move(reread));
    return srv.run(threads_started);
}

}  // namespace bridge
