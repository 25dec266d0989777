#pragma once
// The process's pseudo-random generator and the two waits.
#include <cstdint>

int nextrandom(int n);                 // 0 .. n - 1; the state starts at 1234 in every process
uint16_t randomstate();                // for tests and diagnostics
void setrandomstate(uint16_t state);
uint16_t nextrandomstate(uint16_t state);   // one step of the generator, without side effects

void precisedelay(int milliseconds);   // busy-waits on the performance counter
void pumpwait(int milliseconds);       // dispatches the thread's messages while it waits
