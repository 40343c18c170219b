#include "certificate.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>

namespace tpgservice {

namespace {

template <auto Free> struct Deleter {
    template <class T> void operator()(T* p) const { Free(p); }
};
using X509Ptr = std::unique_ptr<X509, Deleter<X509_free>>;
using KeyPtr = std::unique_ptr<EVP_PKEY, Deleter<EVP_PKEY_free>>;
using ExtPtr = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION_free>>;
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

constexpr long kValidDays = 3650;
constexpr long kRenewBeforeSeconds = 30L * 24 * 3600;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("certificate: " + what);
}

bool isIpAddress(const std::string& name) {
    unsigned char buf[16];
    return inet_pton(AF_INET, name.c_str(), buf) == 1 ||
           inet_pton(AF_INET6, name.c_str(), buf) == 1;
}

X509Ptr readCertificate(const std::filesystem::path& file) {
    FilePtr f(std::fopen(file.c_str(), "r"));
    if (!f) return nullptr;
    return X509Ptr(PEM_read_X509(f.get(), nullptr, nullptr, nullptr));
}

KeyPtr readKey(const std::filesystem::path& file) {
    FilePtr f(std::fopen(file.c_str(), "r"));
    if (!f) return nullptr;
    return KeyPtr(PEM_read_PrivateKey(f.get(), nullptr, nullptr, nullptr));
}

bool covers(X509* cert, const std::vector<std::string>& names, long secondsAhead) {
    time_t later = time(nullptr) + secondsAhead;
    if (X509_cmp_current_time(X509_get0_notBefore(cert)) > 0) return false;
    if (X509_cmp_time(X509_get0_notAfter(cert), &later) < 0) return false;
    for (const auto& name : names) {
        int ok = isIpAddress(name) ? X509_check_ip_asc(cert, name.c_str(), 0)
                                   : X509_check_host(cert, name.c_str(), name.size(), 0, nullptr);
        if (ok != 1) return false;
    }
    return true;
}

void addExtension(X509* cert, int nid, const std::string& value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    ExtPtr ext(X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.c_str()));
    if (!ext || !X509_add_ext(cert, ext.get(), -1)) fail("cannot add extension " + value);
}

// Writes next to the target and renames, so a crash never leaves half a file
// that the next start would choke on.
void writePem(const std::filesystem::path& target, mode_t mode,
              const std::function<bool(FILE*)>& write) {
    std::filesystem::path temp = target;
    temp += ".new";
    std::filesystem::remove(temp);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) fail("cannot create " + temp.string());
    FilePtr f(fdopen(fd, "w"));
    if (!f) {
        ::close(fd);
        fail("cannot open " + temp.string());
    }
    bool ok = write(f.get());
    ok = std::fflush(f.get()) == 0 && ok;
    f.reset();
    if (!ok) fail("cannot write " + temp.string());
    std::filesystem::rename(temp, target);
}

} // namespace

bool certificateCovers(const std::filesystem::path& certificate,
                       const std::vector<std::string>& names) {
    X509Ptr cert = readCertificate(certificate);
    return cert && covers(cert.get(), names, 0);
}

CertificateFiles ensureSelfSignedCertificate(const std::filesystem::path& folder,
                                             const std::vector<std::string>& names) {
    CertificateFiles files{folder / "cert.pem", folder / "key.pem"};
    {
        X509Ptr cert = readCertificate(files.certificate);
        KeyPtr key = readKey(files.key);
        if (cert && key && X509_check_private_key(cert.get(), key.get()) == 1 &&
            covers(cert.get(), names, kRenewBeforeSeconds)) {
            return files;
        }
    }

    KeyPtr key(EVP_RSA_gen(2048));
    if (!key) fail("cannot make a key");
    X509Ptr cert(X509_new());
    if (!cert) fail("out of memory");
    X509_set_version(cert.get(), 2);
    unsigned char serial[8];
    RAND_bytes(serial, sizeof serial);
    serial[0] &= 0x7f; // a positive serial number
    std::unique_ptr<BIGNUM, Deleter<BN_free>> bn(BN_bin2bn(serial, sizeof serial, nullptr));
    BN_to_ASN1_INTEGER(bn.get(), X509_get_serialNumber(cert.get()));
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -24 * 3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), kValidDays * 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());

    X509_NAME* subject = X509_get_subject_name(cert.get());
    std::string commonName = names.empty() ? "localhost" : names.front();
    X509_NAME_add_entry_by_txt(subject, "O", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>("TablePing local service"),
                               -1, -1, 0);
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8,
                               reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1,
                               0);
    X509_set_issuer_name(cert.get(), subject);

    std::string altNames;
    for (const auto& name : names) {
        if (!altNames.empty()) altNames += ',';
        altNames += (isIpAddress(name) ? "IP:" : "DNS:") + name;
    }
    addExtension(cert.get(), NID_basic_constraints, "critical,CA:FALSE");
    addExtension(cert.get(), NID_key_usage, "critical,digitalSignature,keyEncipherment");
    addExtension(cert.get(), NID_ext_key_usage, "serverAuth");
    addExtension(cert.get(), NID_subject_key_identifier, "hash");
    if (!altNames.empty()) addExtension(cert.get(), NID_subject_alt_name, altNames);
    if (!X509_sign(cert.get(), key.get(), EVP_sha256())) fail("cannot sign");

    writePem(files.key, 0600, [&](FILE* f) {
        return PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    });
    writePem(files.certificate, 0644, [&](FILE* f) { return PEM_write_X509(f, cert.get()) == 1; });
    return files;
}

} // namespace tpgservice
