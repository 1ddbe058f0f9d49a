#ifndef TSANSYNC_H
#define TSANSYNC_H

// ThreadSanitizer cannot see inside Qt, which is not built with it: Qt's mutex, its wait
// conditions and QThread::wait() make no happens-before edge that the sanitizer knows of, so the
// data they hand over would be taken for races. The hand-overs of our own threads name themselves
// here: release on the giving side, acquire on the taking side. Without the sanitizer these are
// empty.
#if defined(__SANITIZE_THREAD__)
#define TOUCHTUNER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TOUCHTUNER_TSAN 1
#endif
#endif

#ifdef TOUCHTUNER_TSAN
#include <sanitizer/tsan_interface.h>
#endif

#include <QtGlobal>

namespace tsansync
{
inline void release(const void *address)
{
#ifdef TOUCHTUNER_TSAN
    __tsan_release(const_cast<void *>(address));
#else
    (void)address;
#endif
}

inline void acquire(const void *address)
{
#ifdef TOUCHTUNER_TSAN
    __tsan_acquire(const_cast<void *>(address));
#else
    (void)address;
#endif
}

// Qt 6's QMutex tells the sanitizer of its own locks and unlocks (its header is compiled with
// ours), but QWaitCondition::wait(), compiled without the sanitizer, gives the mutex up and takes
// it back unseen; a wait on a condition names both around it. Qt 5's mutex tells nothing.
inline void waitGivesUp(void *mutex)
{
#if defined(TOUCHTUNER_TSAN) && QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    __tsan_mutex_pre_unlock(mutex, 0);
    __tsan_mutex_post_unlock(mutex, 0);
#else
    (void)mutex;
#endif
}

inline void waitTakesBack(void *mutex)
{
#if defined(TOUCHTUNER_TSAN) && QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    __tsan_mutex_pre_lock(mutex, 0);
    __tsan_mutex_post_lock(mutex, 0, 0);
#else
    (void)mutex;
#endif
}
} // namespace tsansync

#endif // TSANSYNC_H
