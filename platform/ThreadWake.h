#pragma once
// Wakes a thread out of a blocking system call that nothing else can end
// (a modem-line wait, for one): the call fails with EINTR. The wake is a
// real-time signal that no other handler uses, with a handler that does
// nothing and no SA_RESTART.

#include <thread>

// Installs the handler on first use; false when every real-time signal
// already has a handler, so no thread can be woken.
bool ThreadWakeAvailable();
// Lets the calling thread be woken, whatever signal mask it inherited.
void AcceptWakes();
// A wake that comes before the thread enters its call is lost: the caller
// repeats it until the thread has answered.
void WakeThread(std::thread& Thread);
