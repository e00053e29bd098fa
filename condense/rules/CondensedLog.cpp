// SPDX-License-Identifier: GPL-3.0-or-later
#include "CondensedLog.h"

#include "ProgramIdentity.h"

#include <algorithm>

namespace CondensedLog {

namespace {

std::string padded(std::string_view text)
{
    std::string line(text.substr(0, width));
    line.resize(width, ' ');
    return line;
}

void appendLine(std::string &out, std::string_view line)
{
    out.append(line);
    out.append(lineEnd);
}

const std::string &ruleLine()
{
    static const std::string rule(width, '=');
    return rule;
}

} // namespace

std::string header()
{
    std::string out;
    appendLine(out, ruleLine());
    appendLine(out, "This file has been clarified from the JT65a 'CALL.txt' log file.");
    appendLine(out, ruleLine());
    appendLine(out, "");
    return out;
}

std::string footer()
{
    std::string credit(ProgramIdentity::title);
    credit.append(" ").append(ProgramIdentity::versionCaption).append(", by its amateur radio makers");

    std::string out;
    appendLine(out, ruleLine());
    appendLine(out, padded(credit));
    appendLine(out, padded(std::string(25, ' ') + "(c) " + ProgramIdentity::releaseYear));
    appendLine(out, ruleLine());
    return out;
}

std::string fileNameFor(std::string_view callSign)
{
    std::string name = "jt65a_";
    for (const char c : callSign) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unsafe = byte < 0x20 || byte == 0x7f
            || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos;
        name.push_back(unsafe ? '-' : c);
    }
    name.append("_logfile.txt");
    return name;
}

} // namespace CondensedLog
