#ifndef QC_EXPORT_H
#define QC_EXPORT_H

// Marks the classes and functions that make up a library's binary interface. Everything else
// is hidden (the libraries are built with hidden visibility).
#define QC_EXPORT __attribute__((visibility("default")))

#endif
