#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>

#include "imaging/core/Ik5Common.h"
#include "imaging/core/Ik5Effect.h"
#include "imaging/core/Ik5File.h"
#include "imaging/widgets/Ik5Disp.h"
#include "imaging/widgets/Ik5Slide.h"
#include "imaging/widgets/Ik5Thumb.h"
#include "app/Design.h"
#include "platform/Controls.h"
#include "platform/Forms.h"
#include "rules/SizeRules.h"

// The main window: the image display, the file information, two rows of tool
// buttons, the panel buttons, the panel area with its option panels, and the
// thumbnail strip below the normal bottom edge. Every other window is opened
// from here and works on the image this window's display shows.
class frmviewer : public platform::Form
{
    Q_OBJECT

public:
    frmviewer();

    // Outer heights of the window, in twips: normal, with thumbnails, and
    // after the thumbnail folder picker was cancelled.
    static constexpr int kOuterWidth = 9525;
    static constexpr int kOuterHeight = 5220;
    static constexpr int kOuterHeightThumbnails = 6705;
    static constexpr int kOuterHeightPickerCancelled = 5160;

    // The panel area's anchor for child windows, from the main window's
    // left and top, in twips.
    static constexpr int kPanelAreaLeft = 4920;
    static constexpr int kPanelAreaTop = 2550;

    // How OpenImage got its path.
    enum class OpenVia { OpenButton, EmptyDisplayClick, Drop, Thumbnail };

    // Display area: the display, and the slideshow in its place while one plays
    imaging::Ik5Disp *Ik5Disp1;
    imaging::Ik5Slide *Ik5Slide1;

    // Top tool row
    platform::PictureButton *Image2; // open
    platform::PictureButton *Image3; // close
    platform::PictureButton *Image8; // save
    platform::PictureButton *Image4; // end

    // File information
    design::Frame *Frame1;
    QLabel *Label1, *Label7, *Label2, *Label3, *Label4, *Label5, *Label6;
    QLineEdit *Text1, *Text2, *Text3, *Text4;

    // Panel buttons
    QPushButton *Command6; // 表示設定
    QPushButton *Command7; // スライドショー
    QPushButton *Command8; // 回転

    // Panel area: the logo, which also opens the about box
    platform::PictureButton *Image5;

    // Bottom tool row
    platform::PictureButton *Image1; // adjustments panel
    platform::PictureButton *Image6; // print
    platform::PictureButton *Image7; // thumbnails

    // Thumbnail strip, below the normal bottom edge
    imaging::Ik5Thumb *Ik5Thumb1;
    QLabel *Label19;
    QPushButton *cmdTcancel, *Command10, *Command9;

    // Display settings panel
    design::Frame *Frame2, *Frame6;
    QRadioButton *Option1, *Option2;
    QRadioButton *Option6[4];
    QCheckBox *Check2;
    QLabel *Label8;
    QPushButton *Command5, *Command11, *Command18, *Command12;

    // Slideshow panel
    design::Frame *Frame3;
    QPushButton *cmdSstart, *cmdSpause, *cmdSend, *Command2, *Command1, *Command3, *Command4, *Command20;
    QLineEdit *Text10, *Text11;
    QLabel *Label18, *Label20, *Label21;
    QCheckBox *Check1;

    // Adjustments panel
    design::Frame *Frame4;
    QPushButton *Command19, *Command14, *Command16, *Command17;

    // Quick resize panel
    design::Frame *Frame5, *Frame7;
    QRadioButton *Option3, *Option4, *Option5, *optLong, *optShort;
    QLineEdit *Text5, *Text6, *Text7, *Text8, *Text9;
    QLabel *Label9, *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17;
    QPushButton *Command23, *cmdResize, *cmdRcancel;

    // Press feedback of the tool buttons
    platform::Timer *Timer1, *Timer2, *Timer3, *Timer4, *Timer5, *Timer6, *Timer7;

    // The suite's non-visual controls
    imaging::Ik5File *Ik5File1;
    imaging::Ik5Common *Ik5Common1;
    imaging::Ik5Effect *Ik5Effect1;

    // Dragging the image, and the zoom anchor the display reported last.
    // Kept in 32 bits: a zoomed photo scrolls past what 16 bits hold.
    qint32 DragActive = 0;
    qint32 DragOriginX = 0, DragOriginY = 0;
    qint32 LastDragX = 0, LastDragY = 0;
    qint32 ZoomAnchorX = 0, ZoomAnchorY = 0;

    void Form_Load() override;
    void Form_Unload() override;

