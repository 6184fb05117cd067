#pragma once
// The routines that the orderly end runs before the process goes away. A
// fatal error empties the list without running it, so a routine here must be
// safe to skip.

using ExitRoutine = void (*)();

// Appends the routine unless it is listed already, so each runs at most once.
void AddExitRoutine(ExitRoutine routine);

// Runs the routines in the order they were added, then leaves the list empty.
void RunExitRoutines();

// Empties the list without running anything.
void ClearExitRoutines();
