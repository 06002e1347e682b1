#pragma once

#include <windows.h>

#include <functional>

// Message loops for tests: each message is offered to the framework's
// pre-translation first, as in the program's own modal loop.

// Handles every message that is waiting now.
void PumpPending();
// Handles messages until done() answers true or timeoutMs has passed;
// returns done()'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// Handles messages for ms milliseconds.
void PumpFor(DWORD ms);
