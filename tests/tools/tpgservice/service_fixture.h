#pragma once
// Runs the service in-process on a loopback port the system picks, with its
// own data folder, and gives tests a client that trusts only the service's
// certificate (so every test also checks the certificate is right).

#include "service.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace tpgservice::test {

inline constexpr const char* kToken = "MarwenoDelsip";

struct TempDir {
    std::filesystem::path path;
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
};

class RunningService {
public:
    explicit RunningService(const std::filesystem::path& data, std::string base = "");
    ~RunningService();
    RunningService(const RunningService&) = delete;
    RunningService& operator=(const RunningService&) = delete;

    Service& service() { return *service_; }
    std::unique_ptr<httplib::SSLClient> client() const;

private:
    std::unique_ptr<Service> service_;
    std::thread runner_;
};

class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Stops the service and starts a new one on the same data folder.
    void restart();

    httplib::Result get(const std::string& path);
    httplib::Result post(const std::string& path, const httplib::Params& params);
    // Writes a profile with the token; fails the test unless it is accepted.
    void writeProfile(const std::string& id, httplib::Params fields);
    std::string base() { return running_->service().baseAddress(); }

    TempDir data_;
    std::unique_ptr<RunningService> running_;
    std::unique_ptr<httplib::SSLClient> client_;
};

} // namespace tpgservice::test
