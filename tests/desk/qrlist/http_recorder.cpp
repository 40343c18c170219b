#include "http_recorder.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

HttpRecorder::HttpRecorder() {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0 || ::pipe2(stopPipe_, O_CLOEXEC) != 0)
        throw std::runtime_error("recorder: no socket");
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 16) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("recorder: cannot listen");
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { serve(); });
}

HttpRecorder::~HttpRecorder() {
    const char stop = 1;
    (void)!::write(stopPipe_[1], &stop, 1);
    thread_.join();
    ::close(listenFd_);
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
}

QString HttpRecorder::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

void HttpRecorder::failWhen(const std::string& needle, int status) {
    std::lock_guard lock(mutex_);
    failNeedle_ = needle;
    failStatus_ = status;
}

std::vector<std::string> HttpRecorder::targets() const {
    std::lock_guard lock(mutex_);
    return targets_;
}

void HttpRecorder::serve() {
    for (;;) {
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) continue;
        if (fds[1].revents) return;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd >= 0) {
            answer(fd);
            ::close(fd);
        }
    }
}

void HttpRecorder::answer(int fd) {
    // The requests under test are GETs: the head is the whole request.
    std::string head;
    char buf[4096];
    while (head.find("\r\n\r\n") == std::string::npos) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, 5000) <= 0) return;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) return;
        head.append(buf, static_cast<size_t>(n));
    }
    const size_t start = head.find(' ') + 1;
    const std::string target = head.substr(start, head.find(' ', start) - start);

    int status = 200;
    {
        std::lock_guard lock(mutex_);
        targets_.push_back(target);
        if (!failNeedle_.empty() && target.find(failNeedle_) != std::string::npos)
            status = failStatus_;
    }
    const std::string body = status == 200 ? "OK\n" : "failed\n";
    const std::string reply =
        "HTTP/1.1 " + std::to_string(status) + (status == 200 ? " OK" : " Error") +
        "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
        "\r\nConnection: close\r\n\r\n" + body;
    size_t sent = 0;
    while (sent < reply.size()) {
        const ssize_t n = ::write(fd, reply.data() + sent, reply.size() - sent);
        if (n <= 0) return;
        sent += static_cast<size_t>(n);
    }
}
