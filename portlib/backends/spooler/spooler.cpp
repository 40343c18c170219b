#include "backends/spooler/spooler.h"

#include "trace.h"

#include <dova/dova.h>

#include <cctype>

namespace {

constexpr const char* defaultDocName = "LIBDOVA";

bool isRaw(const char* datatype) {
    const char* raw = "RAW";
    for (; *datatype && *raw; ++datatype, ++raw)
        if (std::toupper(static_cast<unsigned char>(*datatype)) != *raw) return false;
    return *datatype == 0 && *raw == 0;
}

void traceWhy(const std::string& why) {
    if (!why.empty()) dovaTrace("DOVA: %.900s\n", why.c_str());
}

} // namespace

WSpooler::~WSpooler() {
    release(0);
}

uint32_t WSpooler::getIFType() {
    return DOVA_IF_SPOOLER;
}

int32_t WSpooler::getAsyncMode() {
    return 0;
}

const char* WSpooler::getTypeName() {
    return "SPOOLER";
}

int32_t WSpooler::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WSpooler::claim()\n");
    release(0);
    int32_t result = resolvePrinterName();
    if (result != DOVA_OK) return result;
    std::string why;
    printer_ = os::SpoolerPrinter::open(printerName(), &why);
    dovaTrace("DOVA:  '%s'=%d\n", printerName(), printer_.isOpen() ? 1 : 0);
    // An open printer may still have something to say (a stopped queue).
    traceWhy(why);
    return printer_.isOpen() ? DOVA_OK : DOVA_E_OPEN;
}

int32_t WSpooler::release(int32_t timeout) {
    if (!printer_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WSpooler::release(%d)\n", timeout);
    // A job the caller left open still prints.
    endPagePrinter();
    endDocPrinter();
    printer_.close();
    pending_.clear();
    pending_.shrink_to_fit();
    return DOVA_OK;
}

bool WSpooler::flush(std::string* why) {
    bool ok = printer_.write(pending_.data(), pending_.size(), why);
    pending_.clear();
    return ok;
}

int32_t WSpooler::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                       uint32_t) {
    if (written) *written = 0;
    if (!data && length != 0) return DOVA_E_PARAM;
    std::string why = "no document is open";
    bool ok = printer_.documentOpen();
    if (ok) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        pending_.insert(pending_.end(), bytes, bytes + length);
        if (pending_.size() >= chunkSize) ok = flush(&why);
    }
    uint32_t taken = ok ? length : 0;
    dovaTrace("DOVA: WritePrinter(%d, %d)=%d\n", int32_t(length), int32_t(taken), ok ? 1 : 0);
    if (!ok) {
        traceWhy(why);
        return DOVA_E_WRITE;
    }
    if (written) *written = taken;
    return DOVA_OK;
}

int32_t WSpooler::recv(void*, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    dovaTrace("DOVA: ReadPrinter(%d, %d)=%d\n", int32_t(size), 0, 0);
    return DOVA_E_READ;
}

int32_t WSpooler::lock(int32_t /*timeout*/) {
    if (startDocPrinter(0, nullptr) == 0) return DOVA_E_SYSTEM;
    return startPagePrinter();
}

int32_t WSpooler::unlock(int32_t /*timeout*/) {
    int32_t result = endPagePrinter();
    if (result != DOVA_OK) return result;
    return endDocPrinter();
}

intptr_t WSpooler::getHandle() {
    return printer_.handle();
}

int32_t WSpooler::isOpen() {
    return printer_.isOpen() ? 1 : 0;
}

int32_t WSpooler::isReady() {
    return 1;
}

int32_t WSpooler::startDocPrinter(uint32_t level, const void* docInfo) {
    dovaTrace("DOVA: WSpooler::startDocPrinter\n");
    const char* title = defaultDocName;
    if (docInfo) {
        const auto* info = static_cast<const DovaDocInfo1*>(docInfo);
        if (level != 1 || info->outputFile || (info->datatype && !isRaw(info->datatype))) {
            dovaTrace("DOVA: only raw documents to the printer itself can be printed\n");
            return 0;
        }
        title = info->docName;
    }
    std::string why;
    pending_.clear();
    int32_t job = printer_.startDocument(title, &why);
    if (job == 0) traceWhy(why);
    return job;
}

int32_t WSpooler::startPagePrinter() {
    dovaTrace("DOVA: WSpooler::startPagePrinter\n");
    if (!printer_.documentOpen()) return DOVA_E_SYSTEM;
    return DOVA_OK;
}

int32_t WSpooler::endPagePrinter() {
    dovaTrace("DOVA: WSpooler::endPagePrinter\n");
    if (!printer_.documentOpen()) return DOVA_E_SYSTEM;
    return DOVA_OK;
}

int32_t WSpooler::endDocPrinter() {
    dovaTrace("DOVA: WSpooler::endDocPrinter\n");
    if (!printer_.documentOpen()) return DOVA_E_SYSTEM;
    std::string why;
    bool flushed = flush(&why);
    // Ended even when the last data could not go: a cut job is cancelled.
    bool ended = printer_.endDocument(flushed ? &why : nullptr);
    traceWhy(why);
    return flushed && ended ? DOVA_OK : DOVA_E_SYSTEM;
}

int32_t WSpooler::getJob(uint32_t, uint32_t, void*, uint32_t, uint32_t* needed) {
    if (needed) *needed = 0;
    return DOVA_E_SYSTEM;
}

int32_t WSpooler::setJob(uint32_t, uint32_t, const void*, uint32_t) {
    return DOVA_E_SYSTEM;
}

int32_t WSpooler::getPrinter(uint32_t, void*, uint32_t, uint32_t* needed) {
    if (needed) *needed = 0;
    return DOVA_E_SYSTEM;
}

int32_t WSpooler::setPrinter(uint32_t, const void*, uint32_t) {
    return DOVA_E_SYSTEM;
}
