// Web addresses the desk hands to the user's browser. The actions take the
// opener as a parameter so that tests can record the addresses instead of
// starting a browser.
#pragma once

#include <QUrl>

#include <vector>

class BrowserOpener {
public:
    virtual ~BrowserOpener() = default;
    // Hands the address over and returns at once; failures are not reported,
    // the user sees that no browser came up.
    virtual void open(const QUrl& address) = 0;
};

// The desktop's default browser.
class QtBrowserOpener final : public BrowserOpener {
public:
    void open(const QUrl& address) override;
};

class RecordingBrowserOpener final : public BrowserOpener {
public:
    void open(const QUrl& address) override { opened_.push_back(address); }
    const std::vector<QUrl>& opened() const { return opened_; }

private:
    std::vector<QUrl> opened_;
};
