// SPDX-License-Identifier: GPL-3.0-or-later
#include "Form1.h"

#include "Artwork.h"
#include "CommandButton.h"
#include "CondensingRun.h"
#include "DecoderFolders.h"
#include "DesktopRunEnvironment.h"
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormDesign.h"
#include "Label.h"
#include "MessageBox.h"
#include "Module1.h"
#include "ProgramIdentity.h"
#include "NativePaths.h"
#include "PictureBox.h"
#include "TextBox.h"

#include <QIcon>
#include <QPixmap>

namespace {

template <typename Control>
Control *named(const QHash<QString, QWidget *> &controls, const char *name)
{
    auto *control = qobject_cast<Control *>(controls.value(QString::fromLatin1(name)));
    Q_ASSERT(control != nullptr);
    return control;
}

} // namespace

Form1::Form1(QWidget *parent)
    : Form(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromUtf8(ProgramIdentity::title));
    setWindowIcon(QIcon(QPixmap::fromImage(Artwork::windowIcon())));
    setFont(FormDesign::font(FormDesign::windowFont));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, FormDesign::colour(FormDesign::windowBackColour));
    palette.setColor(QPalette::WindowText, FormDesign::colour(FormDesign::windowForeColour));
    setPalette(palette);
    setAutoFillBackground(true);
    setClientSize({FormDesign::pixels(FormDesign::clientWidth), FormDesign::pixels(FormDesign::clientHeight)});

    const QHash<QString, QWidget *> controls = FormDesign::build(surface());
    Command1 = named<CommandButton>(controls, "Command1");
    Command2 = named<CommandButton>(controls, "Command2");
    Command3 = named<CommandButton>(controls, "Command3");
    Files = named<FileList>(controls, "Files");
    Drives = named<DriveList>(controls, "Drives");
    Folder = named<FolderList>(controls, "Folder");
    Text1 = named<TextBox>(controls, "Text1");
    Text2 = named<TextBox>(controls, "Text2");
    CenterBanner = named<Label>(controls, "CenterBanner");
    Picture_up = named<PictureBox>(controls, "Picture_up");
    Picture_down = named<PictureBox>(controls, "Picture_down");
    Picture_call = named<PictureBox>(controls, "Picture_call");
    Label1 = named<Label>(controls, "Label1");
    Label2 = named<Label>(controls, "Label2");
    Label3 = named<Label>(controls, "Label3");
    Label4 = named<Label>(controls, "Label4");
    Label5 = named<Label>(controls, "Label5");
    Label6 = named<Label>(controls, "Label6");
    Label7 = named<Label>(controls, "Label7");
    Label8 = named<Label>(controls, "Label8");
    Version = named<Label>(controls, "Version");

    // The three lists start together in the folder the program was started
    // in, or in the home folder where that cannot be listed; the drive list
    // follows once the folder has been read.
    Folder->openStartFolder();
    followFolder();

    connect(Text2, &TextBox::changed, this, &Form1::Text2_Change);
    connect(Text1, &TextBox::changed, this, &Form1::Text1_Change);
    connect(Label1, &Label::clicked, this, &Form1::Label1_Click);
    connect(Label2, &Label::clicked, this, &Form1::Label2_Click);
    connect(Label3, &Label::clicked, this, &Form1::Label3_Click);
    connect(Label4, &Label::clicked, this, &Form1::Label4_Click);
    connect(Picture_up, &PictureBox::clicked, this, &Form1::Picture_up_Click);
    connect(Picture_down, &PictureBox::clicked, this, &Form1::Picture_down_Click);
    connect(Command1, &CommandButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &CommandButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &CommandButton::clicked, this, &Form1::Command3_Click);
    connect(Drives, &DriveList::changed, this, &Form1::Drives_Change);
    connect(Drives, &DriveList::latestLogFound, this, &Form1::Drives_LatestLogFound);
    connect(Folder, &FolderList::clicked, this, &Form1::Folder_Click);
    connect(Folder, &FolderList::pathChanged, this, &Form1::Folder_Change);
    connect(Folder, &FolderList::cannotOpen, this, &Form1::Folder_CannotOpen);
    connect(Folder, &FolderList::notAnswering, this, &Form1::Folder_NotAnswering);
    connect(Files, &FileList::clicked, this, &Form1::Files_Click);
}

void Form1::load()
{
    guidanceRefresh();
    Command1->setText(QString::fromUtf8(CondensingRun::readyCaption));
    closeBrowser();
    // The hand points at the call sign box: typing needs no click.
    Text2->setFocus();
    // Started in the home folder, as from the desktop's menu, the lists move
    // to where the decoder keeps the log it wrote last, once that is known.
    if (FolderList::startedAtHome())
        Drives->findLatestLog();
}

// The run step is shown exactly while Text1 holds "ALL.TXT".
void Form1::guidanceRefresh()
{
    if (Text1->text() == DecoderFolders::logName) {
        Label2->show();
        Label3->show();
        Picture_up->show();
        Command1->show();
    } else {
        Command1->hide();
        Label2->hide();
        Label3->hide();
        Picture_up->hide();
    }
}

// Call sign entry: the shared values and the banner follow every change; an
// empty call sign shows its own step again, any other shows the find step.
void Form1::Text2_Change()
{
    Module1::OperatorCall = Text2->text();
    Module1::OperatorCallLength = static_cast<qint32>(Module1::OperatorCall.toUcs4().size());
    Label4->setText(QStringLiteral("Customized for ") + Module1::OperatorCall);

    const bool empty = Text2->text().isEmpty();
    Label1->setVisible(!empty);
    Label2->hide();
    Label3->hide();
    Label4->show();
    Label5->show();
    Label6->show();
    Label7->setVisible(empty);
    Label8->setVisible(empty);
    Picture_up->hide();
    Picture_down->setVisible(!empty);
    Picture_call->setVisible(empty);
    Command1->hide();
}

