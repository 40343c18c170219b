#include "loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

const std::string LoopbackHttpServer::kNoAnswer = "\x01no-answer";

namespace {

constexpr int kIoTimeoutMs = 10000; // bounds every wait of the server

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

const char* reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    if (pipe(stopPipe_) != 0) throw std::runtime_error("pipe");
    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (listenFd_ < 0 || bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(listenFd_, 8) != 0)
        throw std::runtime_error("cannot listen on loopback");
    socklen_t len = sizeof addr;
    getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    const char b = 1;
    [[maybe_unused]] auto n = write(stopPipe_[1], &b, 1);
    thread_.join();
    close(listenFd_);
    close(stopPipe_[0]);
    close(stopPipe_[1]);
}

std::string LoopbackHttpServer::base() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::vector<HttpRequest> LoopbackHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string LoopbackHttpServer::response(int status, const std::string& body,
                                         const std::string& contentType,
                                         const std::string& extraHeaders) {
    std::string r = "HTTP/1.1 " + std::to_string(status) + " " + reason(status) + "\r\n";
    if (!contentType.empty()) r += "Content-Type: " + contentType + "\r\n";
    r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    r += extraHeaders;
    r += "Connection: close\r\n\r\n";
    return r + body;
}

void LoopbackHttpServer::run() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return;
        const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        serve(fd);
        close(fd);
    }
}

void LoopbackHttpServer::serve(int fd) {
    std::string data;
    HttpRequest req;
    size_t headerEnd = std::string::npos;
    size_t contentLength = 0;
    char buf[4096];
    for (;;) {
        if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + contentLength) break;
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, kIoTimeoutMs) <= 0 || fds[1].revents) return;
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) return;
        data.append(buf, size_t(n));
        if (headerEnd == std::string::npos &&
            (headerEnd = data.find("\r\n\r\n")) != std::string::npos) {
            size_t pos = data.find("\r\n");
            const std::string first = data.substr(0, pos);
            const size_t sp1 = first.find(' ');
            const size_t sp2 = first.find(' ', sp1 + 1);
            req.method = first.substr(0, sp1);
            req.target = first.substr(sp1 + 1, sp2 - sp1 - 1);
            const size_t q = req.target.find('?');
            req.path = req.target.substr(0, q);
            req.query = q == std::string::npos ? "" : req.target.substr(q + 1);
            while (pos < headerEnd) {
                const size_t next = data.find("\r\n", pos + 2);
                const std::string line = data.substr(pos + 2, next - pos - 2);
                const size_t colon = line.find(':');
                if (colon != std::string::npos) {
                    std::string value = line.substr(colon + 1);
                    value.erase(0, value.find_first_not_of(' '));
                    req.headers[lower(line.substr(0, colon))] = value;
                }
                pos = next;
            }
            if (auto it = req.headers.find("content-length"); it != req.headers.end())
                contentLength = std::stoul(it->second);
        }
    }
    req.body = data.substr(headerEnd + 4, contentLength);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(req);
    }
    const std::string answer = handler_(req);
    if (answer == kNoAnswer) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        poll(fds, 2, kIoTimeoutMs);
        return;
    }
    size_t sent = 0;
    while (sent < answer.size()) {
        const ssize_t n = send(fd, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += size_t(n);
    }
    shutdown(fd, SHUT_WR);
}
