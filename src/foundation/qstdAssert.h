#ifndef QSTD_ASSERT_H
#define QSTD_ASSERT_H

#include "qcExport.h"

// The assertion hook. The library calls qstd_assert_ with a fixed number when an internal
// consistency test fails, then goes on (every such place stays within its arrays afterwards).
// The default handler writes one line naming the number to standard error and returns; a
// handler may also throw to stop the operation.
using qstdAssertHandler = void (*)(int line);

QC_EXPORT void qstd_assert_(int line);

// Installs a handler; nullptr restores the default one. Returns the previous handler.
QC_EXPORT qstdAssertHandler qstd_set_assert_handler(qstdAssertHandler handler) noexcept;

#endif
