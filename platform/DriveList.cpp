// SPDX-License-Identifier: GPL-3.0-or-later
#include "DriveList.h"

#include "FocusMark.h"
#include "NativePaths.h"

#include <QAbstractItemView>
#include <QDir>
#include <QPainter>
#include <QStandardPaths>
#include <QStorageInfo>

namespace {

// Volumes by their top folder, in native form, the root first.
QStringList driveRoots()
{
    QStringList roots;
#ifdef Q_OS_WIN
    for (const QFileInfo &drive : QDir::drives())
        roots.append(NativePaths::display(drive.absoluteFilePath()));
#else
    roots.append(QDir::rootPath());
    const QString home = QStorageInfo(QDir::homePath()).rootPath();
    if (!home.isEmpty() && !roots.contains(home))
        roots.append(home);
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        if (volume.isValid() && DriveList::offered(root, volume.fileSystemType()) && !roots.contains(root))
            roots.append(root);
    }
#endif
    return roots;
}

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
    refresh();
    connect(this, &QComboBox::activated, this, &DriveList::picked);
}

QString DriveList::drive() const
{
    return currentData().toString();
}

void DriveList::setDriveOf(const QString &path)
{
    const QString native = NativePaths::display(path);
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
    for (const QString &root : driveRoots())
        addItem(root, root);
    for (const auto &[name, folder] : decoderFolders(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)))
        addItem(name, folder);
    const int again = findData(chosen);
    if (again >= 0)
        setCurrentIndex(again);
}

void DriveList::showPopup()
{
    refresh();
    // Wide enough for the longest entry, also where it is wider than the list.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + view()->frameWidth() * 2
                            + style()->pixelMetric(QStyle::PM_ScrollBarExtent));
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

QList<QPair<QString, QString>> DriveList::decoderFolders(const QString &dataLocation)
{
    QList<QPair<QString, QString>> folders;
    if (dataLocation.isEmpty())
        return folders;
    const QDir data(dataLocation);
    const QStringList names = data.entryList({"WSJT-X", "JTDX", "WSJT-X - *", "JTDX - *"},
                                             QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                             QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names)
        folders.append({name + QStringLiteral(" log folder"), NativePaths::display(data.filePath(name))});
    return folders;
}

void DriveList::picked(int index)
{
    const QString chosen = itemData(index).toString();
    if (chosen == m_shown)
        return;
    m_shown = chosen;
    emit changed();
}
