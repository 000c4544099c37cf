/// @file
/// Symbol visibility for the Kelvor shared library.
#ifndef KELVOR_EXPORT_H
#define KELVOR_EXPORT_H

/// @def KELVOR_API
/// The library is built with hidden visibility; only declarations marked
/// KELVOR_API are exported. A static library (KELVOR_STATIC, which its CMake
/// target and kelvor.pc pass to clients) and the static test twin need no
/// marking at all.
#if defined(KELVOR_STATIC_INTERNAL) || defined(KELVOR_STATIC)
#define KELVOR_API
#elif defined(_WIN32)
#if defined(KELVOR_BUILDING)
#define KELVOR_API __declspec(dllexport)
#else
#define KELVOR_API __declspec(dllimport)
#endif
#else
#define KELVOR_API __attribute__((visibility("default")))
#endif

/// @def KELVOR_INLINE_API
/// KELVOR_API for a function defined inline in a public header: exported by
/// the library, but never imported, as every client compiles it inline (a
/// DLL import of an inline definition means nothing on Windows).
#if defined(_WIN32) && !defined(KELVOR_BUILDING)
#define KELVOR_INLINE_API
#else
#define KELVOR_INLINE_API KELVOR_API
#endif

/// @def KELVOR_LOCAL
/// Marks a member of an exported class that stays inside the library (its
/// private state and helpers), so that only the declared interface is
/// exported.
#if defined(KELVOR_BUILDING) && !defined(_WIN32)
#define KELVOR_LOCAL __attribute__((visibility("hidden")))
#else
#define KELVOR_LOCAL
#endif

/// @def KELVOR_EMIT_INLINE
/// Marks a function defined inline in a public header that the library must
/// still emit and export, for callers that link against the symbol.
#if defined(KELVOR_BUILDING) && defined(__GNUC__)
#define KELVOR_EMIT_INLINE __attribute__((used))
#else
#define KELVOR_EMIT_INLINE
#endif

#endif  // KELVOR_EXPORT_H
