#ifndef QC_CON_STREAM_H
#define QC_CON_STREAM_H

#include <ostream>

#include "qcExport.h"

// The process-wide console trace stream: a wide output stream that by default writes its text
// as UTF-8 to standard output through the narrow C stream, so the orientation of stdout stays
// as it was and narrow output of the same program keeps working. Redirect it with
// qfNoxOut().rdbuf(other). It takes no lock; callers that trace from several threads at once
// must serialise their writes.
class QC_EXPORT qcConStream : public std::wostream {
public:
    qcConStream();
    ~qcConStream() override;

    qcConStream(const qcConStream&) = delete;
    qcConStream& operator=(const qcConStream&) = delete;
};

QC_EXPORT qcConStream& qfNoxOut();

#endif