    // Opening and closing
    void OpenImage(OpenVia via, const QString &givenPath = QString());
    void CloseImage();
    void Ik5Disp1_clickedEmpty();
    void Ik5Disp1_fileDropped(const QString &path);
    void Ik5Disp1_pointerPressed(int x, int y);
    void Ik5Disp1_pointerMoved(int x, int y);
    void Ik5Disp1_pointerReleased();
    void Ik5Disp1_zoomAnchor(int x, int y);
    void Ik5File1_progress(int percent);
    void Ik5Effect1_progress(int percent);

    // Tool buttons: the click shows the pressed bitmap, the tick 300 ms later
    // brings the normal one back and runs the action.
    void Image1_Click();
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();
    void Image6_Click();
    void Image7_Click();
    void Image8_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void Timer6_Timer();
    void Timer7_Timer();

    // Display settings panel: size mode, zoom, trimming
    void Option1_Click();
    void Option2_Click();
    void Option6_Click(int index);
    void Check2_Click();
    void Command5_Click();
    void Command11_Click();
    void Command18_Click();
    void Command12_Click();

    // Adjustment dialogs opened from the main window
    void Command8_Click();
    void Command14_Click();
    void Command16_Click();

    // Puts a new working image into the display and releases the one it
    // replaces (never one the display still shows). The one rule every
    // effect's result follows.
    void replaceWorkingImage(imaging::Handle newImage);

    // Panel buttons
    void Command6_Click();
    void Command7_Click();
    void Command10_Click();

    // Thumbnail strip
    void Ik5Thumb1_itemLoaded(const QString &folder, const QString &file, int n, int count);
    void Ik5Thumb1_itemChosen();
    void cmdTcancel_Click();

    // Slideshow panel
    void cmdSstart_Click();
    void cmdSpause_Click();
    void cmdSend_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command20_Click();
    void Ik5Slide1_slideShown(int n, const QString &folder, const QString &name);
    // Back to the display from the slideshow control.
    void showDisplayInFront();
    // Starts a slideshow control with the panel's interval, repeat and the
    // shared folder (the panel's and the full-screen start buttons).
    void startSlideshow(imaging::Ik5Slide *show) const;
    void Command17_Click();
    void Command19_Click();
    // Printing: the contact sheet window, with a fresh run state.
    void Command9_Click();
    // The print tool button's action: the print window, shown where it opens.
    void showPrintWindow();

    // Quick resize panel: the working image resized by one of three rules,
    // or the batch resize window in the main window's place.
    void cmdResize_Click();
    void cmdRcancel_Click();
    void Command23_Click();

    // Shows a child window modeless (an open one comes to the front), then
    // places it: over the panel area, or on the main window's own corner.
    // The child's Form_Load has run by then.
    void showOverPanelArea(platform::Form *child);
    void showOnMainWindow(platform::Form *child);

    // Shows an option panel at the panel anchor, over the logo.
    void showPanel(QWidget *panel);
    // The six controls that need an image, in one place.
    void setImageButtonsEnabled(bool enabled);
    // True when the display names an image that still exists.
    [[nodiscard]] bool hasWorkingImage() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct ToolButton;
    [[nodiscard]] const ToolButton &toolButton(platform::PictureButton *button) const;
    void pressToolButton(platform::PictureButton *button);
    void releaseToolButton(platform::PictureButton *button);

    void buildDisplayArea();
    void buildToolButtons();
    void buildFileInformation();
    void buildPanelButtons();
    void buildThumbnailStrip();
    void buildDisplaySettingsPanel();
    void buildSlideshowPanel();
    void buildAdjustmentsPanel();
    void buildQuickResizePanel();
    void buildSuiteControls();
    void wireHandlers();

    void clearFileInformation();
    // The quick resize panel's rule as its boxes hold it now.
    [[nodiscard]] sizerules::RuleTexts quickResizeRule() const;
    void resizeWorkingImage();
    void releaseOpenImages();
    void reportOpenFailure(const QString &path, const QString &reason);

    void resetSelection();
    // Ends a pending trimming undo: the image before the cut is released once
    // nothing can bring it back.
    void forgetImageBeforeCut();

    QPixmap m_background;
    // The last cut: the image before it, for "取り消し" until it is accepted.
    imaging::Handle m_imageBeforeCut = 0;
    // A chosen thumbnail is being read: another choice waits for nothing.
    bool m_readingChosen = false;
};

// The main window while it is loaded; nullptr once it is gone (the batch
// windows run with it unloaded), so a window that reaches it never builds
// a fresh one.
[[nodiscard]] frmviewer *mainWindowIfLoaded();
