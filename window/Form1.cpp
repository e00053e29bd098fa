#include "Form1.h"

#include "CondensedLog.h"

Form1::Form1(QWidget *parent)
    : Form(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(CondensedLog::toolTitle.data(),
                                     qsizetype(CondensedLog::toolTitle.size())));
}
