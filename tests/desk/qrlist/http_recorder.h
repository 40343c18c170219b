// A plain-HTTP listener on loopback that records the request line of every
// request and answers 200, or a chosen error status for targets that contain
// a chosen text. It serves on its own thread while the code under test blocks
// in its request.
#pragma once

#include <QString>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class HttpRecorder {
  public:
    HttpRecorder();
    ~HttpRecorder();
    HttpRecorder(const HttpRecorder&) = delete;
    HttpRecorder& operator=(const HttpRecorder&) = delete;

    // "http://127.0.0.1:PORT"
    QString baseUrl() const;
    // Answer `status` to every request whose target contains `needle`.
    void failWhen(const std::string& needle, int status);
    // Request targets ("/genqr.php?id=...") in the order they arrived.
    std::vector<std::string> targets() const;

  private:
    void serve();
    void answer(int fd);

    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<std::string> targets_;
    std::string failNeedle_;
    int failStatus_ = 0;
    std::thread thread_;
};
