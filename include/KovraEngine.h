/*
 * KovraEngine: the public interface of libKovraEngine.so for host programs.
 *
 * Host strings. Text arguments are 8-bit texts in the engine's code page
 * (936 unless KOVRA_CODEPAGE names another). A host string is a pointer to
 * the first byte of a NUL-terminated text; the 4 bytes before it hold its
 * length in bytes as int32_t, the 4 bytes before those a reference count.
 * The null pointer is the empty text. A text may contain NUL bytes: the
 * length counts, not the terminator.
 *
 * Strings the engine hands out are one malloc() block laid out as
 *   [int32_t refcount = 1][int32_t length][bytes][NUL]
 * and belong to the host afterwards; release one with KovraFreeHostString()
 * (that is, free((char*)p - 8)). An output argument is a pointer to the
 * host's string variable, which the host passes empty (null); the engine
 * stores a new string there, or leaves it null for an empty result. A
 * previous value is overwritten, not released.
 *
 * Every export runs synchronously on the calling thread and never lets an
 * exception or a crash of the script escape: failures come back as texts.
 *
 * Windows. ViewEditor, and isInFilters when it asks, show Qt windows: the
 * host's QApplication if it has one, else one the engine creates on the
 * calling thread when the first window is needed, but only when a display
 * can be reached (DISPLAY or WAYLAND_DISPLAY, or QT_QPA_PLATFORM set);
 * without one nothing is shown (ViewEditor does nothing, isInFilters answers
 * -1 where it would ask, msg in scripts answers 0). The intercept dialog and
 * the message boxes are modal and run their own event loop, so exports may
 * be entered again while one is open. The script manager windows are
 * modeless: they respond only while the host runs a Qt or GLib event loop on
 * the thread that calls the exports, and while windows exist only that
 * thread may call the exports. The one exception is a script's msg box in
 * ScriptDeData run on a worker thread: it is shown on the host's
 * QApplication thread and waits for that thread's event loop (with the
 * engine's own QApplication it answers 0 there).
 *
 * Stopping a run. A host program may export (from its own executable, e.g.
 * with -Wl,--export-dynamic-symbol) the function
 *   int32_t KovraHostStopRequested(void);
 * The engine looks it up once when it is loaded; script runs then ask it
 * between statements and end with the error text "脚本已被中止" once it
 * answers non-zero. It may be called from the thread running the script.
 */
#ifndef KOVRA_ENGINE_H
#define KOVRA_ENGINE_H

#include <stdint.h>
#include <stdlib.h>

#if defined(__i386__)
#define KOVRA_STDCALL __attribute__((stdcall))
#define KOVRA_REGCALL __attribute__((regparm(3)))
#else
#define KOVRA_STDCALL
#define KOVRA_REGCALL
#endif

#if defined(KOVRA_BUILDING_ENGINE)
#define KOVRA_API __attribute__((visibility("default")))
#else
#define KOVRA_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Length in bytes of a host string (0 for null). */
static inline int32_t KovraHostStringLength(const char* s) {
  return s ? ((const int32_t*)(const void*)s)[-1] : 0;
}

/* Releases a host string handed out by the engine (null is allowed). */
static inline void KovraFreeHostString(char* s) {
  if (s) free(s - 8);
}

/* ---- Records ------------------------------------------------------------
 * The field sequence is binding. On 32-bit x86 the offsets are those noted
 * (static_asserts in the engine pin them); on x86-64 the same sequence is
 * laid out with natural alignment. */

/* The rules that apply below a page, filled by GetFiltersFromParentUrl.
 * The engine writes only the fields named, and only when a script covers the
 * page; strings it writes are host strings the host owns afterwards. */
typedef struct TParentFilters {
  int32_t Found;          /*    0: -1 when a script covers ParentUrl */
  int32_t Reserved1;      /*    4: not touched */
  int32_t HasRawScript;   /*    8: -1 when the script text is not in header form */
  const char* ParentUrl;  /*   12: input: the page's address (host string) */
  char* ExUrl;            /*   16: the [ExUrl] rule, blanks removed, lower case */
  char* Allow[255];       /*   20: [Allow] patterns; Allow[0] is entry 1; at most 254 written */
  char* Filter[255];      /* 1040: [Filter] patterns, likewise */
  uint32_t ScriptId;      /* 2060: ID of the covering script */
} TParentFilters;         /* 2064 bytes on 32-bit x86 */

