#include "backends/xfs/xfs_answers.h"

#include <cstring>

namespace {

const char* text(const char* s) {
    return s ? s : "(null)";
}

const void* buffer(const WFSRESULT* result) {
    return result ? result->lpBuffer : nullptr;
}

// Packed records: a field is copied out rather than read in place, since a
// misaligned read through a pointer to it is not allowed.
template <class Record> Record copyOf(const void* p) {
    Record r;
    std::memcpy(&r, p, sizeof r);
    return r;
}

struct Flag {
    unsigned bit;
    const char* name;
};

// The names of the bits set, in the order given, then the complaint when a
// bit in `invalid` is set, then the end of the line.
template <size_t N>
void printFlags(std::FILE* out, unsigned value, const Flag (&flags)[N], unsigned invalid) {
    for (const Flag& f : flags)
        if (value & f.bit) std::fputs(f.name, out);
    if (value & invalid) std::fputs("Invalid flag !!", out);
    std::fputc('\n', out);
}

struct Name {
    unsigned value;
    const char* name;
};

template <size_t N>
void printNamed(std::FILE* out, const char* format, unsigned value, const Name (&names)[N],
                const char* unknown) {
    std::fprintf(out, format, int(value));
    for (const Name& n : names)
        if (n.value == value) {
            std::fputs(n.name, out);
            return;
        }
    std::fputs(unknown, out);
}

// A string list: names one after another, ended by an empty one.
template <class Print> void forEachString(const char* list, Print print) {
    int number = 1;
    for (const char* s = list; *s; s += std::strlen(s) + 1)
        print(number++, s);
}

} // namespace

void xfsPrintVersion(std::FILE* out, const WFSVERSION& v) {
    const struct {
        const char* format;
        uint16_t value;
    } words[] = {
        {" wVersion       = %04X Ver.%02X.%02X\n", v.wVersion},
        {" wLowVersion    = %04X Ver.%02X.%02X\n", v.wLowVersion},
        {" wHighVersion   = %04X Ver.%02X.%02X\n", v.wHighVersion},
    };
    for (const auto& w : words)
        std::fprintf(out, w.format, unsigned(w.value), unsigned(w.value & 0xFF),
                     unsigned(w.value >> 8));
    // A provider may fill the whole field without its terminating zero.
    std::fprintf(out, " szDescription  = %.*s\n", int(sizeof v.szDescription), v.szDescription);
    std::fprintf(out, " szSystemStatus = %.*s\n", int(sizeof v.szSystemStatus), v.szSystemStatus);
}

