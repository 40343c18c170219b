// Plays libMSXFS.so, the XFS manager with one printer service behind it.
// Scripted keys: each function's name for its result (default 0);
// "WFSCreateAppHandle.hApp" (default 0x00A11CE5), "WFSOpen.hService"
// (default 7); "answer.<category>" for each WFSGetInfo category: 0 no result
// record, 1 a record without a buffer, 2 the full answer (default), 3 an
// empty list (lists) or a form without field names (form);
// "caps.<field>" and "status.<field>" for the capabilities and status
// fields. Every result record handed out is noted when it is freed, and one
// never freed is a leak the sanitizer reports.
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/xfs/xfs_library.h"
#pragma GCC visibility pop

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using namespace player;

namespace {

// A result record with everything its buffer points at.
struct Answer {
    WFSRESULT result{};
    std::vector<uint8_t> payload;
    std::vector<std::unique_ptr<std::string>> texts;
    std::vector<WFSFRMFIELD> fields;
    std::vector<WFSFRMFIELD*> fieldSlots;
    std::string what;

    char* text(const std::string& s) {
        texts.push_back(std::make_unique<std::string>(s));
        return texts.back()->data();
    }
};

std::mutex answersLock;
std::map<WFSRESULT*, std::unique_ptr<Answer>> answers;

WFSRESULT* handOut(std::unique_ptr<Answer> answer, WFSRESULT** out) {
    WFSRESULT* r = &answer->result;
    std::lock_guard lock(answersLock);
    answers[r] = std::move(answer);
    if (out) *out = r;
    return r;
}

std::unique_ptr<Answer> newAnswer(HSERVICE_XFS service, uint32_t code, const std::string& what) {
    auto a = std::make_unique<Answer>();
    a->result.RequestID = 1;
    a->result.hService = service;
    a->result.dwCommandCode = code;
    a->what = what;
    return a;
}

uint16_t word(const std::string& key, int64_t fallback) {
    return uint16_t(result(key, fallback));
}

template <class Record> void setPayload(Answer& a, const Record& record) {
    a.payload.resize(sizeof record);
    std::memcpy(a.payload.data(), &record, sizeof record);
    a.result.lpBuffer = a.payload.data();
}

void setList(Answer& a, const std::string& list) {
    a.payload.assign(list.begin(), list.end());
    a.payload.push_back(0);
    a.result.lpBuffer = a.payload.data();
}

std::string list(const char* list) {
    std::string out = "[";
    for (const char* s = list; s && *s; s += std::strlen(s) + 1)
        out += (out.size() > 1 ? ", " : "") + str(s);
    return out + "]";
}

} // namespace

HRESULT_XFS WFSStartUp(uint32_t versions, WFSVERSION* version) {
    record("WFSStartUp(0x" + [&] {
        char b[16];
        std::snprintf(b, sizeof b, "%08X", versions);
        return std::string(b);
    }() + ")");
    version->wVersion = 0x0003;
    version->wLowVersion = 0x0101;
    version->wHighVersion = 0x6403;
    std::strcpy(version->szDescription, "Played XFS Manager");
    std::strcpy(version->szSystemStatus, "ready");
    return HRESULT_XFS(result("WFSStartUp", 0));
}

HRESULT_XFS WFSCleanUp(void) {
    record("WFSCleanUp()");
    return HRESULT_XFS(result("WFSCleanUp", 0));
}

HRESULT_XFS WFSCreateAppHandle(HAPP_XFS* app) {
    record("WFSCreateAppHandle()");
    *app = HAPP_XFS(result("WFSCreateAppHandle.hApp", 0x00A11CE5));
    return HRESULT_XFS(result("WFSCreateAppHandle", 0));
}

HRESULT_XFS WFSDestroyAppHandle(HAPP_XFS app) {
    record("WFSDestroyAppHandle(" + num(app) + ")");
    return HRESULT_XFS(result("WFSDestroyAppHandle", 0));
}

