#include "certificate.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace tpgservice {
namespace {

std::string slurp(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "tpgcert-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

TEST(tpgserviceCertificate, MadeOnceKeptAndRenewedForNewNames) {
    TempDir dir;
    auto files = ensureSelfSignedCertificate(dir.path, {"127.0.0.1", "localhost"});
    EXPECT_TRUE(certificateCovers(files.certificate, {"127.0.0.1", "localhost"}));
    EXPECT_FALSE(certificateCovers(files.certificate, {"10.1.2.3"}));
    struct stat st {};
    ASSERT_EQ(stat(files.key.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    std::string first = slurp(files.certificate);
    ensureSelfSignedCertificate(dir.path, {"127.0.0.1", "localhost"});
    EXPECT_EQ(slurp(files.certificate), first) << "a valid certificate must be kept";

    ensureSelfSignedCertificate(dir.path, {"127.0.0.1", "desk-pc.lan"});
    EXPECT_NE(slurp(files.certificate), first);
    EXPECT_TRUE(certificateCovers(files.certificate, {"127.0.0.1", "desk-pc.lan"}));
}

TEST(tpgserviceCertificate, DamagedFilesAreReplaced) {
    TempDir dir;
    std::ofstream(dir.path / "cert.pem") << "not a certificate";
    std::ofstream(dir.path / "key.pem") << "not a key";
    auto files = ensureSelfSignedCertificate(dir.path, {"localhost"});
    EXPECT_TRUE(certificateCovers(files.certificate, {"localhost"}));
}

} // namespace
} // namespace tpgservice
