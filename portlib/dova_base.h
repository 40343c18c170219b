// DovaBase: the one interface every port of the library implements.
//
// The API holds ports only as DovaBase pointers. A backend overrides what its
// device can do and inherits the defaults below for the rest; a default never
// touches a device and answers DOVA_E_NOTSUPPORTED (-1) unless noted.
//
// Result convention: 0 success, -1 not supported, > 0 a DOVA_E_* failure.
// Callers treat only results > 0 as failures, so an unsupported lock, unlock
// or force lets them proceed.
//
// Life cycle: created closed by the factory; the API passes the addressing
// values it parsed from the target (setName / setNo / setCh / setIP /
// setPort) before claim; claim opens; lock, send, recv, force, unlock;
// release(drain time-out); destruction. Every concrete destructor calls
// release(0) first, so deleting an open port closes it.
//
// Threads: every operation runs on the API caller's thread. Worker-thread
// backends add their own threads (WAsync), which call the hooks below.
#pragma once

#include <cstdint>

// Line time-outs of a serial or parallel port, in milliseconds.
struct DovaCommTimeouts {
    uint32_t readIntervalTimeout = 0;
    uint32_t readTotalTimeoutMultiplier = 0;
    uint32_t readTotalTimeoutConstant = 0;
    uint32_t writeTotalTimeoutMultiplier = 0;
    uint32_t writeTotalTimeoutConstant = 0;
};

// Line settings of a serial port, in the values of the DovaParse* helpers.
struct DovaCommState {
    int32_t baudRate = 9600;
    int32_t byteSize = 8;
    int32_t parity = 0;
    int32_t stopBits = 0;
    int32_t flow = 0;
};

// The document information of a print job (level 1): its name as the queue
// shows it, an output file instead of the printer (null: the printer), and
// the data type (null: the printer's default; "RAW": bytes passed unchanged).
struct DovaDocInfo1 {
    const char* docName = nullptr;
    const char* outputFile = nullptr;
    const char* datatype = nullptr;
};

class DovaBase;
using DovaSendHook = void (*)(DovaBase* port, uint32_t written, uint32_t tagB, uint32_t tagC);
using DovaRecvHook = void (*)(DovaBase* port, uint32_t stored);
using DovaLineHook = void (*)(DovaBase* port, uint32_t eventMask, uint32_t zero);

class DovaBase {
public:
    DovaBase() = default;
    DovaBase(const DovaBase&) = delete;
    DovaBase& operator=(const DovaBase&) = delete;
    // Concrete destructors call release(0) first.
    virtual ~DovaBase() = default;

    // ---- Identity: constant per class, callable in any state. ----------------
    virtual uint32_t getIFType() = 0;
    // 0 direct, 1 worker threads, 2 event-driven.
    virtual int32_t getAsyncMode() = 0;
    virtual const char* getTypeName() = 0;

    // ---- Addressing: set by the API from the target name before claim. ---------
    // Setters that would change the device of an open port refuse with 9999.
    // Defaults: getName writes "" and getNo/getCh write -1; all return -1.
    virtual int32_t getName(char* name);
    virtual int32_t setName(const char* name);
    virtual int32_t getNo(int32_t* no);
    virtual int32_t setNo(int32_t no);
    virtual int32_t getCh(int32_t* ch);
    virtual int32_t setCh(int32_t ch);

    // ---- Open and close. -------------------------------------------------------
    // claim: traces "DOVA: <Class>::claim(...)", calls release(0), validates the
    // addressing values, opens the device (worker-thread backends then start
    // their engine). Any failure after the device opened calls release(0), so a
    // failed claim always leaves the port closed and claimable again.
    virtual int32_t claim(int32_t timeout) = 0;
    // release: silent 0 on a closed port. Otherwise traces
    // "DOVA: <Class>::release(%d)", keeps waitSendDone(timeout), closes, and
    // returns the kept result: 0 drained, 1 data still queued, or an error.
    virtual int32_t release(int32_t timeout);

