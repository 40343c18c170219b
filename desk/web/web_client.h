// The one HTTPS client of the desk. Requests run one at a time on the calling
// thread, share one cookie store for the life of the client and send the same
// Accept and User-Agent headers the web service has always seen.
#pragma once

#include <QString>

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

// A request that did not end with a 2xx answer: no connection, TLS failure,
// dropped connection, HTTP error status, or a redirect while redirects are off.
class WebClientError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    QString text() const { return QString::fromUtf8(what()); }
};

// Request parameters in the order they are sent.
using WebParams = std::vector<std::pair<QString, QString>>;

struct WebClientOptions {
    QString baseUrl;        // "https://host[:port]" without a trailing slash
    QString caFile;         // extra PEM certificate(s) to trust, besides the system store
    bool verifyPeer = true; // false only by explicit configuration
    long connectTimeoutMs = 10000;
    long requestTimeoutMs = 30000;
};

class WebClient {
public:
    explicit WebClient(WebClientOptions options);
    ~WebClient();
    WebClient(const WebClient&) = delete;
    WebClient& operator=(const WebClient&) = delete;

    const WebClientOptions& options() const;
    QString baseUrl() const;

    // GET baseUrl + path + "?" + query; values are percent-encoded. Returns the
    // body decoded by its declared character set (UTF-8 when none is declared).
    QString get(const QString& path, const WebParams& params = {});
    // POST an application/x-www-form-urlencoded body made of params.
    QString postForm(const QString& path, const WebParams& params);

    // Off until switched on; once on, later requests follow redirects.
    void setFollowRedirects(bool on);
    bool followRedirects() const;

    // "k1=v1&k2=v2" with keys and values percent-encoded as a form body.
    static QString encodeParams(const WebParams& params);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
