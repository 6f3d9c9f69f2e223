#include "check/ScriptCheck.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "check/Naming.h"
#include "check/TextEncoding.h"
#include "console/Commands.h"
#include "base/GamePaths.h"
#include "base/InputFile.h"
#include "world/TextUtil.h"

namespace kelvane::check {
namespace {

const std::vector<std::string> Keywords = {"CREATESHIP", "DELETESHIP", "YOURSHIP", "EXEC", "QUIT", "EXIT"};

struct Script {
    std::string Dir;  // its Scripts folder
    std::string Path;
    std::string Name;  // the file name
};

struct ExecCall {
    int Line;
    std::string Name;    // as the command has it
    std::string Target;  // the path it runs
};


// One spelling of a path, so the script EXEC finds and the script listed compare equal.
std::string Normal(const std::string& path) { return std::filesystem::path(path).lexically_normal().string(); }

// Blank-separated words as the console counts them (consecutive blanks give empty words).
size_t WordCount(std::string_view line) { return static_cast<size_t>(std::count(line.begin(), line.end(), ' ')) + 1; }

class ScriptJudge {
public:
    ScriptJudge(const ScriptFolders& folders, const std::vector<std::string>& shipNames,
                const std::vector<std::string>& scriptNames, Report& report)
        : folders_(folders), shipNames_(shipNames), scriptNames_(scriptNames), report_(report) {}

    // The EXEC calls of the script, for the loop search.
    std::vector<ExecCall> Judge(const Script& script, const std::string& text) {
        path_ = script.Path;
        calls_.clear();
        shipsCreated_ = 0;
        int number = 0;
        for (size_t start = 0; start < text.size();) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            if (number == MaxScriptLines) {
                // The game stops there: the lines after are never run, so they are not judged.
                report_.Warning(path_, number + 1,
                                "the game runs at most " + std::to_string(MaxScriptLines) +
                                    " script lines for one command, so this line and every one after it never run");
                break;
            }
            std::string line = text.substr(start, end - start);
            start = end + 1;
            PrepareScriptLine(line, ++number == 1);
            Line(number, line);
        }
        return calls_;
    }

private:
    void Line(int number, const std::string& line) {
        if (line.find_first_not_of(' ') == std::string::npos) return;  // skipped silently, as meant
        const CommandWords words = ParseCommandWords(line);
        const std::string& keyword = words[0];
        const std::string argument = CommandArgument(words);
        if (keyword.empty()) {
            report_.Warning(path_, number,
                            "the line starts with a blank: the console reads no command in it and ignores it");
            return;
        }
        if (WordCount(line) > CommandWordCount)
            report_.Warning(path_, number,
                            "the console reads only the first " + std::to_string(CommandWordCount) +
                                " words of a line (each blank ends one): the rest is ignored");
        if (keyword == "CREATESHIP" || keyword == "DELETESHIP" || keyword == "YOURSHIP") {
            Ship(number, keyword, argument);
        } else if (keyword == "EXEC") {
            Exec(number, argument);
        } else if (keyword != "QUIT" && keyword != "EXIT") {
            if (const std::optional<std::string> near = NearestName(keyword, Keywords))
                report_.Error(path_, number,
                              "unknown command " + Shown(keyword) + ": the console ignores the line; did you mean " +
                                  *near + "?");
            else
                report_.Warning(path_, number,
                                Shown(keyword) +
                                    " is no command: the console ignores the line (scripts have no "
                                    "comments)");
        }
    }

    bool BlankAfterKeyword(int number, const std::string& keyword, const std::string& argument) {
        if (argument.empty() || argument.front() != ' ') return false;
        report_.Error(
            path_, number,
            "more than one blank after " + keyword + ": the name then starts with a blank and matches nothing");
        return true;
    }

    void Ship(int number, const std::string& keyword, const std::string& argument) {
        if (argument.empty()) {
            if (keyword != "YOURSHIP") report_.Warning(path_, number, keyword + " without a name does nothing");
            return;
        }
        if (BlankAfterKeyword(number, keyword, argument)) return;
        const bool named = std::any_of(shipNames_.begin(), shipNames_.end(),
                                       [&](const std::string& name) { return UpperCaseText(name) == argument; });
        if (!named) {
            const std::optional<std::string> near = NearestName(argument, shipNames_);
            report_.Error(path_, number,
                          keyword + " " + Shown(argument) + ": no ship type has that name" +
                              (near ? "; did you mean " + *near + "?" : ""));
            return;
        }
        if (keyword == "DELETESHIP" && shipsCreated_ > 0) --shipsCreated_;
        if (keyword == "CREATESHIP" && ++shipsCreated_ > MaxShipsInPlay)
            report_.Note(path_, number,
                         "ship number " + std::to_string(shipsCreated_) + " of this script: at most " +
                             std::to_string(MaxShipsInPlay) +
                             " ships are in play at once, so the game refuses it with its message");
    }