    // ---- Data. -------------------------------------------------------------------
    // send writes *written = bytes accepted (a worker-thread port: queued).
    // Tags travel with a queued block to the send-progress hook.
    virtual int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA,
                         uint32_t tagB, uint32_t tagC) = 0;
    virtual int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) = 0;
    virtual int32_t lock(int32_t timeout);
    virtual int32_t unlock(int32_t timeout);

    // ---- State of the open device. ----------------------------------------------
    // getHandle: the OS descriptor or socket, -1 while closed.
    virtual intptr_t getHandle() = 0;
    virtual int32_t isOpen() = 0;
    // 1 the device can take data, 0 not (or no way to tell).
    virtual int32_t isReady() = 0;
    virtual int32_t reset();
    virtual int32_t force(int32_t on);
    virtual int32_t setHostBusy(int32_t busy);

    // ---- Queues: served by WAsync in worker-thread backends. ----------------------
    // Default counts: null pointer 1030; otherwise write 0 and return -1.
    virtual int32_t getSendCount(uint32_t* count);
    virtual int32_t getRecvCount(uint32_t* count);
    virtual int32_t purgeSend();
    virtual int32_t purgeRecv();
    virtual int32_t reserved1(uint32_t* value);
    virtual int32_t reserved2();
    // Queue kind: 0 ring buffer, 1 list queue.
    virtual int32_t getSendQueueType(int32_t* type);
    virtual int32_t setSendQueueType(int32_t type);
    virtual int32_t getRecvQueueType(int32_t* type);
    virtual int32_t setRecvQueueType(int32_t type);
    // Sizes: getters default to 0, setters to 0 (1 when a backend takes the value).
    virtual uint32_t getSendBufferSize();
    virtual uint32_t getRecvBufferSize();
    virtual uint32_t getSendBlockSize();
    virtual uint32_t getRecvBlockSize();
    virtual int32_t setSendBufferSize(uint32_t bytes);
    virtual int32_t setRecvBufferSize(uint32_t bytes);
    virtual int32_t setSendBlockSize(uint32_t bytes);
    virtual int32_t setRecvBlockSize(uint32_t bytes);
    // Waits while getSendCount keeps changing: 0 once it reaches 0, 1 after
    // more than `timeout` ms without progress (a negative time-out is the
    // very long unsigned time it stands for). Worker-thread ports take
    // WAsync's, which wakes on each change; backends do not override it.
    virtual int32_t waitSendDone(int32_t timeout);

    // ---- Serial and parallel line (WVcomm family). ----------------------------------
    virtual int32_t getCommTimeouts(DovaCommTimeouts* timeouts);
    virtual int32_t setCommTimeouts(const DovaCommTimeouts* timeouts);
    virtual int32_t getModemStatus(uint32_t* status);
    virtual int32_t escapeCommFunction(uint32_t function);
    virtual int32_t getCommState(DovaCommState* state);
    virtual int32_t setCommState(const DovaCommState* state);
    // Line values are stored while closed and applied at claim.
    virtual int32_t getBaudRate(int32_t* value);
    virtual int32_t setBaudRate(int32_t value);
    virtual int32_t getByteSize(int32_t* value);
    virtual int32_t setByteSize(int32_t value);
    virtual int32_t getParity(int32_t* value);
    virtual int32_t setParity(int32_t value);
    virtual int32_t getStopBits(int32_t* value);
    virtual int32_t setStopBits(int32_t value);
    virtual int32_t getFlow(int32_t* value);
    virtual int32_t setFlow(int32_t value);

    // ---- Parallel port. -------------------------------------------------------------
    virtual int32_t getDeviceIdSize(uint32_t* size);
    virtual int32_t getDeviceId(char* buffer, uint32_t size);
    virtual int32_t get1284Mode(uint16_t* readMask, uint16_t* writeMask);
    virtual int32_t getParStatus(uint8_t* status);
    virtual int32_t setParInfo(uint8_t init);

    // ---- USB devices. -----------------------------------------------------------------
    virtual int32_t setVendorId(uint16_t vendorId);
    virtual int32_t setProductId(uint16_t productId);
    virtual int32_t getLptStatus(uint8_t* status);
    virtual int32_t get1284Id(char* buffer, uint32_t size);
    virtual int32_t vendorSetCommand();
    virtual int32_t vendorGetCommand();
    virtual int32_t softReset();
    virtual int32_t getDriverInfo(uint32_t* value);
    virtual int32_t getDriverWord(uint16_t* value);
    virtual int32_t getDeviceStatus(uint16_t* status);
    virtual int32_t setDeviceControl(uint16_t control);

    // ---- TCP address. Accepted at any time, used at the next claim. -------------------
    // The address is in network byte order, the port in host byte order.
    virtual int32_t getIP(uint32_t* address);
    virtual int32_t setIP(uint32_t address);
    virtual int32_t getPort(uint32_t* port);
    virtual int32_t setPort(uint32_t port);

    // ---- KP network printer status channel. ------------------------------------------
    // text: at least 134 bytes; code: at least 14 bytes.
    virtual int32_t queryDeviceText(char* text);
    virtual int32_t queryDeviceCode(char* code);
    virtual int32_t queryDeviceCheck(uint32_t unused);

    // ---- Print spooler. ----------------------------------------------------------------
    // startDocPrinter returns the job id, 0 on failure. docInfo, when given,
    // points at a DovaDocInfo1 (level 1); without it the backend names the
    // document itself.
    virtual int32_t startDocPrinter(uint32_t level, const void* docInfo);
    virtual int32_t startPagePrinter();
    virtual int32_t endPagePrinter();
    virtual int32_t endDocPrinter();
    virtual int32_t getJob(uint32_t jobId, uint32_t level, void* buffer, uint32_t size,
                           uint32_t* needed);
    virtual int32_t setJob(uint32_t jobId, uint32_t level, const void* buffer, uint32_t command);
    virtual int32_t getPrinter(uint32_t level, void* buffer, uint32_t size, uint32_t* needed);
    virtual int32_t setPrinter(uint32_t level, const void* buffer, uint32_t command);

    // ---- Vendor libraries. ---------------------------------------------------------------
    virtual int32_t reserved3(uint32_t a);
    virtual int32_t reserved4(uint32_t a);
    virtual int32_t reserved5();
    virtual int32_t reserved6();
    virtual int32_t reserved7(uint32_t a);
    virtual int32_t reserved8(uint32_t a, uint32_t b);
    virtual int32_t reserved9();
    virtual int32_t reserved10();
    // The buffers of these two are the library's own records: pointers, so
    // they stay as wide as the platform's pointers.
    virtual int32_t deviceStatus(uint32_t which, void* buffer, void* size);
    virtual int32_t getEnvVars(void* buffer, uint32_t value);
    virtual int32_t getEnvVar(uint32_t station, void* buffer);
    virtual int32_t getCodePage(uint32_t value);
    virtual int32_t setCodePage(uint32_t a, uint32_t b);
    virtual int32_t reserved11(uint32_t a, uint32_t b, uint32_t c);
    virtual int32_t reserved12(uint32_t a, uint32_t b);
    virtual int32_t reserved13(uint32_t a, uint32_t b);
    virtual int32_t reserved14();
    virtual int32_t ioctl(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t e, uint32_t f);
    virtual int32_t registerCallback(uint32_t code, void* callback, void* context);
    virtual int32_t unregisterCallback(uint32_t code, void* callback, void* context);

    // Notification hooks, called from worker threads when non-null. Nothing in
    // the library assigns them; a program embedding a port object may.
    DovaSendHook sendHook = nullptr;
    DovaRecvHook recvHook = nullptr;
    DovaLineHook lineHook = nullptr;
};
