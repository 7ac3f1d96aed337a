#ifndef SDKCORE_EXPORT_H_
#define SDKCORE_EXPORT_H_

// SDKCORE_EXPORT marks a declaration of the library's public interface, C and C++ alike. The
// library is compiled with hidden visibility, so only what carries this mark is visible to hosts
// of the shared library; in the static library the mark changes nothing.
#if defined(__GNUC__) || defined(__clang__)
#define SDKCORE_EXPORT __attribute__((visibility("default")))
#else
#define SDKCORE_EXPORT
#endif

#endif  // SDKCORE_EXPORT_H_
