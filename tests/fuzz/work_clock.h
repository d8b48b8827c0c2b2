#pragma once
// The processor time of the calling thread, in seconds: a step of play is judged by
// the work it made, not by how busy the machine was while it ran.

#include <ctime>

namespace QuillmereFuzz {

inline double WorkSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace QuillmereFuzz
