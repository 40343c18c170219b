#pragma once
// The service's TLS identity: a self-signed certificate made on first start
// and kept in the data folder, so clients can be told once to trust it.

#include <filesystem>
#include <string>
#include <vector>

namespace tpgservice {

struct CertificateFiles {
    std::filesystem::path certificate;
    std::filesystem::path key;
};

// Uses cert.pem/key.pem in the folder when they are valid for the next 30
// days and cover every name; otherwise makes new ones (the key readable by
// the owner only). Names are host names or IP addresses. Throws on failure.
CertificateFiles ensureSelfSignedCertificate(const std::filesystem::path& folder,
                                             const std::vector<std::string>& names);

// True when the certificate file is valid now and for every name.
bool certificateCovers(const std::filesystem::path& certificate,
                       const std::vector<std::string>& names);

} // namespace tpgservice
