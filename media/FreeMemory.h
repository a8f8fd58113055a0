#pragma once
// Gives the memory the program has freed back to the system where the C
// library keeps it for later (glibc's heap); elsewhere it does nothing.
void ReturnFreedMemory();
