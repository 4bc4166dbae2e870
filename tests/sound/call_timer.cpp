// Preloaded into the real game: times each play, loop and stop the window asks for and appends a line
// "name start-µs wall-µs cpu-µs sleeps" to the file named by QUOLVET_CALL_LOG, the start on
// CLOCK_MONOTONIC. `sleeps` counts the times the call put the thread to sleep (on a lock, a
// condition, a device): with the CPU time it tells a call that worked or waited long from one
// that a busy machine merely preempted.

#include <dlfcn.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long microseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

void timed(const char* name, int handle) {
    static FILE* const log = std::fopen(std::getenv("QUOLVET_CALL_LOG"), "a");
    const auto real = reinterpret_cast<void (*)(int)>(dlsym(RTLD_NEXT, name));
    rusage before{}, after{};
    getrusage(RUSAGE_THREAD, &before);
    const long long cpu = microseconds(CLOCK_THREAD_CPUTIME_ID), start = microseconds(CLOCK_MONOTONIC);
    real(handle);
    const long long wall = microseconds(CLOCK_MONOTONIC) - start;
    getrusage(RUSAGE_THREAD, &after);
    if (log) std::fprintf(log, "%s %lld %lld %lld %ld\n", name, start, wall, microseconds(CLOCK_THREAD_CPUTIME_ID) - cpu,
                          after.ru_nvcsw - before.ru_nvcsw), std::fflush(log);
}

}  // namespace

extern "C" void dsPlay(int sound) { timed("dsPlay", sound); }
extern "C" void dsPlayLooping(int sound) { timed("dsPlayLooping", sound); }
extern "C" void dsStop(int sound) { timed("dsStop", sound); }
