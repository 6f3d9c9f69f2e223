#pragma once
// Runs kelvane-sim as a separate program and reads what it prints.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <fstream>
#include "JsonText.h"
#include <sstream>
#include <string>
#include <vector>

namespace kelvane::testing {

struct SimResult {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
    nlohmann::json Json() const { return ParseJson(Out); }
};

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') quoted += "'\\''";
        else quoted += c;
    }
    return quoted + "'";
}

inline std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs a program with the arguments; standard output and error are captured. The
// player's XDG data and cache folders point into workDir (where nothing is kept unless a
// test puts it there), so the tests never see the ships of whoever runs them;
// `environment` ("NAME=value" entries, or "-u NAME" to unset one) may set them, or
// others, otherwise.
inline SimResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workDir, const std::vector<std::string>& environment = {}) {
    // env takes what it unsets before what it sets.
    std::string command = "env";
    for (const std::string& variable : environment)
        if (variable.rfind("-u ", 0) == 0) command += " -u " + ShellQuote(variable.substr(3));
    command += ' ' + ShellQuote("XDG_DATA_HOME=" + workDir + "/xdg-data") + ' ' +
               ShellQuote("XDG_CACHE_HOME=" + workDir + "/xdg-cache");
    for (const std::string& variable : environment)
        if (variable.rfind("-u ", 0) != 0) command += ' ' + ShellQuote(variable);
    command += ' ' + ShellQuote(program);
    for (const std::string& argument : arguments) {
        command += ' ';
        command += ShellQuote(argument);
    }
    const std::string errFile = workDir + "/program-stderr.txt";
    command += " 2>";
    command += ShellQuote(errFile);
    SimResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 65536> buffer;
    size_t read = 0;
    while ((read = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.Out.append(buffer.data(), read);
    const int status = pclose(pipe);
    result.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.Err = ReadText(errFile);
    return result;
}

// kelvane-sim, as RunProgram runs it.
inline SimResult RunSim(const std::vector<std::string>& arguments, const std::string& workDir,
                        const std::vector<std::string>& environment = {}) {
    return RunProgram(KELVANE_SIM, arguments, workDir, environment);
}

inline std::string Scenario(const std::string& name) { return std::string(KELVANE_SCENARIOS) + "/" + name; }

}  // namespace kelvane::testing
