// The framework's entry, for the platform's process entry point.
#pragma once

// Names the application after its executable and runs its initialisation; the process's exit code.
int AfxWinMain();
