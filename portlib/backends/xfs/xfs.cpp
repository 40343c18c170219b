#include "backends/xfs/xfs.h"

#include "backends/vendor/vendor_library.h"
#include "backends/xfs/xfs_answers.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstdio>
#include <cstring>

namespace {

VendorLibrary& manager() {
    static VendorLibrary msxfs("MSXFS.dll");
    return msxfs;
}

constexpr HRESULT_XFS missing = -999;
constexpr uint32_t versions = 0x00010002; // 1.00 to 2.00
constexpr char logicalName[] = "NT_DOC";
constexpr uint32_t openTimeoutMs = 8000;
constexpr char mediaName[] = "DINA4";
constexpr char formName[] = "DINA416";
constexpr char fieldName[] = "BLOCK_1";
constexpr char printFields[] = "TEST\0"; // a string list: one name, then the empty end
constexpr char rawText[] = "ORVAN\r\n";

void printResult(HRESULT_XFS r, const char* call) {
    std::printf("%d %s\n", int(r), call);
}

} // namespace

WXFS::~WXFS() {
    release(0);
}

uint32_t WXFS::getIFType() {
    return DOVA_IF_XFS;
}

int32_t WXFS::getAsyncMode() {
    return 0;
}

const char* WXFS::getTypeName() {
    return "XFS";
}

int32_t WXFS::claim(int32_t) {
    dovaTrace("DOVA: WXFS::claim()\n");
    release(0);
    WFSVERSION version{};
    printResult(DOVA_VENDOR_CALL(manager(), WFSStartUp, missing, versions, &version), "WFSStartUp");
    xfsPrintVersion(stdout, version);
    HAPP_XFS app = 0;
    printResult(DOVA_VENDOR_CALL(manager(), WFSCreateAppHandle, missing, &app),
                "WFSCreateAppHandle");
    app_ = app;
    std::printf(" hApp=%08X\n", unsigned(app_));
    std::printf(" Logical name = '%s'\n", logicalName);
    WFSVERSION serviceVersion{};
    WFSVERSION spiVersion{};
    HSERVICE_XFS service = 0;
    printResult(DOVA_VENDOR_CALL(manager(), WFSOpen, missing, logicalName, app_, "", uint32_t(0),
                                 openTimeoutMs, versions, &serviceVersion, &spiVersion, &service),
                "WFSOpen");
    service_ = service;
    std::fflush(stdout);
    return DOVA_OK;
}

int32_t WXFS::release(int32_t) {
    if (service_ == 0) return DOVA_OK;
    DOVA_VENDOR_CALL(manager(), WFSUnlock, missing, service_);
    printResult(DOVA_VENDOR_CALL(manager(), WFSClose, missing, service_), "WFSClose");
    service_ = 0;
    printResult(DOVA_VENDOR_CALL(manager(), WFSDestroyAppHandle, missing, app_),
                "WFSDestroyAppHandle");
    app_ = 0;
    printResult(DOVA_VENDOR_CALL(manager(), WFSCleanUp, missing), "WFSCleanUp");
    std::fflush(stdout);
    return DOVA_OK;
}

int32_t WXFS::send(const void*, uint32_t, uint32_t*, uint32_t, uint32_t, uint32_t) {
    return DOVA_OK;
}

int32_t WXFS::recv(void*, uint32_t, uint32_t*, uint32_t) {
    return DOVA_OK;
}

void WXFS::freeResult(WFSRESULT* result) {
    if (result) DOVA_VENDOR_CALL(manager(), WFSFreeResult, missing, result);
}

template <class Print>
void WXFS::getInfo(uint32_t category, const char* name, void* query, Print print) {
    WFSRESULT* result = nullptr;
    HRESULT_XFS r = DOVA_VENDOR_CALL(manager(), WFSGetInfo, missing, service_, category, query,
                                     uint32_t(0), &result);
    std::printf("%d WFSGetInfo(%s)\n", int(r), name);
    print(result);
    freeResult(result);
}

