// The print spooler on POSIX: the CUPS scheduler, reached through libcups.
#include "os/os_spooler.h"

#include "os/os_library.h"

#include <cups/cups.h>

#include <strings.h>
#include <sys/socket.h>

#include <algorithm>
#include <cstring>

namespace os {
namespace {

// libcups is loaded when a queue is first asked for, not with the port
// library: it brings some thirty libraries of its own (TLS, DNS-SD,
// Kerberos), and every program linking the port library would pay for
// loading them at each start, printing through CUPS or not.
#define DOVA_CUPS_CALLS(X)                                                                         \
    X(cupsCancelJob2)                                                                              \
    X(cupsCreateJob)                                                                               \
    X(cupsDoRequest)                                                                               \
    X(cupsEncryption)                                                                              \
    X(cupsFinishDocument)                                                                          \
    X(cupsFreeDests)                                                                               \
    X(cupsGetNamedDest)                                                                            \
    X(cupsLastError)                                                                               \
    X(cupsLastErrorString)                                                                         \
    X(cupsServer)                                                                                  \
    X(cupsSetServer)                                                                               \
    X(cupsStartDocument)                                                                           \
    X(cupsWriteRequestData)                                                                        \
    X(httpAssembleURIf)                                                                            \
    X(httpClose)                                                                                   \
    X(httpConnect2)                                                                                \
    X(httpGetFd)                                                                                   \
    X(httpSetTimeout)                                                                              \
    X(ippAddString)                                                                                \
    X(ippAddStrings)                                                                               \
    X(ippDelete)                                                                                   \
    X(ippErrorString)                                                                              \
    X(ippFindAttribute)                                                                            \
    X(ippFirstAttribute)                                                                           \
    X(ippGetBoolean)                                                                               \
    X(ippGetGroupTag)                                                                              \
    X(ippGetInteger)                                                                               \
    X(ippGetName)                                                                                  \
    X(ippGetString)                                                                                \
    X(ippGetValueTag)                                                                              \
    X(ippNewRequest)                                                                               \
    X(ippNextAttribute)                                                                            \
    X(ippPort)

struct CupsCalls {
#define DOVA_CUPS_POINTER(name) decltype(&::name) name = nullptr;
    DOVA_CUPS_CALLS(DOVA_CUPS_POINTER)
#undef DOVA_CUPS_POINTER
};

struct LoadedCups {
    Library library;
    CupsCalls calls;
    std::string failure;
};

const LoadedCups& loadedCups() {
    static const LoadedCups loaded = [] {
        LoadedCups c;
        c.library = Library::load("libcups.so.2", &c.failure);
        c.library.keepLoaded();
        if (!c.library.isLoaded()) {
            c.failure = "libcups.so.2 cannot be loaded: " + c.failure;
            return c;
        }
#define DOVA_CUPS_LOOKUP(name)                                                                     \
    c.calls.name = c.library.function<decltype(&::name)>(#name);                                   \
    if (!c.calls.name) {                                                                           \
        c.failure = "libcups.so.2 has no " #name;                                                  \
        c.library.close();                                                                         \
        return c;                                                                                  \
    }
        DOVA_CUPS_CALLS(DOVA_CUPS_LOOKUP)
#undef DOVA_CUPS_LOOKUP
        return c;
    }();
    return loaded;
}

// The calls of a loaded libcups; only after cupsReady said yes.
const CupsCalls& cups() {
    return loadedCups().calls;
}

bool cupsReady(std::string* why) {
    const LoadedCups& loaded = loadedCups();
    if (loaded.library.isLoaded()) return true;
    if (why) *why = loaded.failure;
    return false;
}

// A scheduler that does not answer must not hold the caller for ever.
constexpr int connectTimeoutMs = 10000;
constexpr double ioTimeoutSeconds = 30.0;

void tell(std::string* why, const std::string& text) {
    if (why) *why = text;
}

std::string lastAnswer() {
    const char* text = cups().cupsLastErrorString();
    std::string answer = cups().ippErrorString(cups().cupsLastError());
    if (text && *text && answer != text) answer += std::string(" (") + text + ")";
    return answer;
}

bool succeeded(ipp_status_t status) {
    return status <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

struct HttpCloser {
    void operator()(http_t* http) const { cups().httpClose(http); }
};
using Http = std::unique_ptr<http_t, HttpCloser>;

struct IppFree {
    void operator()(ipp_t* ipp) const { cups().ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppFree>;

struct Scheduler {
    std::string host;
    int port = 0;
};

// The scheduler named now: CUPS_SERVER is read again at each call, not the
// value libcups kept from the first call of this thread.
Scheduler currentScheduler() {
    cups().cupsSetServer(nullptr);
    return Scheduler{cups().cupsServer(), cups().ippPort()};
}

Http connect(const Scheduler& where, std::string* why) {
    http_t* http = cups().httpConnect2(where.host.c_str(), where.port, nullptr, AF_UNSPEC,
                                       cups().cupsEncryption(), 1, connectTimeoutMs, nullptr);
    if (!http) {
        tell(why, "cannot reach the scheduler at " + where.host + ": " + lastAnswer());
        return nullptr;
    }
    // Without a callback a wait that runs out fails the request.
    cups().httpSetTimeout(http, ioTimeoutSeconds, nullptr, nullptr);
    return Http(http);
}

std::string printerUri(const std::string& name) {
    char uri[HTTP_MAX_URI];
    cups().httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                            cups().ippPort(), "/printers/%s", name.c_str());
    return uri;
}

} // namespace

std::optional<std::vector<std::string>> spoolerPrinters(std::string* why) {
    if (!cupsReady(why)) return std::nullopt;
    Http http = connect(currentScheduler(), why);
    if (!http) return std::nullopt;
    static const char* const wanted[] = {"printer-name", "printer-type", "printer-is-temporary"};
    ipp_t* request = cups().ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                         int(std::size(wanted)), nullptr, wanted);
    Ipp response(cups().cupsDoRequest(http.get(), request, "/"));
    std::vector<std::string> names;
    // A scheduler without queues answers "not found".
    if (cups().cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) return names;
    if (!response || !succeeded(cups().cupsLastError())) {
        tell(why, "the scheduler did not list its printers: " + lastAnswer());
        return std::nullopt;
    }
    // One group of attributes per queue; queues the scheduler made for
    // printers it found on the network do not count.
    const char* name = nullptr;
    bool foreign = false;
    auto take = [&] {
        if (name && !foreign) names.emplace_back(name);
        name = nullptr;
        foreign = false;
    };
    for (ipp_attribute_t* a = cups().ippFirstAttribute(response.get()); a;
         a = cups().ippNextAttribute(response.get())) {
        const char* attr = cups().ippGetName(a);
        if (!attr) {
            take();
            continue;
        }
        if (cups().ippGetGroupTag(a) != IPP_TAG_PRINTER) continue;
        if (std::strcmp(attr, "printer-name") == 0 && cups().ippGetValueTag(a) == IPP_TAG_NAME)
            name = cups().ippGetString(a, 0, nullptr);
        else if (std::strcmp(attr, "printer-type") == 0 &&
                 (cups().ippGetInteger(a, 0) & CUPS_PRINTER_DISCOVERED))
            foreign = true;
        else if (std::strcmp(attr, "printer-is-temporary") == 0 && cups().ippGetBoolean(a, 0))
            foreign = true;
    }
    take();
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

std::optional<std::string> spoolerDefaultPrinter(std::string* why) {
    if (!cupsReady(why)) return std::nullopt;
    Http http = connect(currentScheduler(), why);
    if (!http) return std::nullopt;
    // The same choice lp makes without -d.
    cups_dest_t* dest = cups().cupsGetNamedDest(http.get(), nullptr, nullptr);
    if (!dest) {
        tell(why, "no default printer: " + lastAnswer());
        return std::nullopt;
    }
    std::string name = dest->name;
    cups().cupsFreeDests(1, dest);
    return name;
}

struct SpoolerPrinter::State {
    Scheduler scheduler;
    Http http;
    std::string name;
    int jobId = 0;
    bool documentOpen = false;
    bool documentBroken = false;
    size_t documentBytes = 0;

    void cancelJob() {
        if (jobId == 0) return;
        // The connection that carried a broken document is no use any more.
        if (Http fresh = connect(scheduler, nullptr))
            cups().cupsCancelJob2(fresh.get(), name.c_str(), jobId, 0);
        jobId = 0;
    }
};

SpoolerPrinter::SpoolerPrinter() = default;
SpoolerPrinter::SpoolerPrinter(SpoolerPrinter&& other) noexcept = default;

SpoolerPrinter& SpoolerPrinter::operator=(SpoolerPrinter&& other) noexcept {
    if (this != &other) {
        close();
        state_ = std::move(other.state_);
    }
    return *this;
}

SpoolerPrinter::~SpoolerPrinter() {
    close();
}

SpoolerPrinter SpoolerPrinter::open(const char* name, std::string* why) {
    SpoolerPrinter printer;
    if (!name || !*name) {
        tell(why, "no printer name");
        return printer;
    }
    if (!cupsReady(why)) return printer;
    auto state = std::make_unique<State>();
    state->scheduler = currentScheduler();
    state->name = name;
    state->http = connect(state->scheduler, why);
    if (!state->http) return printer;

    static const char* const wanted[] = {"printer-is-accepting-jobs", "printer-state",
                                         "printer-state-message"};
    ipp_t* request = cups().ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    cups().ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                        printerUri(state->name).c_str());
    cups().ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                         int(std::size(wanted)), nullptr, wanted);
    Ipp response(cups().cupsDoRequest(state->http.get(), request, "/"));
    if (!response || !succeeded(cups().cupsLastError())) {
        tell(why, "printer '" + state->name + "': " + lastAnswer());
        return printer;
    }
    ipp_attribute_t* accepting =
        cups().ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    ipp_attribute_t* message =
        cups().ippFindAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT);
    std::string said = message ? cups().ippGetString(message, 0, nullptr) : "";
    if (accepting && !cups().ippGetBoolean(accepting, 0)) {
        tell(why, "printer '" + state->name + "' is not accepting jobs" +
                      (said.empty() ? "" : ": " + said));
        return printer;
    }
    ipp_attribute_t* pstate =
        cups().ippFindAttribute(response.get(), "printer-state", IPP_TAG_ENUM);
    if (pstate && cups().ippGetInteger(pstate, 0) == IPP_PSTATE_STOPPED)
        tell(why, "printer '" + state->name + "' is stopped, jobs wait in its queue" +
                      (said.empty() ? "" : ": " + said));
    else
        tell(why, "");
    printer.state_ = std::move(state);
    return printer;
}

bool SpoolerPrinter::isOpen() const {
    return state_ != nullptr;
}

intptr_t SpoolerPrinter::handle() const {
    return state_ ? cups().httpGetFd(state_->http.get()) : -1;
}

int32_t SpoolerPrinter::startDocument(const char* title, std::string* why) {
    if (!state_ || state_->documentOpen) {
        tell(why, state_ ? "a document is already open" : "the printer is not open");
        return 0;
    }
    State& s = *state_;
    if (!s.http) s.http = connect(s.scheduler, why);
    if (!s.http) return 0;
    s.jobId = cups().cupsCreateJob(s.http.get(), s.name.c_str(), title, 0, nullptr);
    if (s.jobId == 0) {
        tell(why, "the scheduler refused the job: " + lastAnswer());
        return 0;
    }
    if (cups().cupsStartDocument(s.http.get(), s.name.c_str(), s.jobId, title, CUPS_FORMAT_RAW,
                                 1) != HTTP_STATUS_CONTINUE) {
        tell(why, "the scheduler refused the document: " + lastAnswer());
        s.cancelJob();
        return 0;
    }
    s.documentOpen = true;
    s.documentBroken = false;
    s.documentBytes = 0;
    return s.jobId;
}

bool SpoolerPrinter::documentOpen() const {
    return state_ && state_->documentOpen;
}

bool SpoolerPrinter::write(const void* data, size_t length, std::string* why) {
    if (!documentOpen()) {
        tell(why, "no document is open");
        return false;
    }
    State& s = *state_;
    if (s.documentBroken) {
        tell(why, "the document was already cut short");
        return false;
    }
    if (length == 0) return true;
    if (cups().cupsWriteRequestData(s.http.get(), static_cast<const char*>(data), length) !=
        HTTP_STATUS_CONTINUE) {
        s.documentBroken = true;
        tell(why, "sending the document failed: " + lastAnswer());
        return false;
    }
    s.documentBytes += length;
    return true;
}

bool SpoolerPrinter::endDocument(std::string* why) {
    if (!documentOpen()) {
        tell(why, "no document is open");
        return false;
    }
    State& s = *state_;
    s.documentOpen = false;
    if (s.documentBroken) {
        // Finishing would hand the scheduler a cut document as complete.
        tell(why, "the document was cut short; job " + std::to_string(s.jobId) + " cancelled");
        s.http.reset();
        s.cancelJob();
        s.http = connect(s.scheduler, nullptr);
        return false;
    }
    ipp_status_t status = cups().cupsFinishDocument(s.http.get(), s.name.c_str());
    if (s.documentBytes == 0) {
        // The scheduler takes no empty document; with nothing to print there
        // is nothing lost either, so the job is withdrawn and that is all.
        tell(why, "nothing to print, job " + std::to_string(s.jobId) + " withdrawn");
        s.cancelJob();
        return true;
    }
    if (!succeeded(status)) {
        tell(why, "the scheduler did not take the job: " + lastAnswer());
        s.cancelJob();
        return false;
    }
    s.jobId = 0;
    return true;
}

void SpoolerPrinter::close() {
    if (!state_) return;
    if (state_->documentOpen) endDocument(nullptr);
    state_.reset();
}

} // namespace os