HRESULT_XFS WFSOpen(const char* name, HAPP_XFS app, const char* appId, uint32_t traceLevel,
                    uint32_t timeout, uint32_t versions, WFSVERSION* serviceVersion,
                    WFSVERSION* spiVersion, HSERVICE_XFS* service) {
    record("WFSOpen(" + str(name) + ", " + num(app) + ", " + str(appId) + ", " + num(traceLevel) +
           ", " + num(timeout) + ", " + num(versions) + ", " +
           (serviceVersion && spiVersion ? "versions" : "null") + ")");
    HRESULT_XFS r = HRESULT_XFS(result("WFSOpen", 0));
    *service = r == 0 ? HSERVICE_XFS(result("WFSOpen.hService", 7)) : 0;
    return r;
}

HRESULT_XFS WFSClose(HSERVICE_XFS service) {
    record("WFSClose(" + num(service) + ")");
    return HRESULT_XFS(result("WFSClose", 0));
}

HRESULT_XFS WFSLock(HSERVICE_XFS service, uint32_t timeout, WFSRESULT** out) {
    record("WFSLock(" + num(service) + ", " + num(timeout) + ")");
    handOut(newAnswer(service, 0, "lock"), out);
    return HRESULT_XFS(result("WFSLock", 0));
}

HRESULT_XFS WFSUnlock(HSERVICE_XFS service) {
    record("WFSUnlock(" + num(service) + ")");
    return HRESULT_XFS(result("WFSUnlock", 0));
}

HRESULT_XFS WFSGetInfo(HSERVICE_XFS service, uint32_t category, void* query, uint32_t timeout,
                       WFSRESULT** out) {
    std::string q = "null";
    if (category == WFS_INF_PTR_QUERY_MEDIA || category == WFS_INF_PTR_QUERY_FORM)
        q = str(static_cast<const char*>(query));
    if (category == WFS_INF_PTR_QUERY_FIELD) {
        auto* f = static_cast<WFSPTRQUERYFIELD*>(query);
        q = "{" + str(f->lpszFormName) + ", " + str(f->lpszFieldName) + "}";
    }
    record("WFSGetInfo(" + num(service) + ", " + num(category) + ", " + q + ", " + num(timeout) +
           ")");
    HRESULT_XFS r = HRESULT_XFS(result("WFSGetInfo." + num(category), 0));
    int64_t kind = result("answer." + num(category), 2);
    if (kind == 0) return r;
    auto a = newAnswer(service, category, "info " + num(category));
    a->result.hResult = r;
    if (kind == 1) {
        handOut(std::move(a), out);
        return r;
    }
    switch (category) {
    case WFS_INF_PTR_CAPABILITIES: {
        WFSPTRCAPS c{};
        c.wClass = word("caps.wClass", 1);
        c.fwType = word("caps.fwType", 0x1);
        c.bCompound = int32_t(result("caps.bCompound", 0));
        c.wResolution = word("caps.wResolution", 0x2);
        c.fwReadForm = word("caps.fwReadForm", 0);
        c.fwWriteForm = word("caps.fwWriteForm", 0x1);
        c.fwExtents = word("caps.fwExtents", 0);
        c.fwControl = word("caps.fwControl", 0x1);
        c.usMaxRetract = word("caps.usMaxRetract", 0);
        c.usMaxMediaOnStacker = word("caps.usMaxMediaOnStacker", 0);
        c.bAcceptMedia = int32_t(result("caps.bAcceptMedia", 1));
        setPayload(*a, c);
        break;
    }
    case WFS_INF_PTR_MEDIA_LIST:
        setList(*a, kind == 3 ? std::string() : std::string("DINA4\0DINA5\0", 12));
        break;
    case WFS_INF_PTR_FORM_LIST:
        setList(*a, kind == 3 ? std::string() : std::string("DINA416\0RECEIPT\0", 16));
        break;
    case WFS_INF_PTR_QUERY_MEDIA: {
        // Each field its own value (10, 11, ...), in the record's order.
        WFSFRMMEDIA m{};
        static_assert(sizeof m == 18 * sizeof(uint16_t));
        uint16_t values[18];
        for (uint16_t i = 0; i < 18; ++i)
            values[i] = uint16_t(10 + i);
        std::memcpy(&m, values, sizeof m);
        setPayload(*a, m);
        break;
    }
    case WFS_INF_PTR_QUERY_FORM: {
        WFSFRMHEADER f{};
        f.lpszFormName = a->text("DINA416");
        f.wBase = 2;
        f.wUnitX = 10;
        f.wUnitY = 20;
        f.wWidth = 210;
        f.wHeight = 297;
        f.wAlignment = 1;
        f.wOrientation = 0;
        f.wOffsetX = 5;
        f.wOffsetY = 6;
        f.wVersionMajor = 1;
        f.wVersionMinor = 2;
        f.lpszUserPrompt = a->text("Insert a sheet");
        f.lpszFields = kind == 3 ? nullptr : a->text(std::string("BLOCK_1\0TOTAL\0", 14));
        setPayload(*a, f);
        break;
    }
    case WFS_INF_PTR_QUERY_FIELD: {
        a->fields.resize(2);
        a->fields[0] = {a->text("BLOCK_1"), 3, 0, 1, 2, 0, a->text("none"), nullptr};
        a->fields[1] = {a->text("TOTAL"), 1, 4, 0, 1, 2, nullptr, a->text("%d")};
        a->fieldSlots = {&a->fields[0], &a->fields[1], nullptr};
        a->result.lpBuffer = a->fieldSlots.data();
        break;
    }
    case WFS_INF_PTR_STATUS: {
        WFSPTRSTATUS s{};
        s.fwDevice = word("status.fwDevice", 0);
        s.fwMedia = word("status.fwMedia", 0);
        s.fwPaper = word("status.fwPaper", 0);
        s.fwToner = word("status.fwToner", 3);
        s.fwInk = word("status.fwInk", 3);
        s.fwLamp = word("status.fwLamp", 3);
        s.fwRetractBin = word("status.fwRetractBin", 2);
        s.usRetractCount = word("status.usRetractCount", 0);
        s.usMediaOnStacker = word("status.usMediaOnStacker", 0);
        setPayload(*a, s);
        break;
    }
    default:
        break;
    }
    handOut(std::move(a), out);
    return r;
}

