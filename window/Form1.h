// SPDX-License-Identifier: GPL-3.0-or-later
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

    // Start-up state.
    void load() override;

private:
    // Step guidance.
    void Text2_Change();
    void Text1_Change();
    void Label1_Click();
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();
    void Picture_up_Click();
    void Picture_down_Click();
    void Command1_Click();
    void Command2_Click();
    void guidanceRefresh();
    void afterRunState();

    // The log file browser.
    void Command3_Click();
    void Drives_Change();
    void Drives_LatestLogFound(const QString &folder);
    void Folder_Click();
    void Folder_Change();
    void Folder_CannotOpen(const QString &folder);
    void Folder_NotAnswering(const QString &folder);
    void Files_Click();
    void closeBrowser();
    void followFolder();

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
