// The XFS port against the played XFS manager: the whole check of the
// service, call by call and byte by byte, and how each kind of answer is
// printed when the service answers differently.
#include "backends/xfs/xfs.h"
#include "backends/xfs/xfs_library.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct Xfs : ::testing::Test {
    PlayedLibrary manager{"MSXFS.dll"};
    void SetUp() override {
        ASSERT_TRUE(manager.isLoaded());
        manager.reset();
    }
    // claim, lock, unlock and release of one port; what they printed.
    std::string session() {
        WXFS port;
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(port.claim(0), 0);
        EXPECT_EQ(port.lock(0), 0);
        EXPECT_EQ(port.unlock(0), 0);
        EXPECT_EQ(port.release(0), 0);
        return ::testing::internal::GetCapturedStdout();
    }
    // The lines printed after the given header line, up to the next result line.
    std::string part(const std::string& header) {
        std::string all = session();
        size_t at = all.find(header + "\n");
        if (at == std::string::npos) return "(no " + header + ")";
        at += header.size() + 1;
        size_t end = all.find("\n0 ", at - 1);
        return all.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
    }
};

TEST_F(Xfs, WholeCheckPrintsEveryAnswerAndCallsInOrder) {
    std::string out = session();
    EXPECT_EQ(out, readFile(XFS_EXPECTED_DIR "/session.txt"));
    EXPECT_EQ(manager.calls(), readFile(XFS_EXPECTED_DIR "/session.calls"));
    EXPECT_EQ(manager.taken(), "ORVAN\r\n");
}

TEST_F(Xfs, SendAndRecvLeaveTheCountAsItWas) {
    WXFS port;
    uint32_t count = 1234;
    EXPECT_EQ(port.send("abc", 3, &count, 0, 0, 0), 0);
    EXPECT_EQ(count, 1234u);
    char buffer[4];
    EXPECT_EQ(port.recv(buffer, sizeof buffer, &count, 0), 0);
    EXPECT_EQ(count, 1234u);
    EXPECT_EQ(manager.calls(), "");
}

