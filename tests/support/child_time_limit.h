#pragma once
// Limits for a child process that a test runs work in: it is ended once its thread
// has worked its time, however long a busy machine makes that take, or once it has
// run ten times as long of the clock, stuck waiting for something; and it ends
// with its parent.

#include <string>

namespace QuillmereTest {

// In the child, before the work.
void LimitChildTime(unsigned seconds);

// What ended a child that a signal ended: the limit it passed, or the signal.
std::string ChildEndedBy(int signal, unsigned seconds);

}  // namespace QuillmereTest