HRESULT_XFS WFSExecute(HSERVICE_XFS service, uint32_t command, void* data, uint32_t timeout,
                       WFSRESULT** out) {
    std::string d = "?";
    if (command == WFS_CMD_PTR_PRINT_FORM) {
        WFSPTRPRINTFORM p;
        std::memcpy(&p, data, sizeof p);
        d = "{" + str(p.lpszFormName) + ", " + str(p.lpszMediaName) + ", " + num(p.wAlignment) +
            ", " + num(p.wOffsetX) + ", " + num(p.wOffsetY) + ", " + num(p.wResolution) + ", " +
            num(p.dwMediaControl) + ", " + list(p.lpszFields) + "}";
    } else if (command == WFS_CMD_PTR_RAW_DATA) {
        WFSPTRRAWDATA p;
        std::memcpy(&p, data, sizeof p);
        d = "{" + num(p.wInputData) + ", " + num(p.ulSize) + "}";
        took(p.lpbData, p.ulSize);
    } else if (command == WFS_CMD_PTR_CONTROL_MEDIA) {
        uint32_t v;
        std::memcpy(&v, data, sizeof v);
        d = num(v);
    } else if (command == WFS_CMD_PTR_MEDIA_EXTENTS) {
        WFSPTRMEDIAUNIT p;
        std::memcpy(&p, data, sizeof p);
        d = "{" + num(p.wBase) + ", " + num(p.wUnitX) + ", " + num(p.wUnitY) + "}";
    }
    record("WFSExecute(" + num(service) + ", " + num(command) + ", " + d + ", " + num(timeout) +
           ")");
    HRESULT_XFS r = HRESULT_XFS(result("WFSExecute." + num(command), 0));
    handOut(newAnswer(service, command, "execute " + num(command)), out);
    return r;
}

HRESULT_XFS WFSFreeResult(WFSRESULT* r) {
    std::unique_ptr<Answer> answer;
    {
        std::lock_guard lock(answersLock);
        auto it = answers.find(r);
        if (it != answers.end()) {
            answer = std::move(it->second);
            answers.erase(it);
        }
    }
    record("WFSFreeResult(" + (answer ? answer->what : std::string("unknown")) + ")");
    return HRESULT_XFS(result("WFSFreeResult", 0));
}
