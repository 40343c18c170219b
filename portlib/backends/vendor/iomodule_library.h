/* libIOModule.so ("IOModule.dll"): the I/O module library as libdova calls
 * it. A replacement built against this header is loaded by name at each
 * claim and unloaded at each release; its two functions have the default C
 * calling convention of the platform and are exported under exactly these
 * names.
 *
 * The module object has three interfaces, each a table of functions that
 * libdova calls by slot number: the object begins with one pointer per
 * interface, and slot n of an interface is the n-th function pointer of its
 * table (counted from 0). The tables below give every slot libdova calls its
 * place and type; the slots named `reservedN` are never called and may be
 * null. Every function takes the module object first, so one set of tables
 * can serve any number of objects.
 *
 * Results: open answers 0 for success; lock and unlock answer non-zero for
 * failure; every other slot is a boolean, non-zero for success. Names and
 * addresses are UTF-16, terminated by a 0 unit. Time-outs are milliseconds.
 *
 * Connection kinds: 1 serial, 2 USB, 4 network. Line settings arrive in the
 * module's own values: parity 0 none, 1 even, 2 odd; stop bits 0 one, 1
 * one and a half, 2 two; flow 0 none, 1 XON/XOFF, 2 DTR/DSR, 3 RTS/CTS.
 * Byte sizes and baud rates are the plain numbers. */
#ifndef DOVA_IOMODULE_LIBRARY_H
#define DOVA_IOMODULE_LIBRARY_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef struct IOModule IOModule;

/* The main interface. */
typedef struct IOModuleMainTable {
    int32_t (*open)(IOModule* module);  /* slot 0: 0 success */
    int32_t (*close)(IOModule* module); /* slot 1 */
} IOModuleMainTable;

/* The connection and line settings interface. */
typedef struct IOModuleConnectionTable {
    void (*reserved0)(void);
    void (*reserved1)(void);
    /* slot 2: how many ports of the kind the module sees */
    int32_t (*countPorts)(IOModule* module, int32_t kind);
    void (*reserved3)(void);
    void (*reserved4)(void);
    void (*reserved5)(void);
    void (*reserved6)(void);
    void (*reserved7)(void);
    void (*reserved8)(void);
    void (*reserved9)(void);
    void (*reserved10)(void);
    void (*reserved11)(void);
    void (*reserved12)(void);
    void (*reserved13)(void);
    void (*reserved14)(void);
    int32_t (*selectKind)(IOModule* module, int32_t kind); /* slot 15 */
    /* slot 16: "COM<n>" (length without the terminator) or "USB<n>"
     * (length with it) */
    int32_t (*setPortName)(IOModule* module, const char16_t* name, int32_t length);
    int32_t (*setBaudRate)(IOModule* module, int32_t baudRate); /* slot 17 */
    int32_t (*setParity)(IOModule* module, int32_t parity);     /* slot 18 */
    int32_t (*setByteSize)(IOModule* module, int32_t byteSize); /* slot 19 */
    int32_t (*setStopBits)(IOModule* module, int32_t stopBits); /* slot 20 */
    int32_t (*setFlow)(IOModule* module, int32_t flow);         /* slot 21 */
    /* slots 22 and 23: the two parts of a network address */
    int32_t (*setNetworkAddress)(IOModule* module, const char16_t* text, int32_t value);
    int32_t (*setNetworkPort)(IOModule* module, const char16_t* text, int32_t value);
} IOModuleConnectionTable;

/* The I/O interface. */
typedef struct IOModuleIoTable {
    void (*reserved0)(void);
    /* slot 1: *written bytes taken within timeoutMs */
    int32_t (*write)(IOModule* module, const uint8_t* data, uint32_t size, uint32_t* written,
                     uint32_t timeoutMs);
    /* slot 2: *read bytes stored within timeoutMs */
    int32_t (*read)(IOModule* module, uint8_t* buffer, uint32_t size, uint32_t* read,
                    uint32_t timeoutMs);
    int32_t (*lock)(IOModule* module, uint32_t timeoutMs); /* slot 3: non-zero failure */
    int32_t (*unlock)(IOModule* module);                   /* slot 4: non-zero failure */
} IOModuleIoTable;

struct IOModule {
    const IOModuleMainTable* main;
    const IOModuleConnectionTable* connection;
    const IOModuleIoTable* io;
};

/* A new module object, or 0 when none can be made. */
IOModule* CreateIOModule(void);
void DeleteIOModule(IOModule* module);

#ifdef __cplusplus
}
#endif

#endif
