// SPDX-License-Identifier: GPL-3.0-or-later
#include "LatestLogSearch.h"

#include "FolderReader.h"
#include "NativePaths.h"

#include <mutex>
#include <optional>
#include <thread>

// What the search's thread has found so far. The search may be decided, or
// gone, before the thread is done (a folder that never answers): the thread
// then finds no one to tell and ends.
struct LatestLogSearch::Answer
{
    std::mutex mutex;
    LatestLogSearch *search = nullptr;
    bool decided = false;
    QString folder;
    qint64 changed = 0;
};

LatestLogSearch::LatestLogSearch(QObject *parent)
    : QObject(parent)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(FolderReader::deadlineMilliseconds);
    connect(&m_deadline, &QTimer::timeout, this, &LatestLogSearch::decide);
}

LatestLogSearch::~LatestLogSearch()
{
    if (m_answer) {
        const std::lock_guard lock(m_answer->mutex);
        m_answer->search = nullptr;
    }
}

void LatestLogSearch::start(const QList<DecoderFolders::Location> &locations)
{
    if (m_answer) {
        const std::lock_guard lock(m_answer->mutex);
        m_answer->search = nullptr;
    }
    m_answer = std::make_shared<Answer>();
    m_answer->search = this;
    m_deadline.start();
    // Not joined: a thread that waits on a share that never answers must
    // not keep the window, or the program's end, waiting with it.
    std::thread([answer = m_answer, lister = m_lister, locations] {
        for (const DecoderFolders::Location &location : locations) {
            const FolderListing listing = lister->list(location.folder, {});
            for (const auto &[name, folder] : DecoderFolders::entries(location, listing.folders)) {
                const std::optional<qint64> changed =
                    lister->modified(NativePaths::normalised(folder + QLatin1Char('/') + DecoderFolders::logName));
                const std::lock_guard lock(answer->mutex);
                if (answer->decided)
                    return;
                if (changed && (answer->folder.isEmpty() || *changed > answer->changed)) {
                    answer->folder = folder;
                    answer->changed = *changed;
                }
            }
        }
        const std::lock_guard lock(answer->mutex);
        if (LatestLogSearch *search = answer->search) {
            QMetaObject::invokeMethod(
                search, [search, answer] {
                    if (search->m_answer == answer)
                        search->decide();
                }, Qt::QueuedConnection);
        }
    }).detach();
}

void LatestLogSearch::decide()
{
    QString folder;
    {
        const std::lock_guard lock(m_answer->mutex);
        if (m_answer->decided)
            return;
        m_answer->decided = true;
        folder = m_answer->folder;
    }
    m_deadline.stop();
    if (!folder.isEmpty())
        emit found(folder);
}
