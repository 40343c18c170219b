/* The XFS manager library (MSXFS.DLL, libMSXFS.so on Linux) as libdova calls
 * it: the functions of the manager's application interface and the records
 * of the printer service class that the XFS port reads and passes. This
 * header is the contract a manager or service provider for Linux builds
 * against.
 *
 * Every record is packed (1-byte aligned); pointers in it have the
 * platform's width (8 bytes on 64-bit Linux). Text is 8-bit, null-ended.
 * Functions use the platform's default C calling convention and answer an
 * HRESULT-style int32_t: 0 success, negative a failure.
 *
 * A "string list" is a series of null-ended strings ended by an empty one
 * ("DINA4\0A5\0\0"). Every answer arrives as a WFSRESULT that the manager
 * allocates and the caller frees with WFSFreeResult; its lpBuffer may be
 * null, and nothing is read through it then. */
#ifndef DOVA_XFS_LIBRARY_H
#define DOVA_XFS_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t HRESULT_XFS;
typedef uint32_t HAPP_XFS;     /* application handle, 0 = none */
typedef uint16_t HSERVICE_XFS; /* service handle, 0 = none */

/* WFSGetInfo categories and WFSExecute commands of the printer class. */
#define WFS_INF_PTR_STATUS 101
#define WFS_INF_PTR_CAPABILITIES 102
#define WFS_INF_PTR_FORM_LIST 103
#define WFS_INF_PTR_MEDIA_LIST 104
#define WFS_INF_PTR_QUERY_FORM 105
#define WFS_INF_PTR_QUERY_MEDIA 106
#define WFS_INF_PTR_QUERY_FIELD 107
#define WFS_CMD_PTR_CONTROL_MEDIA 101
#define WFS_CMD_PTR_PRINT_FORM 102
#define WFS_CMD_PTR_RAW_DATA 104
#define WFS_CMD_PTR_MEDIA_EXTENTS 105

#pragma pack(push, 1)

/* 520 bytes. */
typedef struct {
    uint16_t wVersion; /* low byte major, high byte minor */
    uint16_t wLowVersion;
    uint16_t wHighVersion;
    char szDescription[257];
    char szSystemStatus[257];
} WFSVERSION;

/* 16 bytes. */
typedef struct {
    uint16_t wYear;
    uint16_t wMonth;
    uint16_t wDayOfWeek;
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
} WFSSYSTEMTIME;

/* lpBuffer lies 30 bytes from the start. */
typedef struct {
    uint32_t RequestID;
    HSERVICE_XFS hService;
    WFSSYSTEMTIME tsTimestamp;
    HRESULT_XFS hResult;
    uint32_t dwCommandCode;
    void* lpBuffer;
} WFSRESULT;

/* Answer of WFS_INF_PTR_CAPABILITIES. */
typedef struct {
    uint16_t wClass; /* 1: printer service */
    uint16_t fwType;
    int32_t bCompound;
    uint16_t wResolution;
    uint16_t fwReadForm;
    uint16_t fwWriteForm;
    uint16_t fwExtents;
    uint16_t fwControl;
    uint16_t usMaxRetract;
    uint16_t usMaxMediaOnStacker;
    int32_t bAcceptMedia;
} WFSPTRCAPS;

/* Answer of WFS_INF_PTR_STATUS. */
typedef struct {
    uint16_t fwDevice;
    uint16_t fwMedia;
    uint16_t fwPaper;
    uint16_t fwToner;
    uint16_t fwInk;
    uint16_t fwLamp;
    uint16_t fwRetractBin;
    uint16_t usRetractCount;
    uint16_t usMediaOnStacker;
} WFSPTRSTATUS;

/* Answer of WFS_INF_PTR_QUERY_MEDIA (query: the media name, char*). */
typedef struct {
    uint16_t fwMediaType;
    uint16_t wBase;
    uint16_t wUnitX;
    uint16_t wUnitY;
    uint16_t wSizeWidth;
    uint16_t wSizeHeight;
    uint16_t wPageCount;
    uint16_t wLineCount;
    uint16_t wPrintAreaX;
    uint16_t wPrintAreaY;
    uint16_t wPrintAreaWidth;
    uint16_t wPrintAreaHeight;
    uint16_t wRestrictedAreaX;
    uint16_t wRestrictedAreaY;
    uint16_t wRestrictedAreaWidth;
    uint16_t wRestrictedAreaHeight;
    uint16_t wStagger;
    uint16_t wFoldType;
} WFSFRMMEDIA;

