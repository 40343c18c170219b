#include "library_fixture.h"

#include "message_window.h"

#include <thread>
#include <vector>

namespace {

using MessageWindow = LibraryTest;

struct Recorder : DovaMessageTarget {
    std::vector<intptr_t> events;
    void onSocketMessage(uint32_t message, uintptr_t, intptr_t lParam) override {
        EXPECT_EQ(message, DOVA_WM_SOCKET);
        events.push_back(lParam);
    }
};

TEST_F(MessageWindow, ExistsOnlyWhileStarted) {
    EXPECT_FALSE(dovaMessageWindowReady());
    EXPECT_FALSE(dovaPostMessage(DOVA_WM_SOCKET, 5, 1));
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    EXPECT_TRUE(dovaMessageWindowReady());
    DovaCleanup();
    EXPECT_FALSE(dovaMessageWindowReady());
}

TEST_F(MessageWindow, SocketMessagesReachTheRegisteredPort) {
    ASSERT_EQ(DovaStartup(nullptr), DOVA_OK);
    Recorder first, second;
    RegistSocket(7, &first);
    RegistSocket(7, &second); // an existing entry is kept
    // Posted from another thread, handled on the owner's when it dispatches.
    std::thread poster([] {
        dovaPostMessage(DOVA_WM_SOCKET, 7, 11);
        dovaPostMessage(DOVA_WM_SOCKET, 8, 12); // nobody registered: dropped
        dovaPostMessage(DOVA_WM_SOCKET, 7, 13);
    });
    poster.join();
    EXPECT_TRUE(first.events.empty());
    EXPECT_EQ(dovaDispatchMessages(), 3);
    EXPECT_EQ(first.events, (std::vector<intptr_t>{11, 13}));
    EXPECT_TRUE(second.events.empty());
    UnRegistSocket(7);
    dovaWindowProc(DOVA_WM_SOCKET, 7, 14);
    EXPECT_EQ(first.events.size(), 2u);
    std::string trace = readFile(tracePath());
    EXPECT_NE(trace.find("DOVA: RegistSocket(7)\n"), std::string::npos);
    EXPECT_NE(trace.find("DOVA: UnRegistSocket(7)\n"), std::string::npos);
}

TEST_F(MessageWindow, OtherUserMessages) {
    testing::internal::CaptureStdout();
    for (uint32_t m = DOVA_WM_USER + 10; m <= DOVA_WM_USER + 15; ++m)
        EXPECT_EQ(dovaWindowProc(m, 0, 0), 0);
    EXPECT_EQ(dovaWindowProc(DOVA_WM_USER, 0, 0), 0);
    EXPECT_EQ(dovaWindowProc(DOVA_WM_USER + 100, 0, 0), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    testing::internal::CaptureStdout();
    EXPECT_EQ(dovaWindowProc(DOVA_WM_USER + 20, 0, 0), 0);
    EXPECT_EQ(dovaWindowProc(DOVA_WM_USER + 1, 0, 0), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "@@Unkown WM_USER\n@@Unkown WM_USER\n");
}

} // namespace
