#pragma once

#include <QMdiArea>

#include "platform/Forms.h"

// The contact sheet's window "サムネールのプリント": a white multiple-document
// window that holds the page window frmTumb while a page is filled.
class MDIThumb : public platform::Form
{
    Q_OBJECT

public:
    MDIThumb();

    QMdiArea *Area;

    // Its page goes with it.
    void Form_Unload() override;
};