/* Answer of WFS_INF_PTR_QUERY_FORM (query: the form name, char*). */
typedef struct {
    char* lpszFormName;
    uint16_t wBase;
    uint16_t wUnitX;
    uint16_t wUnitY;
    uint16_t wWidth;
    uint16_t wHeight;
    uint16_t wAlignment;
    uint16_t wOrientation;
    uint16_t wOffsetX;
    uint16_t wOffsetY;
    uint16_t wVersionMajor;
    uint16_t wVersionMinor;
    char* lpszUserPrompt;
    char* lpszFields; /* string list, may be null */
} WFSFRMHEADER;

/* Query of WFS_INF_PTR_QUERY_FIELD. */
typedef struct {
    char* lpszFormName;
    char* lpszFieldName;
} WFSPTRQUERYFIELD;

/* One field of the WFS_INF_PTR_QUERY_FIELD answer, whose buffer is a
 * null-ended array of pointers to these (WFSFRMFIELD**). */
typedef struct {
    char* lpszFieldName;
    uint16_t wIndexCount;
    uint16_t fwType;
    uint16_t fwClass;
    uint16_t fwAccess;
    uint16_t fwOverflow;
    char* lpszInitialValue;
    char* lpszFormat;
} WFSFRMFIELD;

/* Data of WFS_CMD_PTR_PRINT_FORM. */
typedef struct {
    char* lpszFormName;
    char* lpszMediaName;
    uint16_t wAlignment;
    uint16_t wOffsetX;
    uint16_t wOffsetY;
    uint16_t wResolution;
    uint32_t dwMediaControl;
    char* lpszFields; /* string list of "name=value" or names */
} WFSPTRPRINTFORM;

/* Data of WFS_CMD_PTR_RAW_DATA. */
typedef struct {
    uint16_t wInputData;
    uint32_t ulSize;
    uint8_t* lpbData;
} WFSPTRRAWDATA;

/* Data of WFS_CMD_PTR_MEDIA_EXTENTS. */
typedef struct {
    uint16_t wBase;
    uint16_t wUnitX;
    uint16_t wUnitY;
} WFSPTRMEDIAUNIT;

#pragma pack(pop)

/* Data of WFS_CMD_PTR_CONTROL_MEDIA: a uint32_t. Media lists and form lists
 * (WFS_INF_PTR_MEDIA_LIST, WFS_INF_PTR_FORM_LIST) answer a string list. */

HRESULT_XFS WFSStartUp(uint32_t dwVersionsRequired, WFSVERSION* lpWFSVersion);
HRESULT_XFS WFSCleanUp(void);
HRESULT_XFS WFSCreateAppHandle(HAPP_XFS* lphApp);
HRESULT_XFS WFSDestroyAppHandle(HAPP_XFS hApp);
HRESULT_XFS WFSOpen(const char* lpszLogicalName, HAPP_XFS hApp, const char* lpszAppID,
                    uint32_t dwTraceLevel, uint32_t dwTimeOut, uint32_t dwSrvcVersionsRequired,
                    WFSVERSION* lpSrvcVersion, WFSVERSION* lpSPIVersion, HSERVICE_XFS* lphService);
HRESULT_XFS WFSClose(HSERVICE_XFS hService);
HRESULT_XFS WFSLock(HSERVICE_XFS hService, uint32_t dwTimeOut, WFSRESULT** lppResult);
HRESULT_XFS WFSUnlock(HSERVICE_XFS hService);
HRESULT_XFS WFSGetInfo(HSERVICE_XFS hService, uint32_t dwCategory, void* lpQueryDetails,
                       uint32_t dwTimeOut, WFSRESULT** lppResult);
HRESULT_XFS WFSExecute(HSERVICE_XFS hService, uint32_t dwCommand, void* lpCmdData,
                       uint32_t dwTimeOut, WFSRESULT** lppResult);
HRESULT_XFS WFSFreeResult(WFSRESULT* lpResult);

#ifdef __cplusplus
} /* extern "C" */
#endif

#ifdef __cplusplus
static_assert(sizeof(WFSVERSION) == 520, "the version record is 520 bytes");
static_assert(sizeof(WFSSYSTEMTIME) == 16, "the time stamp is 16 bytes");
static_assert(__builtin_offsetof(WFSRESULT, lpBuffer) == 30, "the answer lies 30 bytes in");
#endif

#endif
