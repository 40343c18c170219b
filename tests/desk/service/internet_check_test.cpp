// The internet check is bounded as a whole: a resolver that does not answer
// does not hold start-up beyond the time-out.
#include "internet_check.h"
#include "qt_test_app.h"

#include <QTcpServer>

#include <gtest/gtest.h>

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

// A resolver that answers only when the test lets it. A check that waited
// for it would never return.
class HeldResolver {
public:
    HeldResolver() : state_(std::make_shared<State>()) {}

    HostResolver resolver(QList<QHostAddress> answer) {
        return [state = state_, answer](const QString&) {
            std::unique_lock<std::mutex> lock(state->mutex);
            state->waiting = true;
            state->changed.notify_all();
            state->changed.wait(lock, [&] { return state->released; });
            state->waiting = false;
            state->finished = true;
            state->changed.notify_all();
            return answer;
        };
    }
    bool answered() {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->finished;
    }
    // Lets the resolver answer and waits until it has.
    void release() {
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->released = true;
        state_->changed.notify_all();
        state_->changed.wait(lock, [&] { return state_->finished || !state_->waiting; });
    }

private:
    struct State {
        std::mutex mutex;
        std::condition_variable changed;
        bool waiting = false, released = false, finished = false;
    };
    std::shared_ptr<State> state_;
};

} // namespace

TEST(DeskInternetCheck, AResolverThatDoesNotAnswerCostsNoMoreThanTheTimeOut) {
    qtTestApp();
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    HeldResolver held;
    EXPECT_FALSE(isreachable("service.example", server.serverPort(), 200,
                             held.resolver({QHostAddress::LocalHost})));
    EXPECT_FALSE(held.answered());
    held.release();
}

TEST(DeskInternetCheck, ConnectsToTheResolvedAddresses) {
    qtTestApp();
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const int port = server.serverPort();
    int asked = 0;
    auto answer = [&](QList<QHostAddress> addresses) {
        return [&asked, addresses](const QString& host) {
            ++asked;
            EXPECT_EQ(host, "service.example");
            return addresses;
        };
    };
    EXPECT_TRUE(isreachable("service.example", port, 5000, answer({QHostAddress::LocalHost})));
    EXPECT_FALSE(isreachable("service.example", port, 5000, answer({})));
    EXPECT_EQ(asked, 2);
    // An address needs no resolver.
    EXPECT_TRUE(isreachable("127.0.0.1", port, 5000, answer({})));
    EXPECT_EQ(asked, 2);
    server.close();
    EXPECT_FALSE(isreachable("127.0.0.1", port, 5000, answer({})));
}
