// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceCondenser.h"

#include "CondensedLog.h"

#include <vector>

namespace {

// Lines end at CR LF, a lone CR or a lone LF; text after the last terminator
// is one more line.
std::vector<std::string> splitLines(const std::string &log)
{
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < log.size()) {
        std::string line;
        while (i < log.size() && log[i] != '\r' && log[i] != '\n')
            line += log[i++];
        if (i < log.size()) {
            if (log[i] == '\r' && i + 1 < log.size() && log[i + 1] == '\n')
                ++i;
#ifdef CLARIFIER_REFERENCE_LOSES_CR_LINES
            // A fault planted on purpose, built only into the fuzzer's own
            // check: a line that ends in a lone CR is lost.
            else if (log[i] == '\r') {
                ++i;
                continue;
            }
#endif
            ++i;
        }
        lines.push_back(line);
    }
    return lines;
}

// Characters are counted from 1, as the rules count them.
bool charactersEqual(const std::string &line, int first, const std::string &text)
{
    const int last = first + static_cast<int>(text.size()) - 1;
    if (static_cast<int>(line.size()) < last)
        return false;
    return line.substr(static_cast<std::size_t>(first - 1), text.size()) == text;
}

} // namespace

std::string referenceCondense(const std::string &log, const std::string &call)
{
    std::string out = CondensedLog::header();
    const int callLength = static_cast<int>(call.size());
    for (const std::string &line : splitLines(log)) {
        int handled = 0;
        if (charactersEqual(line, 1, "UTC")) {
            out += "\r\n" + line + "\r\n";
            handled = 1;
        }
        if (handled == 0 && line.size() >= 13 && charactersEqual(line, 9, "Trans")) {
            out += line + "\r\n";
            handled = 1;
        }
        if (handled == 0 && charactersEqual(line, 1, "---")) {
            out += line + "\r\n";
            handled = 1;
        }
        if (handled == 0) {
            for (int i = 1; i <= static_cast<int>(line.size()) - callLength + 1; ++i) {
                if (charactersEqual(line, i, call)) {
                    out += line + "\r\n";
                    break;
                }
            }
        }
    }
    return out + CondensedLog::footer();
}
