// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DecoderFolders.h"
#include "FolderLister.h"

#include <QObject>
#include <QTimer>

#include <memory>

// Looks for the decoders' data folder whose log changed last, on a thread of
// its own: the data folders may lie on a share that has gone, whose every
// look keeps the asker waiting. What has answered within the folder
// reader's deadline counts; a folder that has not is taken as one that is
// not there, and a late answer is dropped.
class LatestLogSearch : public QObject
{
    Q_OBJECT

public:
    explicit LatestLogSearch(QObject *parent = nullptr);
    ~LatestLogSearch() override;

    // The lister used from the next search on; at first the system's.
    void setLister(std::shared_ptr<const FolderLister> lister) { m_lister = std::move(lister); }

    // Looks through the decoders' data folders in `locations`; found() tells
    // the answer, at the latest after the deadline.
    void start(const QList<DecoderFolders::Location> &locations);

signals:
    // The folder whose log changed last, of those that answered in time;
    // not raised where none holds a log.
    void found(const QString &folder);

private:
    struct Answer;

    void decide();

    std::shared_ptr<const FolderLister> m_lister = std::make_shared<FolderLister>();
    std::shared_ptr<Answer> m_answer;
    QTimer m_deadline;
};
