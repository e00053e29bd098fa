// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBox.h"

#include "FittedMessageBox.h"
#include "ProgramIdentity.h"

namespace MessageBox {

namespace {

// The icon says which kind of box it is to the eye; the description says it
// to a screen reader, which otherwise hears every box as an alert.
void show(QWidget *parent, QMessageBox::Icon icon, const QString &kind, const QString &text)
{
    FittedMessageBox box(icon, QString::fromUtf8(ProgramIdentity::title), text, parent);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.setTextFormat(Qt::PlainText);  // names may hold "<", ">" and "&"
    box.setAccessibleDescription(kind);
    box.exec();
}

} // namespace

void information(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Information, QStringLiteral("Information"), text);
}

void warning(QWidget *parent, const QString &text)
{
    show(parent, QMessageBox::Warning, QStringLiteral("Warning"), text);
}

} // namespace MessageBox
