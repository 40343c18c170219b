// The readable form of the printer service's answers that the XFS port's
// exercise prints for the operator: one function per kind of answer, each
// given the result record as the manager handed it over (null when there was
// none). Nothing is read through a missing record or buffer, and texts the
// service left unset print as "(null)".
#pragma once

#include "backends/xfs/xfs_library.h"

#include <cstdio>

void xfsPrintVersion(std::FILE* out, const WFSVERSION& version);
void xfsPrintCapabilities(std::FILE* out, const WFSRESULT* result);
void xfsPrintMediaList(std::FILE* out, const WFSRESULT* result);
void xfsPrintFormList(std::FILE* out, const WFSRESULT* result);
void xfsPrintMedia(std::FILE* out, const char* mediaName, const WFSRESULT* result);
void xfsPrintForm(std::FILE* out, const WFSRESULT* result);
void xfsPrintFields(std::FILE* out, const WFSRESULT* result);
void xfsPrintStatus(std::FILE* out, const WFSRESULT* result);
