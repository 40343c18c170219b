// A small HTTP/1.1 server on 127.0.0.1 for the web client's tests: each request
// is recorded and answered by the test's handler, one connection at a time.
#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct HttpRequest {
    std::string method;
    std::string target; // path and query as sent
    std::string path;
    std::string query;
    std::map<std::string, std::string> headers; // names in lower case
    std::string body;
};

class LoopbackHttpServer {
public:
    // Returns the whole raw response; kNoAnswer keeps the connection open
    // without answering until the client gives up or the server stops.
    using Handler = std::function<std::string(const HttpRequest&)>;
    static const std::string kNoAnswer;

    explicit LoopbackHttpServer(Handler handler);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int port() const { return port_; }
    std::string base() const; // "http://127.0.0.1:PORT"
    std::vector<HttpRequest> requests() const;

    static std::string response(int status, const std::string& body,
                                const std::string& contentType = "text/html; charset=UTF-8",
                                const std::string& extraHeaders = "");

private:
    void run();
    void serve(int fd);

    Handler handler_;
    int listenFd_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
    std::thread thread_;
};
