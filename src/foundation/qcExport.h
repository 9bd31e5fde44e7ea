#ifndef QC_EXPORT_H
#define QC_EXPORT_H

// Marks the classes and functions that make up the library's binary interface.
// Everything else is hidden (the library is built with hidden visibility).
#if defined(_WIN32)
#  if defined(QCGRAPH_BUILDING)
#    define QC_EXPORT __declspec(dllexport)
#  else
#    define QC_EXPORT __declspec(dllimport)
#  endif
#else
#  define QC_EXPORT __attribute__((visibility("default")))
#endif

#endif
