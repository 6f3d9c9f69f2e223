#include "replay/PassedOverErrors.h"

namespace kelvane {

std::string PassedOverErrorLine(uint64_t frame, const std::string& recording, const std::string& message) {
    return "an error was passed over in frame " + std::to_string(frame) +
           (recording.empty() ? std::string(" (not recorded)") : " (recorded in " + recording + ")") + ": " + message;
}

void PassedOverErrors::Tell(const TMainForm& form, uint64_t frame, const std::string& recording) {
    const uint64_t swallowed = form.SwallowedErrors();
    const std::vector<std::string>& messages = form.Errors();
    for (; told_ < swallowed; ++told_) {
        if (lines_ > MaxLines) continue;
        ++lines_;
        if (lines_ > MaxLines) {
            say_("further errors are passed over without a word (the first " + std::to_string(MaxLines) +
                 " are above)");
            continue;
        }
        say_(PassedOverErrorLine(frame, recording, told_ < messages.size() ? messages[told_] : std::string()));
    }
}

}  // namespace kelvane
