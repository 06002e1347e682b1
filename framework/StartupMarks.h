#pragma once

// Where a program's start goes, phase by phase, for a benchmark. With the
// environment variable ORLIM_STARTUP_MARKS naming a file, each mark notes
// its phase and its time since the process was created, and Done writes the
// notes there ("phase milliseconds" lines), once. Without it (as players run
// the program), a mark tests a flag read once and does nothing else.
namespace StartupMarks
{

// lpszPhase: a name that lives as long as the program (a literal).
void Mark(const char* lpszPhase) noexcept;
void Done() noexcept;

} // namespace StartupMarks