TEST_F(Xfs, ReleaseAfterAFailedOpenCallsNothing) {
    manager.script("WFSOpen", -14);
    WXFS port;
    ::testing::internal::CaptureStdout();
    port.claim(0);
    std::string claimed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(claimed.find("-14 WFSOpen\n"), std::string::npos) << claimed;
    manager.reset();
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(port.release(0), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(manager.calls(), "");
}

TEST_F(Xfs, PortIsReachedByItsTargetName) {
    DOVA_HANDLE h = DovaOpenByName("XFS", 1);
    ASSERT_NE(h, DOVA_INVALID_HANDLE);
    EXPECT_EQ(DovaGetIFType(h), DOVA_IF_XFS);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(DovaClaim(h, 0), 0);
    EXPECT_EQ(DovaRelease(h, 0), 0);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(DovaClose(h), 0);
}

// Answers without a record, records without a buffer, empty lists: each
// prints its own line, nothing is read through what is missing, and the
// check goes on with the next query.
TEST_F(Xfs, AnswersAbsentOrEmpty) {
    const struct {
        const char* category;
        int kind; // 0 no record, 1 no buffer, 3 empty list or no field names
        const char* header;
        const char* printed;
    } cases[] = {
        {"answer.103", 0, "0 WFSGetInfo(WFS_INF_PTR_FORM_LIST)", "Returned pointer is null !! \n"},
        {"answer.103", 1, "0 WFSGetInfo(WFS_INF_PTR_FORM_LIST)", "Form list pointer is null !! \n"},
        {"answer.103", 3, "0 WFSGetInfo(WFS_INF_PTR_FORM_LIST)", " Form list:\n"},
        {"answer.104", 0, "0 WFSGetInfo(WFS_INF_PTR_MEDIA_LIST)",
         "!! Returned pointer is null !!\n"},
        {"answer.104", 1, "0 WFSGetInfo(WFS_INF_PTR_MEDIA_LIST)", "!! Pointer is NULL !!\n"},
        {"answer.104", 3, "0 WFSGetInfo(WFS_INF_PTR_MEDIA_LIST)", " Media list:\n"},
        {"answer.102", 0, "0 WFSGetInfo(WFS_INF_PTR_CAPABILITIES)", ""},
        {"answer.102", 1, "0 WFSGetInfo(WFS_INF_PTR_CAPABILITIES)", ""},
        {"answer.106", 0, "0 WFSGetInfo(WFS_INF_PTR_QUERY_MEDIA)",
         " Media Name            = DINA4\nReturned pointer is null !! \n"},
        {"answer.106", 1, "0 WFSGetInfo(WFS_INF_PTR_QUERY_MEDIA)",
         " Media Name            = DINA4\nReturned pointer is null !! \n"},
        {"answer.105", 1, "0 WFSGetInfo(WFS_INF_PTR_QUERY_FORM)", "Returned pointer is null !! \n"},
        {"answer.107", 0, "0 WFSGetInfo(WFS_INF_PTR_QUERY_FIELD)",
         "Returned pointer is null !! \n"},
        {"answer.107", 1, "0 WFSGetInfo(WFS_INF_PTR_QUERY_FIELD)",
         " Fields:!! Pointer is NULL !!\n"},
        {"answer.101", 0, "0 WFSGetInfo(WFS_INF_PTR_STATUS)", "\bReturned pointer is null !! \n"},
        {"answer.101", 1, "0 WFSGetInfo(WFS_INF_PTR_STATUS)", " pStatus is NULL !!\n"},
    };
    for (const auto& c : cases) {
        manager.reset();
        manager.script(c.category, c.kind);
        EXPECT_EQ(part(c.header), c.printed) << c.category << "=" << c.kind;
    }
    manager.reset();
    manager.script("answer.105", 3);
    std::string form = part("0 WFSGetInfo(WFS_INF_PTR_QUERY_FORM)");
    EXPECT_NE(form.find(" User Prompt         = Insert a sheet\n"
                        " Fields              = !! Pointer is NULL !!\n"),
              std::string::npos)
        << form;
}

// One capability line per case: the value and the names it prints.
TEST_F(Xfs, CapabilityNames) {
    const struct {
        const char* field;
        int value;
        const char* line;
    } cases[] = {
        {"caps.fwType", 0x5,
         " fwType              = 0x5:WFS_PTR_TYPERECEIPT WFS_PTR_TYPEJOURNAL \n"},
        {"caps.fwType", 0x10, " fwType              = 0x10:Invalid flag !!\n"},
        {"caps.fwType", 0xA,
         " fwType              = 0xa:WFS_PTR_TYPEPASSBOOK WFS_PTR_TYPEDOCUMENT \n"},
        {"caps.wClass", 2, " wClass              = 2:Strange!! Not Printer Service!!\n"},
        {"caps.wResolution", 0x1F,
         " wResolution         = 0x1f:WFS_PTR_RESLOW WFS_PTR_RESMED WFS_PTR_RESHIGH "
         "WFS_PTR_RESVERYHIGH Invalid flag !!\n"},
        {"caps.fwReadForm", 0, " fwReadForm          = 0x0:No Read Capability \n"},
        {"caps.fwReadForm", 0x7,
         " fwReadForm          = 0x7:WFS_PTR_READMSF WFS_PTR_READMICR Invalid flag !!\n"},
        {"caps.fwWriteForm", 0x13,
         " fwWriteForm         = 0x13:WFS_PTR_WRITETEXT WFS_PTR_WRITEMSF Invalid flag !!\n"},
        {"caps.fwExtents", 3, " fwExtents           = 3:Invalid flag !!\n"},
        {"caps.fwControl", 0x101,
         " fwControl           = 0x101:WFS_PTR_CTRLEJECT WFS_PTR_CTRLALARM \n"},
        {"caps.fwControl", 0x2, " fwControl           = 0x2:Invalid flag !!\n"},
        {"caps.usMaxRetract", 2, " usMaxRetract        = 2:Invalid value !!\n"},
        {"caps.usMaxMediaOnStacker", 1, " usMaxMediaOnStacker = 1:Invalid value !!\n"},
        {"caps.bAcceptMedia", 0, " bAcceptMedia        = 0:FALSE\n"},
    };
    for (const auto& c : cases) {
        manager.reset();
        manager.script(c.field, c.value);
        std::string caps = part("0 WFSGetInfo(WFS_INF_PTR_CAPABILITIES)");
        EXPECT_NE(caps.find(c.line), std::string::npos) << c.field << "\n" << caps;
    }
}

// Known values print their names, unknown ones the complaint (with a
// backspace before it on the first five lines, as the operator has always seen it).
TEST_F(Xfs, StatusNames) {
    const struct {
        const char* field;
        int value;
        const char* line;
    } cases[] = {
        {"status.fwDevice", 6, " fwDevice            = 6:WFS_PTR_DEVBUSY\n"},
        {"status.fwDevice", 2, " fwDevice            = 2:\bUnknown value !!\n"},
        {"status.fwMedia", 4, " fwMedia             = 4:WFS_PTR_MEDIAUNKNOWN\n"},
        {"status.fwMedia", 3, " fwMedia             = 3:\bUnknown value !!\n"},
        {"status.fwPaper", 2, " fwPaper             = 2:WFS_PTR_PAPEROUT\n"},
        {"status.fwPaper", 9, " fwPaper             = 9:\bUnknown value !!\n"},
        {"status.fwToner", 1, " fwToner             = 1:WFS_PTR_TONERLOW\n"},
        {"status.fwInk", 5, " fwInk               = 5:\bUnknown value !!\n"},
        {"status.fwLamp", 2, " fwLamp              = 2:WFS_PTR_LAMPINOP\n"},
        {"status.fwLamp", 7, " fwLamp              = 7:Unknown value !!\n"},
        {"status.fwRetractBin", 1, " fwRetractBin        = 1:WFS_PTR_RETRACTBINFULL\n"},
        {"status.fwRetractBin", 4, " fwRetractBin        = 4:Unknown value !!\n"},
        {"status.usRetractCount", 12, " usRetractCount      = 12\n"},
    };
    for (const auto& c : cases) {
        manager.reset();
        manager.script(c.field, c.value);
        std::string status = part("0 WFSGetInfo(WFS_INF_PTR_STATUS)");
        EXPECT_NE(status.find(c.line), std::string::npos) << c.field << "\n" << status;
    }
}

// The records are the contract with service providers: packed, pointers of
// the platform's width.
TEST(XfsRecords, LayoutIsPacked) {
    constexpr size_t p = sizeof(void*);
    const std::pair<size_t, size_t> sizes[] = {
        {sizeof(WFSVERSION), 520},
        {sizeof(WFSRESULT), 30 + p},
        {sizeof(WFSPTRCAPS), 26},
        {sizeof(WFSPTRSTATUS), 18},
        {sizeof(WFSFRMMEDIA), 36},
        {sizeof(WFSFRMHEADER), 3 * p + 22},
        {offsetof(WFSFRMHEADER, lpszUserPrompt), p + 22},
        {sizeof(WFSFRMFIELD), 3 * p + 10},
        {offsetof(WFSFRMFIELD, lpszInitialValue), p + 10},
        {sizeof(WFSPTRPRINTFORM), 3 * p + 12},
        {offsetof(WFSPTRPRINTFORM, dwMediaControl), 2 * p + 8},
        {sizeof(WFSPTRRAWDATA), 6 + p},
        {sizeof(WFSPTRMEDIAUNIT), 6},
    };
    for (size_t i = 0; i < std::size(sizes); ++i)
        EXPECT_EQ(sizes[i].first, sizes[i].second) << "row " << i;
}

} // namespace