void xfsPrintCapabilities(std::FILE* out, const WFSRESULT* result) {
    const void* p = buffer(result);
    if (!p) return;
    auto c = copyOf<WFSPTRCAPS>(p);
    std::fprintf(out, " wClass              = %d:", int(c.wClass));
    std::fputs(c.wClass == 1 ? "WFS_SERVICE_CLASS_PTR\n" : "Strange!! Not Printer Service!!\n",
               out);

    static const Flag types[] = {{0x2, "WFS_PTR_TYPEPASSBOOK "},
                                 {0x8, "WFS_PTR_TYPEDOCUMENT "},
                                 {0x1, "WFS_PTR_TYPERECEIPT "},
                                 {0x4, "WFS_PTR_TYPEJOURNAL "}};
    std::fprintf(out, " fwType              = 0x%x:", unsigned(c.fwType));
    printFlags(out, c.fwType, types, 0xFFF0);

    std::fprintf(out, " bCompound           = %d\n", int(c.bCompound));

    static const Flag resolutions[] = {{0x1, "WFS_PTR_RESLOW "},
                                       {0x2, "WFS_PTR_RESMED "},
                                       {0x4, "WFS_PTR_RESHIGH "},
                                       {0x8, "WFS_PTR_RESVERYHIGH "}};
    std::fprintf(out, " wResolution         = 0x%x:", unsigned(c.wResolution));
    printFlags(out, c.wResolution, resolutions, 0xFFF0);

    static const Flag readForms[] = {{0x4, "WFS_PTR_READMSF "}, {0x2, "WFS_PTR_READMICR "}};
    std::fprintf(out, " fwReadForm          = 0x%x:", unsigned(c.fwReadForm));
    if (c.fwReadForm == 0) std::fputs("No Read Capability ", out);
    printFlags(out, c.fwReadForm, readForms, 0xFFFF & ~0x6u);

    static const Flag writeForms[] = {{0x1, "WFS_PTR_WRITETEXT "}, {0x10, "WFS_PTR_WRITEMSF "}};
    std::fprintf(out, " fwWriteForm         = 0x%x:", unsigned(c.fwWriteForm));
    printFlags(out, c.fwWriteForm, writeForms, 0xFFEE);

    std::fprintf(out, " fwExtents           = %d:", int(c.fwExtents));
    std::fputs(c.fwExtents == 0 ? "No Extents Capability\n" : "Invalid flag !!\n", out);

    static const Flag controls[] = {{0x1, "WFS_PTR_CTRLEJECT "}, {0x100, "WFS_PTR_CTRLALARM "}};
    std::fprintf(out, " fwControl           = 0x%x:", unsigned(c.fwControl));
    printFlags(out, c.fwControl, controls, 0xFEFE);

    std::fprintf(out, " usMaxRetract        = %d:", int(c.usMaxRetract));
    std::fputs(c.usMaxRetract == 0 ? "No Retract Capability\n" : "Invalid value !!\n", out);
    std::fprintf(out, " usMaxMediaOnStacker = %d:", int(c.usMaxMediaOnStacker));
    std::fputs(c.usMaxMediaOnStacker == 0 ? "No Stack Capability\n" : "Invalid value !!\n", out);
    std::fprintf(out, " bAcceptMedia        = %d:", int(c.bAcceptMedia));
    std::fputs(c.bAcceptMedia == 1 ? "TRUE\n" : "FALSE\n", out);
}

void xfsPrintMediaList(std::FILE* out, const WFSRESULT* result) {
    if (!result) {
        std::fputs("!! Returned pointer is null !!\n", out);
        return;
    }
    if (!result->lpBuffer) {
        std::fputs("!! Pointer is NULL !!\n", out);
        return;
    }
    std::fputs(" Media list:\n", out);
    forEachString(static_cast<const char*>(result->lpBuffer),
                  [out](int n, const char* s) { std::fprintf(out, " %02d:%s\n", n, s); });
}

void xfsPrintFormList(std::FILE* out, const WFSRESULT* result) {
    if (!result) {
        std::fputs("Returned pointer is null !! \n", out);
        return;
    }
    if (!result->lpBuffer) {
        std::fputs("Form list pointer is null !! \n", out);
        return;
    }
    std::fputs(" Form list:\n", out);
    forEachString(static_cast<const char*>(result->lpBuffer),
                  [out](int n, const char* s) { std::fprintf(out, " %02d:%s\n", n, s); });
}

