// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <functional>
#include <string>

class RunEnvironment;

// What the run button's click hands to the condensing run.
struct CondenseRequest
{
    // Paths and names as the system spells them (see RunEnvironment).
    std::string folderPath;    // the folder list's current path
    std::string logFileName;   // the chosen log file's name, normally "ALL.TXT"
    std::string operatorCall;  // the call sign as typed (UTF-8), for names and messages
    std::string callInLog;     // the same call sign as the log's 8-bit text spells it
};

// The condensing run behind the run button: "Standby" on the button, the
// condensed log written beside the decoder log, the completion message, and the
// button's caption back again.
//
// The reading, scanning and writing run away from the window's thread (see
// RunEnvironment::runAside), so the window keeps painting; a long run shows
// its progress and may be cancelled.
//
// A failure (no such log, a folder that cannot be written, a read or write
// error, a log that is no ordinary file, an output name that is a link or no
// ordinary file or leads to the log itself, too little memory) shows a
// warning that names the file and the reason, leaves any earlier condensed
// log untouched, and makes perform() return false. The files' own checks are
// the environment's (see RunEnvironment, OutputFile and ByteSource). A
// cancelled run says that nothing was changed, with the same outcome.
class CondensingRun
{
public:
    static constexpr const char *standbyCaption = "Standby";
    static constexpr const char *readyCaption = "Clarify the raw JT65a logfile now.";
    static constexpr const char *cancelledMessage =
        "The run was cancelled. Nothing was changed.";

    // Shows a caption on the run button; the window shows it while the run
    // goes on.
    using ShowCaption = std::function<void(const std::string &caption)>;

    CondensingRun(RunEnvironment &environment, ShowCaption showCaption);

    bool perform(const CondenseRequest &request);

    // The message that announces the written file.
    static std::string completionMessage(const std::string &outputPath);
    static std::string notEnoughMemoryMessage(const std::string &inputPath);

private:
    void showFailure(const std::exception_ptr &failure, const std::string &inputPath);

    RunEnvironment &m_environment;
    ShowCaption m_showCaption;
};
