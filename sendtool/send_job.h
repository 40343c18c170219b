// prnfeed's run: banner, options, script file, the library and the port, in
// nested steps whose closing steps always run.
#pragma once

namespace sendtool {

// The whole program; returns the exit code.
int runPrnfeed(int argc, char** argv);

} // namespace sendtool
