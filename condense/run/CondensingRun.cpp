// SPDX-License-Identifier: GPL-3.0-or-later
#include "CondensingRun.h"

#include "ByteSource.h"
#include "CondensedLog.h"
#include "FileError.h"
#include "LogCondenser.h"
#include "OutputFile.h"
#include "RunCancelled.h"
#include "RunEnvironment.h"
#include "RunPaths.h"
#include "RunProgress.h"

#include <new>
#include <stdexcept>

namespace {

// A read error without a path (the condenser's own, which knows the log only
// as its bytes) is about the log being condensed.
std::string fileFailureMessage(const FileError &error, const std::string &inputPath)
{
    if (error.operation() == FileError::Operation::FlushFolder) {
        return "The condensed log was written, but its folder could not be flushed to disk:\n"
            + error.path() + "\n\n" + error.reason()
            + "\n\nAfter a power failure the new file may be missing. Run again to be sure.";
    }
    const bool read = error.operation() == FileError::Operation::Read;
    const char *what = read ? "The log file could not be read:" : "The condensed log could not be written:";
    const std::string &path = read && error.path().empty() ? inputPath : error.path();
    return std::string(what) + "\n" + path + "\n\n" + error.reason()
        + "\n\nNothing was changed. Put this right and try again.";
}

} // namespace

CondensingRun::CondensingRun(RunEnvironment &environment, ShowCaption showCaption)
    : m_environment(environment)
    , m_showCaption(std::move(showCaption))
{
}

bool CondensingRun::perform(const CondenseRequest &request)
{
    m_showCaption(standbyCaption);

    const std::string inputPath = RunPaths::join(request.folderPath, request.logFileName);
    const std::string outputPath = RunPaths::join(
        request.folderPath, CondensedLog::fileNameFor(request.operatorCall));
    RunProgress progress;
    std::exception_ptr failure;
    m_environment.runAside(
        [&] {
            try {
                const auto output = m_environment.createOutput(outputPath);
                const auto input = m_environment.openInput(inputPath);
                output->refuseIfReplacing(*input);
                // Only for the progress window: a size that cannot be had shows no progress.
                progress.setTotal(input->size().value_or(0));
                LogCondenser(request.callInLog).condense(*input, *output, &progress);
                if (progress.cancelled())
                    throw RunCancelled();
                output->commit();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        progress);

    if (failure) {
        showFailure(failure, inputPath);
        m_showCaption(readyCaption);
        return false;
    }
    m_environment.showInformation(completionMessage(outputPath));
    m_showCaption(readyCaption);
    return true;
}

void CondensingRun::showFailure(const std::exception_ptr &failure, const std::string &inputPath)
{
    try {
        std::rethrow_exception(failure);
    } catch (const FileError &error) {
        m_environment.showWarning(fileFailureMessage(error, inputPath));
    } catch (const RunCancelled &) {
        m_environment.showInformation(cancelledMessage);
    } catch (const std::bad_alloc &) {
        m_environment.showWarning(notEnoughMemoryMessage(inputPath));
    } catch (const std::length_error &) {
        m_environment.showWarning(notEnoughMemoryMessage(inputPath));
    } catch (const std::exception &error) {
        m_environment.showWarning(std::string("The run failed: ") + error.what()
                                  + "\n\nNothing was changed.");
    }
}

std::string CondensingRun::completionMessage(const std::string &outputPath)
{
    return "A new file, " + outputPath + ", has been created.";
}

std::string CondensingRun::notEnoughMemoryMessage(const std::string &inputPath)
{
    return "There was not enough memory to condense the log file:\n" + inputPath
        + "\n\nOne of its lines may be longer than this computer can hold."
          "\n\nNothing was changed.";
}
