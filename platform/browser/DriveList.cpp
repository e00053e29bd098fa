// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveList.h"

#include "DecoderFolders.h"
#include "FocusMark.h"
#include "NativePaths.h"

#include <QAbstractItemView>
#include <QDir>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>

namespace {

bool under(const QString &path, const char *top)
{
    const QLatin1String folder(top);
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
{
    view()->setTextElideMode(Qt::ElideNone);
    connect(this, &QComboBox::activated, this, &DriveList::picked);
    for (const DecoderFolders::Location &location : DecoderFolders::locations()) {
        m_locations.push_back({location, {}, std::make_unique<FolderReader>()});
        connect(m_locations.back().reader.get(), &FolderReader::listed, this, &DriveList::dataFoldersListed);
    }
    connect(&m_latestLogSearch, &LatestLogSearch::found, this, &DriveList::latestLogFound);
    refresh();
    readDataFolders();
}

void DriveList::readDataFolders()
{
    for (const DataLocation &location : m_locations)
        location.reader->read({location.where.folder});
}

void DriveList::setLister(const std::shared_ptr<const FolderLister> &lister)
{
    for (const DataLocation &location : m_locations)
        location.reader->setLister(lister);
    m_latestLogSearch.setLister(lister);
}

void DriveList::findLatestLog()
{
    QList<DecoderFolders::Location> locations;
    for (const DataLocation &location : m_locations)
        locations.append(location.where);
    m_latestLogSearch.start(locations);
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setDriveOf(const QString &path)
{
    const QString native = NativePaths::normalised(path);
    m_followed = native;
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString folder = itemData(i).toString();
        if (NativePaths::isUnder(native, folder) && (best < 0 || folder.size() > itemData(best).toString().size()))
            best = i;
    }
    if (best >= 0) {
        setCurrentIndex(best);
        m_shown = drive();
    }
}

void DriveList::refresh()
{
    const QString chosen = drive();
    const QSignalBlocker quiet(this);
    clear();
    for (const QString &root : volumeRoots())
        addItem(NativePaths::shown(root), root);
    for (const DataLocation &location : m_locations) {
        for (const auto &[name, folder] : location.found)
            addItem(NativePaths::shown(name), folder);
    }
    const int again = findData(chosen);
    if (again >= 0)
        setCurrentIndex(again);
}

void DriveList::showPopup()
{
    refresh();
    readDataFolders();
    fitPopup();
    QComboBox::showPopup();
}

void DriveList::paintEvent(QPaintEvent *event)
{
    QComboBox::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    FocusMark::draw(painter, rect(), palette().color(QPalette::Button));
}

void DriveList::keyPressEvent(QKeyEvent *event)
{
    const int before = currentIndex();
    const QPersistentModelIndex listed = view()->currentIndex();
    QComboBox::keyPressEvent(event);
    // A typed first letter moves the current entry of the list the entries
    // drop down in, hidden as it is, and that list tells a screen reader its
    // new current entry itself. The arrow keys, Home and End leave it where
    // it was.
    if (currentIndex() != before && currentIndex() >= 0 && view()->currentIndex() == listed && hasFocus()
        && !view()->isVisible())
        tellEntry();
}

bool DriveList::offered(const QString &root, const QByteArray &fileSystemType)
{
    static const QByteArrayList pseudo = {
        "autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs", "devpts", "devtmpfs",
        "efivarfs", "fuse.gvfsd-fuse", "fuse.lxcfs", "fuse.portal", "fuse.snapfuse", "fusectl", "hugetlbfs",
        "mqueue", "nsfs", "overlay", "proc", "pstore", "ramfs", "rpc_pipefs", "securityfs", "squashfs",
        "sysfs", "tmpfs", "tracefs"};
    if (root == QDir::rootPath())
        return true;
    if (pseudo.contains(fileSystemType))
        return false;
    if (under(root, "/run"))
        return under(root, "/run/media");
    for (const char *system : {"/boot", "/efi", "/snap", "/proc", "/sys", "/dev", "/var/lib/docker",
                               "/var/lib/containers", "/var/lib/snapd", "/var/snap", "/System", "/private"}) {
        if (under(root, system))
            return false;
    }
    return true;
}

void DriveList::dataFoldersListed(const FolderListing &listing)
{
    const auto location = std::ranges::find_if(
        m_locations, [&](const DataLocation &each) { return each.where.folder == listing.folder; });
    if (location == m_locations.end())
        return;
    const auto found = DecoderFolders::entries(location->where, listing.listed ? listing.folders : QStringList());
    if (found == location->found)
        return;
    location->found = found;
    refresh();
    // The entry for the folder shown may be among those just found.
    if (!m_followed.isEmpty())
        setDriveOf(m_followed);
    // An open list is opened again, laid out for the entries it has now.
    if (view()->isVisible()) {
        QComboBox::hidePopup();
        fitPopup();
        QComboBox::showPopup();
    }
}

void DriveList::fitPopup()
{
    // Wide enough for the longest entry, also where it is wider than the list.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + view()->frameWidth() * 2
                            + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void DriveList::picked(int index)
{
    const QString chosen = itemData(index).toString();
    if (chosen == m_shown)
        return;
    m_shown = chosen;
    m_followed = chosen;
    emit changed();
}
