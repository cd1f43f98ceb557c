// Runs one of our command-line tools and captures what it printed.
#pragma once

#include "tests/TempFolder.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace brakkon::test {

struct ToolRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

inline std::string ShellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

/// Runs `tool` with `args` through the shell; stderr is captured in a file.
inline ToolRun RunTool(const std::string& tool, const std::vector<std::string>& args)
{
    const TempFolder folder("brakkon-stderr");
    const std::string errPath = (folder / "stderr").string();
    std::string command = ShellQuote(tool);
    for (const auto& a : args) command += " " + ShellQuote(a);
    command += " 2>" + ShellQuote(errPath);

    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 65536> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.Out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath, std::ios::binary);
    std::ostringstream text;
    text << err.rdbuf();
    run.Err = text.str();
    return run;
}

} // namespace brakkon::test
