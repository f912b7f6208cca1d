#pragma once
#include <functional>

namespace qeltest {

// Dispatches this thread's window messages for the given time (windows, timers and graph
// notifications posted to our windows need a pump in a test).
void PumpMessagesFor(unsigned milliseconds);

// Pumps until done() is true or the time runs out; returns done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, unsigned timeoutMilliseconds);

} // namespace qeltest
