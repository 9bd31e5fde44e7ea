#ifndef QC_EXCEPTION_H
#define QC_EXCEPTION_H

#include <exception>

#include "qcPersistent.h"

// Base of every exception the library throws. It is also a std::exception, so code that only
// knows the standard hierarchy can still catch and report it.
class QC_EXPORT qcException : public qcPersistent, public std::exception {
public:
    const char* what() const noexcept override;
};

// Thrown, default-constructed and by value, when a caller breaks the precondition of a public
// operation. Nothing has changed when it is thrown (the operation's documentation names the
// few exceptions to that rule).
class QC_EXPORT qcInvariantFailure : public qcException {
public:
    const char* what() const noexcept override;
};

// Thrown by qcAttention::check() while an abort is requested.
class QC_EXPORT qcAttentionAbort : public qcException {
public:
    const char* what() const noexcept override;
};

#endif
