#ifndef QSTD_ASSERT_H
#define QSTD_ASSERT_H

// The system support library's one header, with an export mark of its own: the library
// depends on no other.
#define QSTD_EXPORT __attribute__((visibility("default")))

// The assertion hook. The library calls qstd_assert_ with a fixed number when an internal
// consistency test fails, then goes on (every such place stays within its arrays afterwards).
// The default handler writes one line naming the number to standard error and returns; a
// handler may also throw to stop the operation.
using qstdAssertHandler = void (*)(int line);

QSTD_EXPORT void qstd_assert_(int line);

// Installs a handler; nullptr restores the default one. Returns the previous handler.
QSTD_EXPORT qstdAssertHandler qstd_set_assert_handler(qstdAssertHandler handler) noexcept;

#endif
