#pragma once

#include <QMetaObject>
#include <QObject>
#include <utility>

#if defined(__SANITIZE_THREAD__)
#define TALVEX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TALVEX_THREAD_SANITIZER 1
#endif
#endif
#ifdef TALVEX_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace CrossThreadCall {

#ifdef TALVEX_THREAD_SANITIZER
inline void release(const void* key)
{
    __tsan_release(const_cast<void*>(key));
}
inline void acquire(const void* key)
{
    __tsan_acquire(const_cast<void*>(key));
}
#else
inline void release(const void*) {}
inline void acquire(const void*) {}
#endif

// The call as Qt's event queue carries it. Qt orders the steps of a queued call (the call object is
// made, posted, run on the other thread and destroyed on whichever thread lets go of it last) with its
// own locks and reference counts, inside its library; built without the thread sanitizer, that library
// shows the sanitizer none of it, which would report each hand-off as a race. This object tells it:
// made before it runs, run before it is destroyed, and (for a blocking call) run before the caller
// goes on. Its address is the key, since the copy inside Qt's call object never moves again.
template <typename F> class Handed
{
public:
    Handed(F call, const void* caller) : call_(std::move(call)), caller_(caller) {}
    Handed(Handed&& other) : call_(std::move(other.call_)), caller_(other.caller_) { release(this); }
    Handed(const Handed&) = delete;
    Handed& operator=(const Handed&) = delete;
    Handed& operator=(Handed&&) = delete;
    ~Handed() { acquire(this); }

    void operator()()
    {
        acquire(this);
        call_();
        release(this);
        if (caller_)
            release(caller_);
    }

private:
    F call_;
    const void* caller_; // what a blocked caller waits on (null for a call it does not wait for)
};

} // namespace CrossThreadCall

// QMetaObject::invokeMethod(context, call, type) for a call from one thread to another (a device worker
// handing a result, progress or bytes to the GUI thread), in an order the thread sanitizer can follow
// although Qt's library is not built with it. Without the sanitizer it is invokeMethod and nothing more.
template <typename F>
void invokeAcrossThreads(QObject* context, F call, Qt::ConnectionType type = Qt::AutoConnection)
{
    const char blocked = 0; // the key of a blocking call's return
    const bool blocking = type == Qt::BlockingQueuedConnection;
    QMetaObject::invokeMethod(
        context, CrossThreadCall::Handed<F>(std::move(call), blocking ? &blocked : nullptr), type);
    if (blocking)
        CrossThreadCall::acquire(&blocked);
}