    void Exec(int number, const std::string& argument) {
        if (argument.empty()) {
            report_.Warning(path_, number, "EXEC without a name does nothing");
            return;
        }
        if (BlankAfterKeyword(number, "EXEC", argument)) return;
        if (!IsScriptName(argument)) {
            report_.Error(path_, number,
                          "EXEC " + Shown(argument) +
                              ": a script name holds no / or \\ and is not . or .. "
                              "(scripts come only from the Scripts folders), so this runs nothing");
            return;
        }
        const std::optional<std::string> target = FindConsoleScript(folders_.GameDir, folders_.PlayerDir, argument);
        if (!target) {
            const std::optional<std::string> near = NearestName(argument, scriptNames_);
            report_.Error(path_, number,
                          "EXEC " + Shown(argument) + ": there is no such script" +
                              (near ? "; did you mean " + *near + "?" : ""));
            return;
        }
        calls_.push_back({number, argument, Normal(*target)});
    }

    const ScriptFolders& folders_;
    const std::vector<std::string>& shipNames_;
    const std::vector<std::string>& scriptNames_;
    Report& report_;
    std::string path_;
    std::vector<ExecCall> calls_;
    int shipsCreated_ = 0;
};

// The file names a script folder holds, each with its path; what cannot be read of the
// folder is reported.
std::vector<Script> ScriptsIn(const std::string& dir, Report& report) {
    const FolderListing folder = ListFolder(dir, "");
    if (!folder.Problem.empty())
        report.Error(dir, 0, "the folder cannot be read (" + folder.Problem + "): EXEC finds no script in it");
    for (const FolderListing::SkippedEntry& skipped : folder.Skipped)
        report.Error(dir + "/" + skipped.Name, 0, "no script EXEC can run (" + skipped.Reason + ")");
    std::vector<Script> scripts;
    for (const std::string& name : folder.Names) scripts.push_back({dir, dir + "/" + name, name});
    return scripts;
}

// Names the console cannot run: EXEC reads its argument word by word, upper-cased.
void CheckScriptName(const Script& script, const ConsoleKeyboard& keyboard, Report& report) {
    const std::string& name = script.Name;
    if (name.find("  ") != std::string::npos || name.front() == ' ' || name.back() == ' ') {
        report.Warning(script.Path, 0,
                       "EXEC can never run this script: its name has a blank at an end or two in a row, which EXEC "
                       "reads as one");
        return;
    }
    if (const std::string untypable = keyboard.Untypable(name); !untypable.empty())
        report.Warning(script.Path, 0,
                       "its name holds " + Shown(untypable) +
                           ", which the console's keyboard cannot type: only another script can run it");
    const std::optional<std::string> found = FindEntryNoCase(script.Dir, UpperCaseText(name));
    if (found && *found != name)
        report.Warning(script.Path, 0,
                       "EXEC finds " + *found +
                           " for this name (names are found without regard to case), so this "
                           "script never runs");
}

// True when `from` runs `to`, directly or through other scripts.
bool Reaches(const std::map<std::string, std::vector<ExecCall>>& calls, const std::string& from, const std::string& to,
             std::set<std::string>& seen) {
    if (from == to) return true;
    if (!seen.insert(from).second) return false;
    const auto found = calls.find(from);
    if (found == calls.end()) return false;
    for (const ExecCall& call : found->second)
        if (Reaches(calls, call.Target, to, seen)) return true;
    return false;
}

}  // namespace

void CheckScripts(const ScriptFolders& folders, const std::vector<std::string>& shipNames,
                  const ConsoleKeyboard& keyboard, Report& report) {
    std::vector<std::vector<Script>> folderScripts;
    for (const std::string& base : {folders.GameDir, folders.PlayerDir}) {
        if (base.empty()) continue;
        const std::optional<std::string> scripts = FindEntryNoCase(base, "Scripts");
        if (scripts) folderScripts.push_back(ScriptsIn(base + *scripts, report));
    }
    std::vector<std::string> scriptNames;
    for (const std::vector<Script>& folder : folderScripts)
        for (const Script& script : folder) scriptNames.push_back(script.Name);

    ScriptJudge judge(folders, shipNames, scriptNames, report);
    std::map<std::string, std::vector<ExecCall>> calls;
    std::vector<const Script*> order;
    const size_t scriptsMark = report.Findings().size();
    for (const std::vector<Script>& folder : folderScripts) {
        for (const Script& script : folder) {
            ++report.Scripts;
            std::string text;
            try {
                text = ReadFileText(script.Path, ScriptFileLimit);
            } catch (const InputFileError& error) {
                report.Error(script.Path, 0, "the script cannot be read (" + error.Reason + "): EXEC of it ends with an error");
                continue;
            }
            CheckScriptName(script, keyboard, report);
            if (CheckTextEncoding(text, script.Path, report)) calls[Normal(script.Path)] = judge.Judge(script, text);
            order.push_back(&script);
        }
    }
    // A script that runs itself again, directly or through others, ends only at the nesting limit.
    for (const Script* script : order) {
        for (const ExecCall& call : calls[Normal(script->Path)]) {
            std::set<std::string> seen;
            if (Reaches(calls, call.Target, Normal(script->Path), seen))
                report.Warning(script->Path, call.Line,
                               "EXEC " + Shown(call.Name) +
                                   " runs this script again: the scripts repeat until they are " +
                                   std::to_string(MaxScriptDepth) + " deep, and the console then says \"Script " +
                                   call.Name + " was not run: scripts nest too deep.\"");
        }
    }
    report.SortSince(scriptsMark);
}

}  // namespace kelvane::check
