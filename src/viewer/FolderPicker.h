#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QRect>

#include "platform/FolderLists.h"
#include "platform/Forms.h"

// What the thumbnail and slideshow folder pickers share: a borderless
// window over the main window's panel area with a drive list, a folder list
// and a folder box that a click or an opened folder fills; the box is used
// as typed. Each picker adds its own caption and two buttons.
class FolderPicker : public platform::Form
{
    Q_OBJECT

public:
    folderlists::DriveList *Drive1;
    folderlists::DirList *Dir1;
    QLabel *Label1;
    QLineEdit *Text1;

    void Form_Load() override;
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_Click();

protected:
    struct Places
    {
        QRect drive, label, text, folders; // twips
    };
    FolderPicker(const char *objectName, const QString &designCaption, const QString &prompt, const Places &places);
};
