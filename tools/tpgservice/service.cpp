#include "service.h"

#include "certificate.h"
#include "routes.h"

#include <httplib.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace tpgservice {

namespace {

bool isAnyAddress(const std::string& host) {
    return host == "0.0.0.0" || host == "::";
}

std::string machineName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string hostForUrl(const std::string& host) {
    return host.find(':') != std::string::npos ? "[" + host + "]" : host;
}

// Host part of an https://host:port/... address, for the certificate.
std::string hostOfAddress(const std::string& address) {
    std::string rest = address;
    if (auto scheme = rest.find("://"); scheme != std::string::npos) rest = rest.substr(scheme + 3);
    rest = rest.substr(0, rest.find('/'));
    if (!rest.empty() && rest.front() == '[') return rest.substr(1, rest.find(']') - 1);
    return rest.substr(0, rest.find(':'));
}

// Every name a client may use to reach us, so one certificate serves them all.
std::vector<std::string> certificateNames(const ServiceOptions& options) {
    std::vector<std::string> names;
    auto add = [&](const std::string& name) {
        if (!name.empty() && !isAnyAddress(name) &&
            std::find(names.begin(), names.end(), name) == names.end()) {
            names.push_back(name);
        }
    };
    add(options.host);
    if (!options.base.empty()) add(hostOfAddress(options.base));
    add("localhost");
    add("127.0.0.1");
    if (isAnyAddress(options.host)) add(machineName());
    return names;
}

} // namespace

Service::Service(ServiceOptions options) : options_(std::move(options)) {
    std::error_code ec;
    std::filesystem::create_directories(options_.data, ec);
    if (ec || !std::filesystem::is_directory(options_.data)) {
        throw std::runtime_error("cannot use data folder " + options_.data.string() + ": " +
                                 (ec ? ec.message() : "not a folder"));
    }

    std::filesystem::path key;
    if (!options_.cert.empty()) {
        certificate_ = options_.cert;
        key = options_.key;
    } else {
        auto files = ensureSelfSignedCertificate(options_.data, certificateNames(options_));
        certificate_ = files.certificate;
        key = files.key;
    }
    certificate_ = std::filesystem::absolute(certificate_);

    storage_ = std::make_unique<Storage>(options_.data / "tpgservice.sqlite");

    server_ = std::make_unique<httplib::SSLServer>(certificate_.c_str(), key.c_str());
    if (!server_->is_valid()) {
        throw std::runtime_error("cannot load certificate " + certificate_.string() + " and key " +
                                 key.string());
    }
    // The desk speaks TLS 1.2; nothing older is offered.
    SSL_CTX_set_min_proto_version(server_->ssl_context(), TLS1_2_VERSION);
    server_->set_payload_max_length(64 * 1024);
    server_->set_read_timeout(std::chrono::seconds(10));
    server_->set_write_timeout(std::chrono::seconds(10));
    // Short: an idle keep-alive connection also holds up a stop this long.
    server_->set_keep_alive_timeout(2);
    // httplib's default also sets SO_REUSEPORT, which would let a second
    // service start on a port that is taken and silently share its calls.
    server_->set_socket_options([](int sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });

    if (options_.port == 0) {
        port_ = server_->bind_to_any_port(options_.host);
        if (port_ < 0) port_ = 0;
    } else if (server_->bind_to_port(options_.host, options_.port)) {
        port_ = options_.port;
    }
    if (port_ <= 0) {
        throw std::runtime_error("cannot listen on " + options_.host + " port " +
                                 std::to_string(options_.port));
    }

    if (!options_.base.empty()) {
        base_ = options_.base;
        while (!base_.empty() && base_.back() == '/')
            base_.pop_back();
    } else {
        std::string host = isAnyAddress(options_.host) ? machineName() : options_.host;
        base_ = "https://" + hostForUrl(host) + ":" + std::to_string(port_);
    }
}

Service::~Service() = default;

std::string Service::listeningAddress() const {
    return "https://" + hostForUrl(options_.host) + ":" + std::to_string(port_);
}

bool Service::run() {
    RouteContext context{*storage_, base_};
    registerRoutes(*server_, context);
    runEntered_ = true;
    bool ok = stopRequested_ ? true : server_->listen_after_bind();
    runReturned_ = true;
    return ok || stopRequested_;
}

void Service::stop() {
    stopRequested_ = true;
    // run() either sees the request before it starts listening, or has
    // entered and will be listening shortly: wait for that, then close.
    if (runEntered_) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!runReturned_ && !server_->is_running() &&
               std::chrono::steady_clock::now() < until) {
            std::this_thread::yield();
        }
    }
    server_->stop();
}

bool Service::waitUntilRunning(std::chrono::milliseconds limit) const {
    auto until = std::chrono::steady_clock::now() + limit;
    while (!server_->is_running()) {
        if (runReturned_ || std::chrono::steady_clock::now() >= until) return false;
        std::this_thread::yield();
    }
    return true;
}

} // namespace tpgservice
