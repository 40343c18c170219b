// The XFS port when the XFS manager library cannot be loaded: every call
// prints -999, and the port still answers 0 throughout.
#include "backends/xfs/xfs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(XfsManagerMissing, EveryCallPrintsMinus999) {
    WXFS port;
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(port.claim(0), 0);
    EXPECT_EQ(port.lock(0), 0);
    EXPECT_EQ(port.unlock(0), 0);
    EXPECT_EQ(port.release(0), 0);
    std::string out = ::testing::internal::GetCapturedStdout();
    const char* const lines[] = {
        "-999 WFSStartUp\n",
        " wVersion       = 0000 Ver.00.00\n",
        " szDescription  = \n",
        "-999 WFSCreateAppHandle\n hApp=00000000\n Logical name = 'NT_DOC'\n-999 WFSOpen\n",
        "-999 WFSLock\n-999 WFSGetInfo(WFS_INF_PTR_CAPABILITIES)\n"
        "-999 WFSGetInfo(WFS_INF_PTR_MEDIA_LIST)\n!! Returned pointer is null !!\n",
        "-999 WFSGetInfo(WFS_INF_PTR_STATUS)\n\bReturned pointer is null !! \n"
        "-999 WFSExecute(WFS_CMD_PTR_PRINT_FORM)\n-999 WFSExecute(WFS_CMD_PTR_RAW_DATA)\n"
        "-999 WFSExecute(WFS_CMD_PTR_CONTROL_MEDIA)\n-999 WFSUnlock\n",
    };
    for (const char* line : lines)
        EXPECT_NE(out.find(line), std::string::npos) << line << "\n---\n" << out;
    // The open failed (no service handle): release has nothing to close.
    EXPECT_EQ(out.find("WFSClose"), std::string::npos);
}

} // namespace
