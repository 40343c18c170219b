#pragma once
// The stand-in web service: data folder, certificate, storage and the HTTPS
// server, put together in the order a start needs them.

#include "service_options.h"
#include "storage.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace httplib {
class SSLServer;
}

namespace tpgservice {

class Service {
public:
    // Prepares the data folder, the certificate and the database, and binds
    // the listening socket. Throws std::runtime_error with a message for the
    // user when any of it fails.
    explicit Service(ServiceOptions options);
    ~Service();
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    int port() const { return port_; }
    // "https://HOST:PORT"
    std::string listeningAddress() const;
    const std::filesystem::path& certificatePath() const { return certificate_; }
    const std::string& baseAddress() const { return base_; }
    Storage& storage() { return *storage_; }

    // Serves until stop(); false when serving failed.
    bool run();
    // Safe from any thread, also before run() has started.
    void stop();
    // For callers that stop the service from another thread: true once run()
    // accepts connections.
    bool waitUntilRunning(std::chrono::milliseconds limit) const;

private:
    ServiceOptions options_;
    std::filesystem::path certificate_;
    std::unique_ptr<Storage> storage_;
    std::unique_ptr<httplib::SSLServer> server_;
    int port_ = 0;
    std::string base_;
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> runEntered_{false};
    std::atomic<bool> runReturned_{false};
};

} // namespace tpgservice