void Form1::Text1_Change() { guidanceRefresh(); }
void Form1::Label1_Click() { guidanceRefresh(); }
void Form1::Label2_Click() { guidanceRefresh(); }
void Form1::Label3_Click() { guidanceRefresh(); }
void Form1::Picture_up_Click() { guidanceRefresh(); }
void Form1::Picture_down_Click() { guidanceRefresh(); }

void Form1::Label4_Click()
{
    Label4->setText(QStringLiteral("kill me"));
}

// The run; after a failure (its warning has been shown) the window stays as
// it was, so the user can put things right and run again.
void Form1::Command1_Click()
{
    DesktopRunEnvironment environment(this);
    CondensingRun run(environment, [this](const std::string &caption) {
        Command1->setCaption(QString::fromStdString(caption));
    });
    // The folder and the file by their own bytes, also where those are no valid text.
    const bool written = run.perform({NativePaths::toNative(Folder->path()).toStdString(),
                                      NativePaths::toNative(Text1->name()).toStdString(),
                                      Module1::OperatorCall.toStdString(),
                                      Module1::OperatorCall.toLocal8Bit().toStdString()});
    if (written)
        afterRunState();
}

void Form1::afterRunState()
{
    Label1->hide();
    Label2->hide();
    Label3->hide();
    Label4->show();
    Label5->show();
    Label6->show();
    Picture_up->hide();
    Picture_down->hide();
    Command1->hide();
    Command3->hide();
    Text1->hide();
    Text2->hide();
    // Close and Exit is all that is left to do.
    Command2->setFocus();
}

void Form1::Command2_Click()
{
    unload();
}

// Opens the browser in place of the centre banner.
void Form1::Command3_Click()
{
    Label1->hide();
    Label2->hide();
    Label3->hide();
    Picture_up->hide();
    Picture_down->hide();
    Drives->show();
    Folder->show();
    Files->show();
    CenterBanner->hide();
    // The file list takes the focus before the button hides, ready to choose.
    Files->setFocus();
    Command3->hide();
}

// The folder list opens the drive; Folder_Change follows once it has been read.
void Form1::Drives_Change()
{
    Folder->setPath(Drives->drive());
}

void Form1::Folder_Click()
{
    followFolder();
}

// The file list follows every change of the folder list's path, so the run
// reads the folder whose files the user chose from.
void Form1::Folder_Change()
{
    followFolder();
}

// The decoder's latest log has been found: the lists open there, with that
// log chosen, unless the user has opened another folder meanwhile.
void Form1::Drives_LatestLogFound(const QString &folder)
{
    if (!Folder->atStartFolder())
        return;
    Folder->openStartFolder(folder);
    followFolder();
    Files->setSelectedName(DecoderFolders::logName);
}

// A drive that is not ready is reported, and the lists stay where they were.
// A folder removed or locked since it was listed: the user is told, and the
// lists show what is there now.
void Form1::Folder_CannotOpen(const QString &folder)
{
    const QString shown = NativePaths::shown(folder);
    if (folder == Drives->drive()) {
        MessageBox::warning(this, QStringLiteral("The drive %1 is not ready.\n\n"
                                                 "Insert a disk or choose another drive.").arg(shown));
        Drives->setDriveOf(Folder->path());
        return;
    }
    MessageBox::warning(this, QStringLiteral("The folder %1 cannot be opened.\n\n"
                                             "It has been removed, or it may not be read.").arg(shown));
    Drives->refresh();
    Folder->reread();
}

// A drive or folder that has not answered within about a second (a network
// share that is gone, a disk that sleeps): the user is told, the lists stay
// as they are and take other choices, and it opens if it answers later.
void Form1::Folder_NotAnswering(const QString &folder)
{
    const QString shown = NativePaths::shown(folder);
    if (folder == Drives->drive()) {
        Drives->setDriveOf(Folder->path());
        MessageBox::warning(this, QStringLiteral("The drive %1 does not answer.\n\n"
                                                 "It may be a network share that cannot be reached, or a disk "
                                                 "that is starting up. Its folders are shown if it answers; "
                                                 "meanwhile you can choose another drive.").arg(shown));
        return;
    }
    MessageBox::warning(this, QStringLiteral("The folder %1 does not answer.\n\n"
                                             "It may be on a network share that cannot be reached, or on a disk "
                                             "that is starting up. It is opened if it answers; meanwhile you "
                                             "can choose another folder.").arg(shown));
}

// A file chosen: the browser closes and its name goes into Text1, which runs
// the guidance refresh before the run button is decided here.
void Form1::Files_Click()
{
    closeBrowser();
    Text1->setName(Files->selectedName());
    Command1->setVisible(Text1->text() == DecoderFolders::logName);
    // The focus goes to the next step: the run, or finding another file.
    if (!Command1->isHidden())
        Command1->setFocus();
    else
        Command3->setFocus();
}

// The browser closed: the centre banner and the find button in place of the
// three lists, which keep their folder and selection.
void Form1::closeBrowser()
{
    Drives->hide();
    Folder->hide();
    Files->hide();
    CenterBanner->show();
    Command3->show();
}

// The lists follow the folder list: the file list lists every file of its
// path, the drive list shows the drive or data folder that path lies in.
void Form1::followFolder()
{
    Files->setPath(Folder->path());
    Drives->setDriveOf(Folder->path());
}
