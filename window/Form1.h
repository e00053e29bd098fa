#pragma once

#include "Form.h"

class CommandButton;
class DriveList;
class FileList;
class FolderList;
class Label;
class PictureBox;
class TextBox;

// The tool's one window: the banner, the three steps (call sign, log file,
// run) and the drive, folder and file lists that find the log.
class Form1 : public Form
{
    Q_OBJECT

public:
    explicit Form1(QWidget *parent = nullptr);

private:
    CommandButton *Command1;
    CommandButton *Command2;
    CommandButton *Command3;
    FileList *Files;
    DriveList *Drives;
    FolderList *Folder;
    TextBox *Text1;
    TextBox *Text2;
    Label *CenterBanner;
    PictureBox *Picture_up;
    PictureBox *Picture_down;
    PictureBox *Picture_call;
    Label *Label1;
    Label *Label2;
    Label *Label3;
    Label *Label4;
    Label *Label5;
    Label *Label6;
    Label *Label7;
    Label *Label8;
    Label *Version;
};
