// Plays prnfeed for the spool tests: appends the script (first operand) to
// the file named as target (second operand), one byte at a time, and notes
// in the target when another copy of it was still running for the same
// target.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) return 1;
    const std::string target = argv[2];
    const std::string busy = target + ".busy";
    std::FILE* lock = std::fopen(busy.c_str(), "wx");
    std::ofstream out(target, std::ios::binary | std::ios::app);
    if (!lock) {
        out << "OVERLAP\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    for (std::istreambuf_iterator<char> it(in), end; it != end; ++it)
        out.put(*it).flush();
    out.close();
    std::fclose(lock);
    std::remove(busy.c_str());
    return 0;
}
