/* libdova: one flat API for every kind of printer port.
 *
 * A program starts the library once, opens a port by its target name
 * ("COM1", "192.168.1.50:9100", "out.prn", "DUMP" ...), claims it, writes and
 * reads bytes, releases and closes it, and stops the library:
 *
 *     DovaStartup(NULL);
 *     DOVA_HANDLE h = DovaOpenByName("127.0.0.1:9100", DOVA_MODE_THREADS);
 *     if (h != DOVA_INVALID_HANDLE && DovaClaim(h, 0) == DOVA_OK) {
 *         uint32_t done = 0;
 *         DovaWrite(h, "\x1b@", 2, &done, 0, 0, 0);
 *         DovaRelease(h, 30000);
 *     }
 *     DovaClose(h);
 *     DovaCleanup();
 *
 * Every result is 32-bit: DOVA_OK (0) for success, DOVA_E_NOTSUPPORTED (-1)
 * when this kind of port does not offer the operation, and a positive
 * DOVA_E_* code for a failure. Only results greater than 0 are failures.
 *
 * The API is not thread-safe: call it from one thread at a time.
 */
#ifndef DOVA_DOVA_H
#define DOVA_DOVA_H

#include <stdint.h>

#if defined(_WIN32)
#define DOVA_API __declspec(dllexport)
#else
#define DOVA_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A port handle. Never 0; DOVA_INVALID_HANDLE means that opening failed. */
typedef uint32_t DOVA_HANDLE;
#define DOVA_INVALID_HANDLE ((DOVA_HANDLE)0xFFFFFFFFu)

#define DOVA_VERSION 0x20140410u

/* ---- Result codes ------------------------------------------------------ */
#define DOVA_OK 0
#define DOVA_E_NOTSUPPORTED (-1) /* this kind of port does not offer the operation */
#define DOVA_E_HANDLE 1001       /* the handle is not open */
#define DOVA_E_DEVSTATUS 1004    /* the device's status answer reports a fault */
#define DOVA_E_QUEUE 1011        /* no send or receive queue */
#define DOVA_E_ADDRESS 1013      /* port number, TCP port or address part missing or out of range */
#define DOVA_E_OPEN 1014         /* the device could not be opened */
#define DOVA_E_THREAD 1015       /* the worker threads could not be started */
#define DOVA_E_EVENT 1016        /* the event objects could not be created */
#define DOVA_E_SOCKET 1017       /* a socket could not be created */
#define DOVA_E_CONNECT 1018      /* the connection could not be made */
#define DOVA_E_WINDOW 1020       /* the message window could not be created */
#define DOVA_E_WINSOCK 1021      /* the socket layer could not be started */
#define DOVA_E_LOGFILE 1022      /* logging is on but the log file could not be opened */
#define DOVA_E_STATUSQUIT 1023   /* a status request was ended by a quit signal or by the peer */
#define DOVA_E_STATUSSEND 1025   /* a status request could not be sent */
#define DOVA_E_STATUSRECV 1026   /* a status answer could not be received */
#define DOVA_E_NOTIFY 1027       /* socket notifications could not be set up */
#define DOVA_E_IPADDR 1028       /* the IPv4 address is missing or not valid */
#define DOVA_E_DRIVER 1029       /* driver-specific failure reported by a driver library */
#define DOVA_E_PARAM 1030        /* null out pointer, or a line setting was refused */
#define DOVA_E_USBREQUEST 1040   /* a request to a USB device failed */
#define DOVA_E_LINECONTROL 1041  /* a line control request failed */
#define DOVA_E_LINESETUP 1042    /* the line of an opened port could not be set up */
#define DOVA_E_WRITE 1101        /* writing to the port failed */
#define DOVA_E_READ 1102         /* reading from the port failed */
#define DOVA_E_FORCE 1103        /* forced sending could not be switched */
#define DOVA_E_PURGE 1104        /* discarding queued data failed */
#define DOVA_E_RESET 1105        /* resetting the device failed */
#define DOVA_E_LOCK 1106         /* locking failed */
#define DOVA_E_UNLOCK 1107       /* unlocking failed */
#define DOVA_E_HIDREPORT 1220    /* more data than one HID output report can carry */
#define DOVA_E_ESCAPE 1999       /* the escape-driver library refused a lock or an unlock */
#define DOVA_E_IOMODULE 9998     /* the I/O module library is not available */
#define DOVA_E_SYSTEM 9999       /* the OS refused, or a setting was refused while open */

/* ---- Interface type codes ---------------------------------------------- */
#define DOVA_IF_IPADDR 0x80000000u /* reached at an IPv4 address and TCP port */
#define DOVA_IF_SERIAL 0x40000000u /* has serial line parameters */

#define DOVA_IF_CON 0x00000001u
#define DOVA_IF_DUMP 0x00000002u
#define DOVA_IF_FILE 0x00000003u
#define DOVA_IF_LPT 0x00000012u
#define DOVA_IF_KPLPT 0x00000021u
#define DOVA_IF_KPPRN 0x00000022u
#define DOVA_IF_KPUSB 0x00000023u
#define DOVA_IF_USBPRN 0x00000024u
#define DOVA_IF_LIBUSB 0x00000026u
#define DOVA_IF_TANSY 0x00000027u
#define DOVA_IF_IBMTI4 0x00000042u
#define DOVA_IF_IBMM4 0x00000043u
#define DOVA_IF_ALD 0x00000044u
#define DOVA_IF_KZAPI 0x00000052u
#define DOVA_IF_SPOOLER 0x00000053u
#define DOVA_IF_IBMDLL 0x00000055u
#define DOVA_IF_NRDTLM 0x00000056u
#define DOVA_IF_NRDTDH 0x00000057u
#define DOVA_IF_XFS 0x00000058u
#define DOVA_IF_HPRDH 0x00000059u
#define DOVA_IF_COM 0x40000011u
#define DOVA_IF_IBMFP 0x40000054u
#define DOVA_IF_AEA 0x4000005Bu
#define DOVA_IF_NET 0x80000014u
#define DOVA_IF_KPNET 0x80000025u
#define DOVA_IF_GW 0xC0000031u
#define DOVA_IF_NDX 0xC0000032u
#define DOVA_IF_IOM 0xC0000033u
#define DOVA_IF_WTS 0xC0000034u
#define DOVA_IF_STARIO 0xC000005Cu

