// The records the host exchanges with the engine keep their field sequence on
// every target; on 32-bit x86 their exact offsets and sizes are fixed.
#include <cstddef>

#include "KovraEngine.h"

#if defined(__i386__)
static_assert(sizeof(void*) == 4);
static_assert(offsetof(TParentFilters, Found) == 0);
static_assert(offsetof(TParentFilters, Reserved1) == 4);
static_assert(offsetof(TParentFilters, HasRawScript) == 8);
static_assert(offsetof(TParentFilters, ParentUrl) == 12);
static_assert(offsetof(TParentFilters, ExUrl) == 16);
static_assert(offsetof(TParentFilters, Allow) == 20);
static_assert(offsetof(TParentFilters, Filter) == 1040);
static_assert(offsetof(TParentFilters, ScriptId) == 2060);
static_assert(sizeof(TParentFilters) == 2064);

static_assert(offsetof(TFilterCheck, Found) == 0);
static_assert(offsetof(TFilterCheck, Asked) == 4);
static_assert(offsetof(TFilterCheck, Reserved2) == 8);
static_assert(offsetof(TFilterCheck, ParentUrl) == 12);
static_assert(offsetof(TFilterCheck, ExUrl) == 16);
static_assert(offsetof(TFilterCheck, Allow) == 20);
static_assert(offsetof(TFilterCheck, Filter) == 24);
static_assert(offsetof(TFilterCheck, ScriptId) == 28);
static_assert(sizeof(TFilterCheck) == 32);

static_assert(offsetof(TRunRequest, RequestId) == 0);
static_assert(offsetof(TRunRequest, Reserved) == 4);
static_assert(offsetof(TRunRequest, PageUrl) == 20);
static_assert(sizeof(TRunRequest) == 24);

static_assert(offsetof(TRunInfo, NeedResult) == 0);
static_assert(offsetof(TRunInfo, ResultToNewPage) == 1);
static_assert(offsetof(TRunInfo, RequestId) == 4);
static_assert(offsetof(TRunInfo, ReportCode) == 24);
static_assert(offsetof(TRunInfo, ReportData) == 28);
static_assert(sizeof(TRunInfo) == 32);
#else
// Natural alignment: the same sequence, pointers of 8 bytes.
static_assert(offsetof(TParentFilters, ScriptId) > offsetof(TParentFilters, Filter));
static_assert(offsetof(TRunInfo, ReportData) > offsetof(TRunInfo, ReportCode));
#endif
