// WXFS: a printer service of the XFS manager, opened under the logical name
// "NT_DOC". The port carries no print data (send and recv do nothing): its
// lock runs a fixed check of the service (capabilities, media, forms,
// fields, status, then a form print, a raw print, a media control and a
// media-unit command) and prints every answer in readable form on standard
// output, for whoever checks a printer installation. No answer of the
// manager changes the course: each call's result is only printed, and every
// operation answers 0. Without the manager library every call prints -999.
#pragma once

#include "backends/xfs/xfs_library.h"
#include "dova_base.h"

class WXFS : public DovaBase {
public:
    ~WXFS() override;

    uint32_t getIFType() override;
    int32_t getAsyncMode() override;
    const char* getTypeName() override;

    // Starts the manager, makes an application handle, opens the service.
    int32_t claim(int32_t timeout) override;
    // Only when a service is open: unlocks and closes it, then lets the
    // application handle and the manager go.
    int32_t release(int32_t timeout) override;
    // 0, and the count is left as the caller set it.
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;
    int32_t lock(int32_t timeout) override;
    int32_t unlock(int32_t timeout) override;

    // The application handle.
    intptr_t getHandle() override;
    int32_t isOpen() override;
    int32_t isReady() override;

private:
    // One WFSGetInfo, its result printed by print, then freed.
    template <class Print>
    void getInfo(uint32_t category, const char* name, void* query, Print print);
    void execute(uint32_t command, const char* name, void* data, uint32_t timeoutMs);
    void freeResult(WFSRESULT* result);

    HAPP_XFS app_ = 0;
    HSERVICE_XFS service_ = 0;
};
