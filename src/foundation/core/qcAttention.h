#ifndef QC_ATTENTION_H
#define QC_ATTENTION_H

#include "qcExport.h"

// The cooperative abort check. Long operations call check() at fixed intervals; any thread may
// raise a process-wide abort request, and while it is raised check() throws qcAttentionAbort on
// the thread doing the work. The request stays raised until clearAbort().
class QC_EXPORT qcAttention {
public:
    using Hook = void (*)();

    // Calls the installed hook (if any), then throws qcAttentionAbort if an abort is requested.
    // Whatever the hook throws passes to the caller.
    static void check();

    static void requestAbort() noexcept;
    static void clearAbort() noexcept;
    static bool abortRequested() noexcept;

    // Installs a function that every check() calls first; nullptr removes it. Returns the
    // previous hook. Meant for tests and for progress reporting.
    static Hook setHook(Hook hook) noexcept;
};

#endif
