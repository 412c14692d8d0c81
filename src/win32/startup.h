#pragma once
// The program's start-up, in its fixed order, up to the end of the message loop.
namespace qm {

// Gives the process exit code.
int RunQuillmere();

}  // namespace qm
