// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileList.h"
#include "FolderList.h"
#include "Form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>

// Drives Form1 through its real widgets, as the user does, and reads them.
namespace FormControls {

inline const QStringList allControls = {
    "Command1", "Command2", "Command3", "Files", "Drives", "Folder", "Text1", "Text2", "CenterBanner",
    "Picture_up", "Picture_down", "Picture_call", "Label1", "Label2", "Label3", "Label4", "Label5",
    "Label6", "Label7", "Label8", "Version"};

// The controls that are shown, in a fixed order.
inline QStringList shown(const Form1 &form)
{
    QStringList names;
    for (const QString &name : allControls) {
        if (!form.findChild<QWidget *>(name)->isHidden())
            names.append(name);
    }
    names.sort();
    return names;
}

inline QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

template <typename T = QWidget>
T *control(const Form1 &form, const QString &name)
{
    T *found = form.findChild<T *>(name);
    if (found == nullptr)
        qFatal("no control %s", qPrintable(name));
    return found;
}

inline void click(const Form1 &form, const QString &name)
{
    QTest::mouseClick(control(form, name), Qt::LeftButton);
}

// Clicks the entry of a list or tree that shows `text`, once it is listed
// (folders are read away from the window's thread); false if none does.
inline bool clickEntry(QAbstractItemView *view, const QString &text, bool twice = false)
{
    QModelIndexList matches;
    const bool listed = QTest::qWaitFor([&] {
        matches = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole, text, 1,
                                       Qt::MatchExactly | Qt::MatchCaseSensitive | Qt::MatchRecursive);
        return !matches.isEmpty();
    });
    if (!listed)
        return false;
    view->scrollTo(matches.first());
    const QPoint at = view->visualRect(matches.first()).center();
    // A double click is a click followed by a second press that the system
    // reports as a double click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    return true;
}

// Opens a drop-down list and clicks the entry that shows `text`, as the user
// picks it; false if no entry shows it.
inline bool pick(QComboBox *list, const QString &text)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    int index = -1;
    const bool listed = QTest::qWaitFor(
        [&] { return (index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive)) >= 0; });
    if (!listed || !QTest::qWaitForWindowExposed(view->window())) {
        list->hidePopup();
        return false;
    }
    const QModelIndex entry = view->model()->index(index, list->modelColumn());
    view->scrollTo(entry);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(entry).center());
    return true;
}

// Whether the form's folder and file lists have every reading they asked for.
inline bool listsRead(const Form1 &form)
{
    return !control<FolderList>(form, "Folder")->reading() && !control<FileList>(form, "Files")->reading();
}

inline QStringList entries(const QComboBox *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->itemText(i));
    return names;
}

// The widget that has the keyboard focus, for key presses sent where the user's go.
inline QWidget *focused()
{
    QWidget *widget = QApplication::focusWidget();
    if (widget == nullptr)
        qFatal("no widget has the focus");
    return widget;
}

// The name of the widget that has the focus; empty while none has it.
inline QString focusName()
{
    const QWidget *widget = QApplication::focusWidget();
    return widget != nullptr ? widget->objectName() : QString();
}

inline QStringList entries(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->item(i)->text());
    return names;
}

} // namespace FormControls