void xfsPrintMedia(std::FILE* out, const char* mediaName, const WFSRESULT* result) {
    std::fprintf(out, " Media Name            = %s\n", text(mediaName));
    const void* p = buffer(result);
    if (!p) {
        std::fputs("Returned pointer is null !! \n", out);
        return;
    }
    auto m = copyOf<WFSFRMMEDIA>(p);
    const struct {
        const char* format;
        uint16_t value;
    } lines[] = {
        {" fwMediaType           = %d\n", m.fwMediaType},
        {" wBase                 = %d\n", m.wBase},
        {" wUnitX                = %d\n", m.wUnitX},
        {" wUnitY                = %d\n", m.wUnitY},
        {" wSizeWidth            = %d\n", m.wSizeWidth},
        {" wSizeHeight           = %d\n", m.wSizeHeight},
        {" wPageCount            = %d\n", m.wPageCount},
        {" wLineCount            = %d\n", m.wLineCount},
        {" wPrintAreaX           = %d\n", m.wPrintAreaX},
        {" wPrintAreaY           = %d\n", m.wPrintAreaY},
        {" wPrintAreaWidth       = %d\n", m.wPrintAreaWidth},
        {" wPrintAreaHeight      = %d\n", m.wPrintAreaHeight},
        {" wRestrictedAreaX      = %d\n", m.wRestrictedAreaX},
        {" wRestrictedAreaY      = %d\n", m.wRestrictedAreaY},
        {" wRestrictedAreaWidth  = %d\n", m.wRestrictedAreaWidth},
        {" wRestrictedAreaHeight = %d\n", m.wRestrictedAreaHeight},
        {" wStagger              = %d\n", m.wStagger},
        {" wFoldType             = %d\n", m.wFoldType},
    };
    for (const auto& line : lines)
        std::fprintf(out, line.format, int(line.value));
}

void xfsPrintForm(std::FILE* out, const WFSRESULT* result) {
    const void* p = buffer(result);
    if (!p) {
        std::fputs("Returned pointer is null !! \n", out);
        return;
    }
    auto f = copyOf<WFSFRMHEADER>(p);
    std::fprintf(out, " Form Name           = %s\n", text(f.lpszFormName));
    const struct {
        const char* format;
        uint16_t value;
    } lines[] = {
        {" wBase               = %d\n", f.wBase},
        {" wUnitX              = %d\n", f.wUnitX},
        {" wUnitY              = %d\n", f.wUnitY},
        {" wWidth              = %d\n", f.wWidth},
        {" wHeight             = %d\n", f.wHeight},
        {" wAlignment          = %d\n", f.wAlignment},
        {" wOrientation        = %d\n", f.wOrientation},
        {" wOffsetX            = %d\n", f.wOffsetX},
        {" wOffsetY            = %d\n", f.wOffsetY},
        {" wVersionMajor       = %d\n", f.wVersionMajor},
        {" wVersionMinor       = %d\n", f.wVersionMinor},
    };
    for (const auto& line : lines)
        std::fprintf(out, line.format, int(line.value));
    std::fprintf(out, " User Prompt         = %s\n", text(f.lpszUserPrompt));
    std::fputs(" Fields              = ", out);
    if (!f.lpszFields) {
        std::fputs("!! Pointer is NULL !!\n", out);
        return;
    }
    std::fputs("Fields list:\n", out);
    forEachString(f.lpszFields, [out](int n, const char* s) {
        std::fprintf(out, "                       %02d:%s\n", n, s);
    });
}

void xfsPrintFields(std::FILE* out, const WFSRESULT* result) {
    if (!result) {
        std::fputs("Returned pointer is null !! \n", out);
        return;
    }
    if (!result->lpBuffer) {
        std::fputs(" Fields:!! Pointer is NULL !!\n", out);
        return;
    }
    std::fputs(" Fields:\n", out);
    const auto* slots = static_cast<const unsigned char*>(result->lpBuffer);
    for (int i = 0;; ++i) {
        auto field = copyOf<const WFSFRMFIELD*>(slots + i * sizeof(void*));
        if (!field) break;
        auto f = copyOf<WFSFRMFIELD>(field);
        std::fprintf(out, " %02d lpszFieldName    = %s\n", i + 1, text(f.lpszFieldName));
        std::fprintf(out, "    wIndexCount      = %d\n", int(f.wIndexCount));
        std::fprintf(out, "    fwType           = %d\n", int(f.fwType));
        std::fprintf(out, "    fwClass          = %d\n", int(f.fwClass));
        std::fprintf(out, "    fwAccess         = %d\n", int(f.fwAccess));
        std::fprintf(out, "    fwOverflow       = %d\n", int(f.fwOverflow));
        std::fprintf(out, "    lpszInitialValue = %s\n", text(f.lpszInitialValue));
        std::fprintf(out, "    lpszFormat       = %s\n", text(f.lpszFormat));
    }
}

