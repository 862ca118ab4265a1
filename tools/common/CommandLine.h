#pragma once
// The command line of a disc tool: its own options, --help, and a fixed number of positional
// arguments.
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace tools {

// ownOption(a, i) takes an option of the tool (moving i past a value it reads) and is false for any
// other. --help or -h prints the usage and ends with 0; an unknown option, or other than `count`
// positional arguments, print it to the error stream and end with 2. The exit code, or nothing to go on.
inline std::optional<int> ReadCommandLine(
    int argc, char** argv, const char* tool, const char* usage, size_t count,
    std::vector<std::string>& positional,
    const std::function<bool(const std::string& a, int& i)>& ownOption) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (ownOption(a, i)) continue;
        if (a == "--help" || a == "-h") {
            std::cout << usage;
            return 0;
        }
        if (!a.empty() && a[0] == '-') {
            std::cerr << tool << ": unknown option " << a << "\n" << usage;
            return 2;
        }
        positional.push_back(a);
    }
    if (positional.size() != count) {
        std::cerr << usage;
        return 2;
    }
    return std::nullopt;
}

}  // namespace tools
