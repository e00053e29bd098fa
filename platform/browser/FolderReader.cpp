// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderReader.h"

#include <mutex>
#include <thread>

// Where a reading's thread leaves its answer. The reader may be gone by
// then (the window closed while a disk kept the thread waiting): the thread
// then drops the answer and ends.
struct FolderReader::Mailbox
{
    std::mutex mutex;
    FolderReader *reader = nullptr;
};

FolderReader::FolderReader(QObject *parent)
    : QObject(parent)
    , m_mailbox(std::make_shared<Mailbox>())
{
    m_mailbox->reader = this;
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(deadlineMilliseconds);
    connect(&m_deadline, &QTimer::timeout, this, &FolderReader::overdue);
}

FolderReader::~FolderReader()
{
    const std::lock_guard lock(m_mailbox->mutex);
    m_mailbox->reader = nullptr;
}

void FolderReader::read(const QStringList &candidates)
{
    const quint64 request = ++m_request;
    m_reading = true;
    m_asked = candidates.value(0);
    m_progress = std::make_shared<std::atomic<quint64>>(0);
    m_progressSeen = 0;
    m_deadline.start();
    // Not joined: a thread that waits on a disk that never answers must not
    // keep the window, or the program's end, waiting with it.
    std::thread([mailbox = m_mailbox, lister = m_lister, candidates, request,
                 progress = m_progress] {
        const FolderLister::Progress report = [progress] { ++*progress; };
        FolderListing listing;
        for (const QString &folder : candidates) {
            listing = lister->list(folder, report);
            if (listing.listed)
                break;
        }
        const std::lock_guard lock(mailbox->mutex);
        if (FolderReader *reader = mailbox->reader) {
            QMetaObject::invokeMethod(
                reader, [reader, request, listing] { reader->arrived(request, listing); }, Qt::QueuedConnection);
        }
    }).detach();
}

void FolderReader::arrived(quint64 request, const FolderListing &listing)
{
    if (request != m_request)
        return;
    m_reading = false;
    m_deadline.stop();
    emit listed(listing);
}

void FolderReader::overdue()
{
    if (!m_reading)
        return;
    const quint64 progress = m_progress->load();
    if (progress != m_progressSeen) {
        m_progressSeen = progress;
        m_deadline.start();
        return;
    }
    emit notAnswering(m_asked);
}