void xfsPrintStatus(std::FILE* out, const WFSRESULT* result) {
    if (!result) {
        std::fputs("\bReturned pointer is null !! \n", out);
        return;
    }
    if (!result->lpBuffer) {
        std::fputs(" pStatus is NULL !!\n", out);
        return;
    }
    auto s = copyOf<WFSPTRSTATUS>(result->lpBuffer);
    static const Name devices[] = {{0, "WFS_PTR_DEVONLINE\n"},
                                   {1, "WFS_PTR_DEVOFFLINE\n"},
                                   {4, "WFS_PTR_DEVHWERROR\n"},
                                   {5, "WFS_PTR_DEVUSERERROR\n"},
                                   {6, "WFS_PTR_DEVBUSY\n"}};
    static const Name media[] = {{0, "WFS_PTR_MEDIAPRESENT\n"},
                                 {1, "WFS_PTR_MEDIANOTPRESENT\n"},
                                 {4, "WFS_PTR_MEDIAUNKNOWN\n"}};
    static const Name paper[] = {{0, "WFS_PTR_PAPERFULL\n"},
                                 {1, "WFS_PTR_PAPERLOW\n"},
                                 {2, "WFS_PTR_PAPEROUT\n"},
                                 {3, "WFS_PTR_PAPERNOTSUPP\n"},
                                 {4, "WFS_PTR_PAPERUNKNOWN\n"}};
    static const Name toner[] = {{0, "WFS_PTR_TONERFULL\n"},
                                 {1, "WFS_PTR_TONERLOW\n"},
                                 {2, "WFS_PTR_TONEROUT\n"},
                                 {3, "WFS_PTR_TONERNOTSUPP\n"},
                                 {4, "WFS_PTR_TONERUNKNOWN\n"}};
    static const Name ink[] = {{0, "WFS_PTR_INKFULL\n"},
                               {1, "WFS_PTR_INKLOW\n"},
                               {2, "WFS_PTR_INKOUT\n"},
                               {3, "WFS_PTR_INKNOTSUPP\n"},
                               {4, "WFS_PTR_INKUNKNOWN\n"}};
    static const Name lamp[] = {{0, "WFS_PTR_LAMPOK\n"},
                                {1, "WFS_PTR_LAMPFADING\n"},
                                {2, "WFS_PTR_LAMPINOP\n"},
                                {3, "WFS_PTR_LAMPNOTSUPP\n"},
                                {4, "WFS_PTR_LAMPUNKNOWN\n"}};
    static const Name retractBin[] = {{0, "WFS_PTR_RETRACTBINOK\n"},
                                      {1, "WFS_PTR_RETRACTBINFULL\n"},
                                      {2, "WFS_PTR_RETRACTNOTSUPP\n"},
                                      {3, "WFS_PTR_RETRACTUNKNOWN\n"}};
    const char* unknown = "\bUnknown value !!\n";
    printNamed(out, " fwDevice            = %d:", s.fwDevice, devices, unknown);
    printNamed(out, " fwMedia             = %d:", s.fwMedia, media, unknown);
    printNamed(out, " fwPaper             = %d:", s.fwPaper, paper, unknown);
    printNamed(out, " fwToner             = %d:", s.fwToner, toner, unknown);
    printNamed(out, " fwInk               = %d:", s.fwInk, ink, unknown);
    printNamed(out, " fwLamp              = %d:", s.fwLamp, lamp, "Unknown value !!\n");
    printNamed(out, " fwRetractBin        = %d:", s.fwRetractBin, retractBin, "Unknown value !!\n");
    std::fprintf(out, " usRetractCount      = %d\n", int(s.usRetractCount));
    std::fprintf(out, " usMediaOnStacker    = %d\n", int(s.usMediaOnStacker));
}
