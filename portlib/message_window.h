// The library's message window. On Windows a hidden window receives the
// socket notifications of window-message network ports. On POSIX it is a small
// dispatcher: a thread-safe queue of posted messages that the thread which
// started the library drains with dovaDispatchMessages(); the library never
// drains it itself. It exists from DovaStartup to DovaCleanup.
//
// Messages: WM_USER+10..15 (1034-1039) are ignored; WM_USER+16 (1040) carries
// a socket in wParam and goes to the port registered for that socket; any
// other message in WM_USER+1..99 prints "@@Unkown WM_USER\n" on standard
// output. Everything else is left alone (result 0).
#pragma once

#include <cstdint>

constexpr uint32_t DOVA_WM_USER = 0x0400;
constexpr uint32_t DOVA_WM_SOCKET = DOVA_WM_USER + 16;

// A port that takes socket notifications (the window-message TCP class).
class DovaMessageTarget {
public:
    virtual ~DovaMessageTarget() = default;
    virtual void onSocketMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

// True while the library is started (the window exists).
bool dovaMessageWindowReady();

// Socket registry. An existing entry for the socket is kept.
void RegistSocket(int socket, DovaMessageTarget* port);
void UnRegistSocket(int socket);

// The window procedure: handles one message at once, on the caller's thread.
intptr_t dovaWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam);

// Queues a message for the window from any thread; false when no window exists.
bool dovaPostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

// Runs dovaWindowProc for every queued message; returns how many ran.
int dovaDispatchMessages();

// For DovaStartup and DovaCleanup only.
void dovaMessageWindowCreate();
void dovaMessageWindowDestroy();
