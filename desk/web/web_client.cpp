#include "web_client.h"

#include "charset.h"

#include <QByteArray>

#include <curl/curl.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <mutex>

namespace {

// Answers larger than this are cut off as a failure: the service's answers are
// a few lines, and a runaway body must not eat the machine's memory.
constexpr qsizetype kMaxBody = 16 * 1024 * 1024;

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};
struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};

struct Exchange {
    QByteArray body;
    QByteArray statusLine; // last status line seen ("HTTP/1.1 404 Not Found")
    bool tooLarge = false;
};

size_t onBody(char* data, size_t size, size_t count, void* user) {
    auto* ex = static_cast<Exchange*>(user);
    const size_t n = size * count;
    if (ex->body.size() + qsizetype(n) > kMaxBody) {
        ex->tooLarge = true;
        return 0;
    }
    ex->body.append(data, qsizetype(n));
    return n;
}

size_t onHeader(char* data, size_t size, size_t count, void* user) {
    auto* ex = static_cast<Exchange*>(user);
    const size_t n = size * count;
    QByteArray line(data, qsizetype(n));
    if (line.startsWith("HTTP/")) ex->statusLine = line.trimmed();
    return n;
}

// Adds the configured CA file to OpenSSL's store next to the system's
// certificates (CURLOPT_CAINFO would replace them).
CURLcode addCaFile(CURL*, void* sslctx, void* user) {
    const auto* file = static_cast<const QByteArray*>(user);
    X509_STORE* store = SSL_CTX_get_cert_store(static_cast<SSL_CTX*>(sslctx));
    if (X509_STORE_load_locations(store, file->constData(), nullptr) != 1)
        return CURLE_SSL_CACERT_BADFILE;
    return CURLE_OK;
}

bool unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~' || c == '*';
}

QByteArray formEncode(const QString& text) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    for (char c : text.toUtf8()) {
        if (unreserved(c)) {
            out += c;
        } else if (c == ' ') {
            out += '+';
        } else {
            const auto b = static_cast<unsigned char>(c);
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

} // namespace

struct WebClient::Impl {
    WebClientOptions options;
    std::unique_ptr<CURL, CurlDeleter> curl;
    std::unique_ptr<curl_slist, SlistDeleter> headers;
    QByteArray caFile;
    bool follow = false;

    QString perform(const QByteArray& url, const QByteArray* postBody);
};

WebClient::WebClient(WebClientOptions options) : d(std::make_unique<Impl>()) {
    globalInit();
    while (options.baseUrl.endsWith(QLatin1Char('/')))
        options.baseUrl.chop(1);
    d->options = std::move(options);
    d->curl.reset(curl_easy_init());
    if (!d->curl) throw WebClientError("cannot create the HTTP client");
    curl_slist* h = curl_slist_append(nullptr, "Accept: text/html, */*");
    h = curl_slist_append(h, "Expect:");
    d->headers.reset(h);
    d->caFile = d->options.caFile.toLocal8Bit();

    CURL* c = d->curl.get();
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, d->headers.get());
    curl_easy_setopt(c, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible; Indy Library)");
    curl_easy_setopt(c, CURLOPT_COOKIEFILE, ""); // cookie engine on, nothing loaded
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_NOPROXY, "*");
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    // A redirect may not take an HTTPS conversation down to plain HTTP.
    const bool secure = d->options.baseUrl.startsWith(QLatin1String("https:"), Qt::CaseInsensitive);
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, secure ? "https" : "http,https");
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, d->options.connectTimeoutMs);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, d->options.requestTimeoutMs);
    if (d->options.verifyPeer) {
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
        if (!d->caFile.isEmpty()) {
            curl_easy_setopt(c, CURLOPT_SSL_CTX_FUNCTION, addCaFile);
            curl_easy_setopt(c, CURLOPT_SSL_CTX_DATA, &d->caFile);
        }
    } else {
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 0L);
        curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 0L);
    }
}

WebClient::~WebClient() = default;

const WebClientOptions& WebClient::options() const {
    return d->options;
}

QString WebClient::baseUrl() const {
    return d->options.baseUrl;
}

void WebClient::setFollowRedirects(bool on) {
    d->follow = on;
}

bool WebClient::followRedirects() const {
    return d->follow;
}

QString WebClient::encodeParams(const WebParams& params) {
    QByteArray out;
    for (const auto& [key, value] : params) {
        if (!out.isEmpty()) out += '&';
        out += formEncode(key);
        out += '=';
        out += formEncode(value);
    }
    return QString::fromLatin1(out);
}

QString WebClient::get(const QString& path, const WebParams& params) {
    QString url = d->options.baseUrl + path;
    if (!params.empty()) url += QLatin1Char('?') + encodeParams(params);
    return d->perform(url.toUtf8(), nullptr);
}

QString WebClient::postForm(const QString& path, const WebParams& params) {
    const QByteArray body = encodeParams(params).toLatin1();
    return d->perform((d->options.baseUrl + path).toUtf8(), &body);
}

QString WebClient::Impl::perform(const QByteArray& url, const QByteArray* postBody) {
    CURL* c = curl.get();
    Exchange ex;
    char errbuf[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errbuf);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &ex);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &ex);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, follow ? 1L : 0L);
    if (postBody) {
        curl_easy_setopt(c, CURLOPT_POST, 1L);
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, long(postBody->size()));
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, postBody->constData());
    } else {
        curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);
    }
    const CURLcode rc = curl_easy_perform(c);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, nullptr);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, nullptr);

    if (ex.tooLarge) throw WebClientError("the answer of the web service is too large");
    if (rc != CURLE_OK) {
        std::string msg = curl_easy_strerror(rc);
        if (errbuf[0]) msg += std::string(": ") + errbuf;
        throw WebClientError(msg);
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        QByteArray line = ex.statusLine;
        if (line.isEmpty()) line = "HTTP status " + QByteArray::number(status);
        throw WebClientError(line.toStdString());
    }
    const char* type = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type);
    return decodeBody(ex.body, type ? QByteArray(type) : QByteArray());
}