/* The rules isInFilters applies. Allow and Filter are counted lists: a
 * pointer to the first of n host strings, n as int32_t in the 4 bytes before
 * it; null is the empty list. */
typedef struct TFilterCheck {
  int32_t Found;              /*  0: non-zero: the rules come from a script */
  int32_t Asked;              /*  4: output: -1 when the user was asked */
  int32_t Reserved2;          /*  8: not read */
  const char* ParentUrl;      /* 12: the page that starts the navigation */
  const char* ExUrl;          /* 16: the [ExUrl] value */
  const char* const* Allow;   /* 20: allow patterns */
  const char* const* Filter;  /* 24: filter patterns */
  uint32_t ScriptId;          /* 28: the rules' script; may be overwritten */
} TFilterCheck;               /* 32 bytes on 32-bit x86 */

/* One page run requested by the host. */
typedef struct TRunRequest {
  uint32_t RequestId;     /*  0: handed back with the report */
  uint8_t Reserved[16];   /*  4: not read */
  const char* PageUrl;    /* 20: the page address, NUL-terminated */
} TRunRequest;            /* 24 bytes on 32-bit x86 */

typedef void(KOVRA_REGCALL* KovraReportCallback)(void* data, const char* report,
                                                 uint32_t request_id);

/* The run options, handed to the options callback; the host may store a
 * report callback in ReportCode / ReportData while handling it. */
typedef struct TRunInfo {
  uint8_t NeedResult;              /*  0: 0 or 1 */
  uint8_t ResultToNewPage;         /*  1: 0 or 1 */
  uint8_t Reserved1[2];            /*  2 */
  uint32_t RequestId;              /*  4 */
  uint8_t Reserved2[16];           /*  8 */
  KovraReportCallback ReportCode;  /* 24: the report callback, or null */
  void* ReportData;                /* 28 */
} TRunInfo;                        /* 32 bytes on 32-bit x86 */

typedef void(KOVRA_REGCALL* KovraOptionsCallback)(void* data, TRunInfo* info);

/* A callback counts as present when its code pointer is at least 0x10000. */
#define KOVRA_CALLBACK_THRESHOLD 0x10000u

/* ---- Exports ------------------------------------------------------------- */

/*
 * Runs one script text over one data text. The data becomes the script's
 * "result" variable; *result receives the final value of "result", or the
 * text of the last error when a statement failed (message, CR LF,
 * "语句开始位置：" and the position). A script without a body returns the
 * data unchanged.
 */
KOVRA_API void KOVRA_STDCALL ScriptDeData(char** result, const char* script, const char* data);

/* Navigation from rec->ParentUrl to url: 0 allow, -1 filter. With ask
 * non-zero an undecided jump to another site is put to the user (when no
 * display exists the answer is -1 and rec->Asked is set). */
KOVRA_API int32_t KOVRA_STDCALL isInFilters(const char* url, TFilterCheck* rec, int32_t ask);

/* -1 when the address matches an entry of the black list, else 0. */
KOVRA_API int32_t KOVRA_STDCALL isInBlacklist(const char* url);

/* *p receives the address's main domain as a NUL-terminated text the engine
 * keeps for the life of the process (equal domains share one text), or the
 * constant "error" when there is none. Neither is to be written or freed. */
KOVRA_API void KOVRA_STDCALL SafeDeDomain(const char** p, const char* url);

/* Fills rec with the rules of the first script whose URL-match entries cover
 * rec->ParentUrl; leaves it untouched when none does. */
KOVRA_API void KOVRA_STDCALL GetFiltersFromParentUrl(TParentFilters* rec);

/* Shows the script manager window for the page (a new one for a new
 * script when script_id is 0). Does nothing when no display exists. */
KOVRA_API void KOVRA_STDCALL ViewEditor(const char* url, int32_t script_id);

/* *name receives the header name of the script that serves the page, or is
 * left null. */
KOVRA_API void KOVRA_STDCALL GetAutoScript_Name(char** name, const char* url);

/* Runs the named library script for request->PageUrl: calls the options
 * callback with the script's options, runs the script, and hands its result
 * followed by an HTML finish line to the report callback the options
 * callback installed. Nothing happens for a null request. */
KOVRA_API void KOVRA_STDCALL RunScript(const char* name, const TRunRequest* request,
                                       KovraOptionsCallback options_code, void* options_data);

#ifdef __cplusplus
}
#endif

#endif /* KOVRA_ENGINE_H */