void WXFS::execute(uint32_t command, const char* name, void* data, uint32_t timeoutMs) {
    WFSRESULT* result = nullptr;
    HRESULT_XFS r = DOVA_VENDOR_CALL(manager(), WFSExecute, missing, service_, command, data,
                                     timeoutMs, &result);
    if (name) std::printf("%d WFSExecute(%s)\n", int(r), name);
    freeResult(result);
}

int32_t WXFS::lock(int32_t) {
    // The manager takes the names and records as writable; these are the
    // port's own copies.
    char media[sizeof mediaName];
    char form[sizeof formName];
    char field[sizeof fieldName];
    char fields[sizeof printFields];
    uint8_t raw[sizeof rawText - 1];
    std::memcpy(media, mediaName, sizeof media);
    std::memcpy(form, formName, sizeof form);
    std::memcpy(field, fieldName, sizeof field);
    std::memcpy(fields, printFields, sizeof fields);
    std::memcpy(raw, rawText, sizeof raw);

    WFSRESULT* locked = nullptr;
    printResult(DOVA_VENDOR_CALL(manager(), WFSLock, missing, service_, uint32_t(0), &locked),
                "WFSLock");
    freeResult(locked);

    getInfo(WFS_INF_PTR_CAPABILITIES, "WFS_INF_PTR_CAPABILITIES", nullptr,
            [](const WFSRESULT* r) { xfsPrintCapabilities(stdout, r); });
    getInfo(WFS_INF_PTR_MEDIA_LIST, "WFS_INF_PTR_MEDIA_LIST", nullptr,
            [](const WFSRESULT* r) { xfsPrintMediaList(stdout, r); });
    getInfo(WFS_INF_PTR_FORM_LIST, "WFS_INF_PTR_FORM_LIST", nullptr,
            [](const WFSRESULT* r) { xfsPrintFormList(stdout, r); });
    getInfo(WFS_INF_PTR_QUERY_MEDIA, "WFS_INF_PTR_QUERY_MEDIA", media,
            [&media](const WFSRESULT* r) { xfsPrintMedia(stdout, media, r); });
    getInfo(WFS_INF_PTR_QUERY_FORM, "WFS_INF_PTR_QUERY_FORM", form,
            [](const WFSRESULT* r) { xfsPrintForm(stdout, r); });
    WFSPTRQUERYFIELD queryField{form, field};
    getInfo(WFS_INF_PTR_QUERY_FIELD, "WFS_INF_PTR_QUERY_FIELD", &queryField,
            [](const WFSRESULT* r) { xfsPrintFields(stdout, r); });
    getInfo(WFS_INF_PTR_STATUS, "WFS_INF_PTR_STATUS", nullptr,
            [](const WFSRESULT* r) { xfsPrintStatus(stdout, r); });

    WFSPTRPRINTFORM printForm{};
    printForm.lpszFormName = form;
    printForm.lpszMediaName = media;
    printForm.wResolution = 1;
    printForm.dwMediaControl = 1;
    printForm.lpszFields = fields;
    execute(WFS_CMD_PTR_PRINT_FORM, "WFS_CMD_PTR_PRINT_FORM", &printForm, 12000);

    WFSPTRRAWDATA rawData{};
    rawData.ulSize = sizeof raw;
    rawData.lpbData = raw;
    execute(WFS_CMD_PTR_RAW_DATA, "WFS_CMD_PTR_RAW_DATA", &rawData, 30000);

    uint32_t control = 1;
    execute(WFS_CMD_PTR_CONTROL_MEDIA, "WFS_CMD_PTR_CONTROL_MEDIA", &control, 0);

    WFSPTRMEDIAUNIT unit{2, 1, 1};
    execute(WFS_CMD_PTR_MEDIA_EXTENTS, nullptr, &unit, 30000);
    std::fflush(stdout);
    return DOVA_OK;
}

int32_t WXFS::unlock(int32_t) {
    printResult(DOVA_VENDOR_CALL(manager(), WFSUnlock, missing, service_), "WFSUnlock");
    std::fflush(stdout);
    return DOVA_OK;
}

intptr_t WXFS::getHandle() {
    return intptr_t(app_);
}

int32_t WXFS::isOpen() {
    return app_ != 0 ? 1 : 0;
}

int32_t WXFS::isReady() {
    return isOpen();
}
