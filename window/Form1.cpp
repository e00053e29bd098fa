#include "Form1.h"

#include "Artwork.h"
#include "CommandButton.h"
#include "DriveList.h"
#include "FileList.h"
#include "FolderList.h"
#include "FormDesign.h"
#include "Label.h"
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
    setWindowTitle(QString::fromUtf8(FormDesign::title));
    setWindowIcon(QIcon(QPixmap::fromImage(Artwork::windowIcon())));
    setFont(FormDesign::font(FormDesign::windowFont));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, FormDesign::colour(FormDesign::windowBackColour));
    palette.setColor(QPalette::WindowText, FormDesign::colour(FormDesign::windowForeColour));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(FormDesign::pixels(FormDesign::clientWidth), FormDesign::pixels(FormDesign::clientHeight));

    const QHash<QString, QWidget *> controls = FormDesign::build(this);
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
}
