// Plays prnfeed for the spool tests: appends the script (first operand) to
// the file named as target (second operand), one byte at a time, and notes
// in the target when another copy of it was still running for the same
// target. It also plays a printer that is off and a prnfeed that hangs:
//   - while a file "<target>.off" exists it sends nothing and exits with 13;
//   - a script that starts with "HANG" never ends ("HANG-STUBBORN" does not
//     even end on SIGTERM).
// Every run appends the script's first line to "<target>.runs".
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/file.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 3) return 1;
    const std::string target = argv[2];
    std::ifstream in(argv[1], std::ios::binary);
    const std::string script{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::ofstream(target + ".runs", std::ios::app) << script.substr(0, script.find('\n')) << "\n";

    // The lock goes with the process, however it ends.
    const int lock = ::open((target + ".lock").c_str(), O_CREAT | O_RDWR, 0600);
    std::ofstream out(target, std::ios::binary | std::ios::app);
    if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        out << "OVERLAP\n";
        return 2;
    }
    if (std::FILE* off = std::fopen((target + ".off").c_str(), "r")) {
        std::fclose(off);
        return 13;
    }
    if (script.rfind("HANG", 0) == 0) {
        if (script.rfind("HANG-STUBBORN", 0) == 0) std::signal(SIGTERM, SIG_IGN);
        for (;;)
            ::pause();
    }
    for (char c : script)
        out.put(c).flush();
    return 0;
}
