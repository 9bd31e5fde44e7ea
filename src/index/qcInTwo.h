#ifndef QC_IN_TWO_H
#define QC_IN_TWO_H

#include <exception>
#include <system_error>
#include <thread>

// Runs work(1) on a second thread, if the machine has one, and work(0) on this one; rethrows
// what either threw once both are done. Only work(0) may call qcAttention::check(), so that
// the application's check runs on the thread that called.
template <class Work>
void qfInTwo(Work&& work)
{
    static const bool twoCores = std::thread::hardware_concurrency() > 1;
    std::exception_ptr failed;
    std::thread second;
    if (twoCores) {
        try {
            second = std::thread([&work, &failed] {
                try {
                    work(1);
                } catch (...) {
                    failed = std::current_exception();
                }
            });
        } catch (const std::system_error&) {  // no thread to be had: one after the other
        }
    }
    std::exception_ptr own;
    try {
        work(0);
        if (!second.joinable())
            work(1);
    } catch (...) {
        own = std::current_exception();
    }
    if (second.joinable())
        second.join();
    if (own)
        std::rethrow_exception(own);
    if (failed)
        std::rethrow_exception(failed);
}

#endif
