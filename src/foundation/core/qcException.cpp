#include "qcException.h"

qcPersistent::~qcPersistent() = default;
void qcPersistent::reInit() {}
void qcPersistent::loadSimple(qcArchive&) {}
void qcPersistent::dispatchSerialize(qcArchive&) {}

const char* qcException::what() const noexcept { return "qcException"; }
const char* qcInvariantFailure::what() const noexcept { return "qcInvariantFailure"; }
const char* qcAttentionAbort::what() const noexcept { return "qcAttentionAbort"; }
