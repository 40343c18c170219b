#include "service_fixture.h"

#include "certificate.h"

#include <stdlib.h>

namespace tpgservice::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tpgservice-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

namespace {

// Making an RSA key takes most of a test's time; every service of this test
// program starts from one certificate for 127.0.0.1 made once. The service
// still checks it and makes its own when it does not fit.
void seedCertificate(const std::filesystem::path& data) {
    static TempDir seed;
    static CertificateFiles files =
        ensureSelfSignedCertificate(seed.path, {"127.0.0.1", "localhost"});
    std::filesystem::create_directories(data);
    std::filesystem::copy_file(files.certificate, data / "cert.pem",
                               std::filesystem::copy_options::skip_existing);
    std::filesystem::copy_file(files.key, data / "key.pem",
                               std::filesystem::copy_options::skip_existing);
}

} // namespace

RunningService::RunningService(const std::filesystem::path& data, std::string base) {
    seedCertificate(data);
    ServiceOptions options;
    options.data = data;
    options.port = 0;
    options.base = std::move(base);
    service_ = std::make_unique<Service>(options);
    runner_ = std::thread([this] { service_->run(); });
    if (!service_->waitUntilRunning(std::chrono::seconds(10))) {
        service_->stop();
        runner_.join();
        throw std::runtime_error("the service did not start");
    }
}

RunningService::~RunningService() {
    service_->stop();
    runner_.join();
}

std::unique_ptr<httplib::SSLClient> RunningService::client() const {
    auto client = std::make_unique<httplib::SSLClient>("127.0.0.1", service_->port());
    client->set_ca_cert_path(service_->certificatePath().string());
    client->enable_server_certificate_verification(true);
    client->set_connection_timeout(std::chrono::seconds(10));
    client->set_read_timeout(std::chrono::seconds(20));
    return client;
}

void ServiceTest::SetUp() {
    running_ = std::make_unique<RunningService>(data_.path);
    client_ = running_->client();
}

void ServiceTest::TearDown() {
    client_.reset();
    running_.reset();
}

void ServiceTest::restart() {
    client_.reset();
    running_.reset();
    running_ = std::make_unique<RunningService>(data_.path);
    client_ = running_->client();
}

httplib::Result ServiceTest::get(const std::string& path) {
    return client_->Get(path);
}

httplib::Result ServiceTest::post(const std::string& path, const httplib::Params& params) {
    return client_->Post(path, params);
}

void ServiceTest::writeProfile(const std::string& id, httplib::Params fields) {
    fields.emplace("id", id);
    fields.emplace("token", kToken);
    auto res = post("/writesql.php", fields);
    ASSERT_TRUE(res) << httplib::to_string(res.error());
    ASSERT_EQ(res->status, 200) << res->body;
}

} // namespace tpgservice::test