/* ---- Open modes ---------------------------------------------------------- */
#define DOVA_MODE_DIRECT 0  /* calls go straight to the device */
#define DOVA_MODE_THREADS 1 /* send and receive queues served by worker threads */
#define DOVA_MODE_EVENTS 2  /* event-driven */
#define DOVA_MODE_WINMSG 3  /* socket notifications through the library's dispatcher */

/* ---- Line parameter values (results of the DovaParse* helpers) ------------ */
#define DOVA_PARITY_NONE 0
#define DOVA_PARITY_ODD 1
#define DOVA_PARITY_EVEN 2
#define DOVA_PARITY_MARK 3
#define DOVA_PARITY_SPACE 4

#define DOVA_STOPBITS_1 0
#define DOVA_STOPBITS_1_5 1
#define DOVA_STOPBITS_2 2

#define DOVA_FLOW_NONE 0
#define DOVA_FLOW_DTRDSR 1
#define DOVA_FLOW_RTSCTS 2
#define DOVA_FLOW_XONXOFF 3
#define DOVA_FLOW_DTRDSR_RTSCTS 4

/* ---- Log flags (value "Log" of the library's configuration) -------------- */
#define DOVA_LOG_TIME 0x01   /* lines begin with the local date and time */
#define DOVA_LOG_HANDLE 0x02 /* then the handle of the call */
#define DOVA_LOG_API 0x10    /* a line on entry to and on return from each operation */
#define DOVA_LOG_WRITE 0x20  /* a hex dump of the bytes written */
#define DOVA_LOG_READ 0x40   /* a hex dump of the bytes read */

/* ---- Library lifecycle ---------------------------------------------------- */
DOVA_API int32_t DovaStartup(void* instance);
DOVA_API int32_t DovaCleanup(void);
DOVA_API uint32_t DovaVersion(void);

/* ---- Ports ---------------------------------------------------------------- */
DOVA_API DOVA_HANDLE DovaOpenByName(const char* target, int32_t mode);
DOVA_API int32_t DovaClose(DOVA_HANDLE handle);
DOVA_API uint32_t DovaGetIFType(DOVA_HANDLE handle);
DOVA_API int32_t DovaClaim(DOVA_HANDLE handle, int32_t timeout);
DOVA_API int32_t DovaRelease(DOVA_HANDLE handle, int32_t timeout);
DOVA_API int32_t DovaLock(DOVA_HANDLE handle, int32_t timeout);
DOVA_API int32_t DovaUnlock(DOVA_HANDLE handle, int32_t timeout);
DOVA_API int32_t DovaForce(DOVA_HANDLE handle, int32_t flag);
DOVA_API int32_t DovaWrite(DOVA_HANDLE handle, const void* data, uint32_t length, uint32_t* written,
                           uint32_t tagA, uint32_t tagB, uint32_t tagC);
DOVA_API int32_t DovaRead(DOVA_HANDLE handle, void* buffer, uint32_t size, uint32_t* read,
                          uint32_t reserved);

/* ---- Serial line parameters ----------------------------------------------- */
DOVA_API int32_t DovaSetBaudRate(DOVA_HANDLE handle, int32_t baudRate);
DOVA_API int32_t DovaSetByteSize(DOVA_HANDLE handle, int32_t byteSize);
DOVA_API int32_t DovaSetParity(DOVA_HANDLE handle, int32_t parity);
DOVA_API int32_t DovaSetStopBits(DOVA_HANDLE handle, int32_t stopBits);
DOVA_API int32_t DovaSetFlow(DOVA_HANDLE handle, int32_t flow);
/* Applies each value that is not -1 in this order; stops at the first refusal. */
DOVA_API int32_t DovaCommParams(DOVA_HANDLE handle, int32_t baudRate, int32_t byteSize,
                                int32_t parity, int32_t stopBits, int32_t flow);

/* Option texts ("9600", "e", "1", "r" ...) to line parameter values; -1 if not accepted. */
DOVA_API int32_t DovaParseBaudRate(const char* text);
DOVA_API int32_t DovaParseByteSize(const char* text);
DOVA_API int32_t DovaParseParity(const char* text);
DOVA_API int32_t DovaParseStopBits(const char* text);
DOVA_API int32_t DovaParseFlow(const char* text);

/* ---- Target names ----------------------------------------------------------
 * Resolves a target name to its interface type code, port number, channel,
 * IPv4 address (network byte order) and TCP port, as DovaOpenByName does. */
DOVA_API uint32_t _DovaWhatIF(const char* target, int32_t* number, int32_t* channel,
                              uint32_t* address, uint32_t* port);

/* ---- Byte display names ----------------------------------------------------
 * The readable name of a byte value: "ESC", "LF", "@", "A" ..., "" for 0x80-0xFF. */
DOVA_API const char* DovaByteName(uint8_t value);

#ifdef __cplusplus
}
#endif

#endif
