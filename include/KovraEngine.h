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

/*
 * Runs one script text over one data text. The data becomes the script's
 * "result" variable; *result receives the final value of "result", or the
 * text of the last error when a statement failed (message, CR LF,
 * "语句开始位置：" and the position). A script without a body returns the
 * data unchanged.
 */
KOVRA_API void KOVRA_STDCALL ScriptDeData(char** result, const char* script, const char* data);

#ifdef __cplusplus
}
#endif

#endif /* KOVRA_ENGINE_H */
