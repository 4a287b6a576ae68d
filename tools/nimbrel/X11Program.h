#pragma once

namespace nimbrel::x11 {

// The process on an X display: the toolkit, the platform over its connection and the program,
// until the program quits or the session ends it with a signal. The answer is the exit status.
int runProgram(int argc, char** argv);

}  // namespace nimbrel::x11
