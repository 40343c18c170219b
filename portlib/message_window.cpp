#include "message_window.h"

#include "trace.h"

#include <cstdio>
#include <deque>
#include <map>
#include <mutex>

namespace {

struct Message {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

std::mutex queueLock;
bool windowExists = false;
std::deque<Message> queue;
std::map<int, DovaMessageTarget*> sockets;

} // namespace

// Called by DovaStartup / DovaCleanup.
void dovaMessageWindowCreate() {
    std::lock_guard<std::mutex> guard(queueLock);
    windowExists = true;
}

void dovaMessageWindowDestroy() {
    std::lock_guard<std::mutex> guard(queueLock);
    windowExists = false;
    queue.clear();
}

bool dovaMessageWindowReady() {
    std::lock_guard<std::mutex> guard(queueLock);
    return windowExists;
}

void RegistSocket(int socket, DovaMessageTarget* port) {
    dovaTrace("DOVA: RegistSocket(%d)\n", socket);
    sockets.emplace(socket, port);
}

void UnRegistSocket(int socket) {
    dovaTrace("DOVA: UnRegistSocket(%d)\n", socket);
    sockets.erase(socket);
}

intptr_t dovaWindowProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message >= DOVA_WM_USER + 10 && message <= DOVA_WM_USER + 15) return 0;
    if (message == DOVA_WM_SOCKET) {
        auto it = sockets.find(int(wParam));
        if (it != sockets.end()) it->second->onSocketMessage(message, wParam, lParam);
        return 0;
    }
    if (message >= DOVA_WM_USER + 1 && message <= DOVA_WM_USER + 99) {
        std::fputs("@@Unkown WM_USER\n", stdout);
        std::fflush(stdout);
        return 0;
    }
    return 0;
}

bool dovaPostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    std::lock_guard<std::mutex> guard(queueLock);
    if (!windowExists) return false;
    queue.push_back({message, wParam, lParam});
    return true;
}

int dovaDispatchMessages() {
    int count = 0;
    for (;;) {
        Message m;
        {
            std::lock_guard<std::mutex> guard(queueLock);
            if (queue.empty()) break;
            m = queue.front();
            queue.pop_front();
        }
        dovaWindowProc(m.message, m.wParam, m.lParam);
        ++count;
    }
    return count;
}
