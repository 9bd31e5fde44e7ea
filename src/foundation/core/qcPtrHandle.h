#ifndef QC_PTR_HANDLE_H
#define QC_PTR_HANDLE_H

#include <cstdint>
#include <utility>

#include "qcExport.h"

// Base of every object that qcPtrHandle shares: it holds the reference count. A new object
// starts at 0; the first handle bound to it makes it 1.
class QC_EXPORT qcRepBase {
public:
    qcRepBase() noexcept = default;
    // A copy is a new object: it does not take over the count of its source.
    qcRepBase(const qcRepBase&) noexcept {}
    qcRepBase& operator=(const qcRepBase&) noexcept { return *this; }
    virtual ~qcRepBase();

    std::int32_t refCount() const noexcept;

private:
    friend class qc_PtrHandleBase_RepAccessor;
    mutable std::int32_t mCount = 0;
};

// The counting steps of the handles. addRef reports 63 and release 61 to the assertion hook
// when given no object, and then do nothing. release deletes the object, through its virtual
// destructor, when its count drops to zero.
class QC_EXPORT qc_PtrHandleBase_RepAccessor {
public:
    static void addRef(const qcRepBase* rep);
    static void release(const qcRepBase* rep);
};

// Shared, counted ownership of a heap object derived from qcRepBase. Rebinding a handle to the
// object it already holds changes nothing; a null handle holds no count.
template <class T>
class qcPtrHandleBase_const {
public:
    qcPtrHandleBase_const() noexcept = default;
    explicit qcPtrHandleBase_const(T* object) noexcept : mObject(object) { bind(); }
    qcPtrHandleBase_const(const qcPtrHandleBase_const& other) noexcept : mObject(other.mObject)
    {
        bind();
    }
    qcPtrHandleBase_const(qcPtrHandleBase_const&& other) noexcept
        : mObject(std::exchange(other.mObject, nullptr)) {}
    ~qcPtrHandleBase_const() { unbind(); }

    qcPtrHandleBase_const& operator=(const qcPtrHandleBase_const& other)
    {
        reset(other.mObject);
        return *this;
    }
    qcPtrHandleBase_const& operator=(qcPtrHandleBase_const&& other)
    {
        if (this != &other) {
            unbind();
            mObject = std::exchange(other.mObject, nullptr);
        }
        return *this;
    }

    // Binds the handle to object (nullptr: releases it).
    void reset(T* object = nullptr)
    {
        if (object == mObject)
            return;
        T* old = mObject;
        mObject = object;
        bind();
        if (old)
            qc_PtrHandleBase_RepAccessor::release(old);
    }

    const T* get() const noexcept { return mObject; }
    const T& operator*() const noexcept { return *mObject; }
    const T* operator->() const noexcept { return mObject; }
    explicit operator bool() const noexcept { return mObject != nullptr; }

protected:
    T* object() const noexcept { return mObject; }

private:
    void bind() noexcept
    {
        if (mObject)
            qc_PtrHandleBase_RepAccessor::addRef(mObject);
    }
    void unbind()
    {
        if (mObject)
            qc_PtrHandleBase_RepAccessor::release(std::exchange(mObject, nullptr));
    }

    T* mObject = nullptr;
};

// The same handle with non-const access to the object.
template <class T>
class qcPtrHandleBase : public qcPtrHandleBase_const<T> {
public:
    using qcPtrHandleBase_const<T>::qcPtrHandleBase_const;

    T* get() const noexcept { return this->object(); }
    T& operator*() const noexcept { return *this->object(); }
    T* operator->() const noexcept { return this->object(); }
};

template <class T>
class qcPtrHandle : public qcPtrHandleBase<T> {
public:
    using qcPtrHandleBase<T>::qcPtrHandleBase;

    // A handle to a derived object converts to a handle to its base, sharing the count.
    template <class U>
    qcPtrHandle(const qcPtrHandle<U>& other) noexcept : qcPtrHandleBase<T>(other.get()) {}
};

#endif
