// SPDX-License-Identifier: GPL-3.0-or-later
#include "CondensingRun.h"

#include "ByteSource.h"
#include "CondensedLog.h"
#include "FileError.h"
#include "LogCondenser.h"
#include "OutputFile.h"
#include "RunButton.h"
#include "RunEnvironment.h"

namespace {

std::string failureMessage(const FileError &error)
{
    const char *what = error.operation() == FileError::Operation::Read
        ? "The log file could not be read:"
        : "The condensed log could not be written:";
    return std::string(what) + "\n" + error.path() + "\n\n" + error.reason()
        + "\n\nNothing was changed. Put this right and try again.";
}

} // namespace

CondensingRun::CondensingRun(RunEnvironment &environment, RunButton &button)
    : m_environment(environment)
    , m_button(button)
{
}

bool CondensingRun::perform(const CondenseRequest &request)
{
    m_button.setCaption(standbyCaption);

    const std::string inputPath = CondensedLog::joinPath(request.folderPath, request.logFileName);
    const std::string outputPath = CondensedLog::joinPath(
        request.folderPath, CondensedLog::fileNameFor(request.operatorCall));
    try {
        const auto input = m_environment.openInput(inputPath);
        const auto output = m_environment.createOutput(outputPath);
        LogCondenser(request.callInLog).condense(*input, *output);
        output->commit();
    } catch (const FileError &error) {
        m_environment.showWarning(failureMessage(error));
        m_button.setCaption(readyCaption);
        return false;
    }

    m_environment.showInformation(completionMessage(outputPath));
    m_button.setCaption(readyCaption);
    return true;
}

std::string CondensingRun::completionMessage(const std::string &outputPath)
{
    return "A new file, " + outputPath + ", has been created.";
}
