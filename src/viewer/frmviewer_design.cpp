// The main window's controls, captions and places as designed (twips).

#include "viewer/frmviewer.h"

#include "app/Design.h"

using design::control;
using design::panel;
using design::pictureButton;

void frmviewer::buildDisplayArea()
{
    Ik5Disp1 = control<imaging::Ik5Disp>(this, "Ik5Disp1", 195, 210, 4485, 4485);
    Ik5Disp1->setBackColor(design::kPanelBlue);
    Ik5Disp1->setPanCaption(QStringLiteral("Pan Window"));
    Ik5Slide1 = control<imaging::Ik5Slide>(this, "Ik5Slide1", 195, 210, 4485, 4485);
    Ik5Slide1->setBackColor(design::kPanelBlue);
}

void frmviewer::buildToolButtons()
{
    // The captions are the words each picture shows.
    Image2 = pictureButton(this, "Image2", QStringLiteral("開く"), 4800, 180, 1125, 570);
    Image3 = pictureButton(this, "Image3", QStringLiteral("閉じる"), 5940, 180, 1125, 570);
    Image8 = pictureButton(this, "Image8", QStringLiteral("保存"), 7080, 180, 1125, 570);
    Image4 = pictureButton(this, "Image4", QStringLiteral("終了"), 8220, 180, 1125, 570);
    Image1 = pictureButton(this, "Image1", QStringLiteral("画像調整"), 4800, 4380, 1425, 450);
    Image6 = pictureButton(this, "Image6", QStringLiteral("印刷"), 6360, 4380, 1425, 450);
    Image7 = pictureButton(this, "Image7", QStringLiteral("サムネール"), 7860, 4380, 1425, 450);
    const std::pair<platform::PictureButton *, const char *> designPictures[] = {
        {Image2, "botton_open"}, {Image3, "botton_close"}, {Image8, "botton_save"}, {Image4, "botton_end"},
        {Image1, "botton_cont"}, {Image6, "botton_print"}, {Image7, "botton_thumb"}};
    for (const auto &[button, stem] : designPictures)
        button->setPicture(QPixmap(QStringLiteral(":/design/%1.bmp").arg(QLatin1String(stem))));

    // The logo is a picture of its own size at the panel anchor; it opens
    // the about box, and is named after it.
    Image5 = control<platform::PictureButton>(this, "Image5", 4860, 2220, 4395, 2115);
    Image5->setText(QStringLiteral("バージョン情報"));
    Image5->setPicture(QPixmap(QStringLiteral(":/design/viewer_logo.png")));
    Image5->resize(design::designedRect(Image5).size()); // the picture does not shrink its place

    Timer1 = new platform::Timer(this);
    Timer2 = new platform::Timer(this);
    Timer3 = new platform::Timer(this);
    Timer4 = new platform::Timer(this);
    Timer5 = new platform::Timer(this);
    Timer6 = new platform::Timer(this);
    Timer7 = new platform::Timer(this);
    const std::pair<platform::Timer *, const char *> timers[] = {
        {Timer1, "Timer1"}, {Timer2, "Timer2"}, {Timer3, "Timer3"}, {Timer4, "Timer4"},
        {Timer5, "Timer5"}, {Timer6, "Timer6"}, {Timer7, "Timer7"}};
    for (const auto &[timer, name] : timers)
        timer->setObjectName(QString::fromLatin1(name));
    Timer1->setEnabled(false);
}

void frmviewer::buildFileInformation()
{
    Frame1 = control<design::Frame>(this, "Frame1", QStringLiteral("ファイル  情報"), 4800, 840, 4575, 1095);
    Label1 = control<QLabel>(Frame1, "Label1", QStringLiteral("ファイル名"), 120, 180, 795, 180);
    Text1 = control<QLineEdit>(Frame1, "Text1", QString(), 120, 360, 2235, 270);
    Label7 = control<QLabel>(Frame1, "Label7", QStringLiteral("サイズ"), 2520, 180, 510, 180);
    Text2 = control<QLineEdit>(Frame1, "Text2", QString(), 2520, 360, 1395, 270);
    Label2 = control<QLabel>(Frame1, "Label2", QStringLiteral("Kbyte"), 4020, 480, 435, 180);
    Label3 = control<QLabel>(Frame1, "Label3", QStringLiteral("幅"), 180, 720, 180, 180);
    Text3 = control<QLineEdit>(Frame1, "Text3", QString(), 660, 720, 1095, 270);
    Label4 = control<QLabel>(Frame1, "Label4", QStringLiteral("Pixcel"), 1800, 840, 465, 180);
    Label5 = control<QLabel>(Frame1, "Label5", QStringLiteral("高さ"), 2340, 720, 315, 180);
    Text4 = control<QLineEdit>(Frame1, "Text4", QString(), 2820, 720, 1095, 270);
    Label6 = control<QLabel>(Frame1, "Label6", QStringLiteral("Pixcel"), 3960, 840, 465, 180);
}

void frmviewer::buildPanelButtons()
{
    Command6 = control<QPushButton>(this, "Command6", QStringLiteral("表示設定"), 4860, 1980, 1095, 255);
    Command7 = control<QPushButton>(this, "Command7", QStringLiteral("スライドショー"), 5940, 1980, 1095, 255);
    Command8 = control<QPushButton>(this, "Command8", QStringLiteral("回転"), 7020, 1980, 1095, 255);
}

void frmviewer::buildThumbnailStrip()
{
    Ik5Thumb1 = control<imaging::Ik5Thumb>(this, "Ik5Thumb1", 180, 4860, 7515, 1335);
    Label19 = control<QLabel>(this, "Label19", QString(), 7800, 4920, 60, 180);
    cmdTcancel = control<QPushButton>(this, "cmdTcancel", QStringLiteral("読込中止"), 7740, 5220, 1575, 255);
    Command10 = control<QPushButton>(this, "Command10", QStringLiteral("サムネール非表示"), 7740, 5460, 1575, 255);
    Command9 = control<QPushButton>(this, "Command9", QStringLiteral("   サムネールの    プリント"), 7740, 5700, 1575, 495);
}

void frmviewer::buildDisplaySettingsPanel()
{
    Frame2 = panel(this, "Frame2", 4860, 6840, 4395, 2115);
    Option1 = control<QRadioButton>(Frame2, "Option1", QStringLiteral("Fit Size"), 180, 240, 1095, 180);
    Option2 = control<QRadioButton>(Frame2, "Option2", QStringLiteral("Original Size"), 180, 540, 1455, 255);
    Frame6 = control<design::Frame>(Frame2, "Frame6", QString(), 1560, 600, 2655, 435);
    const char *zoomNames[] = {"Option6_0", "Option6_1", "Option6_2", "Option6_3"};
    const QString zoomCaptions[] = {QStringLiteral("1/2"), QStringLiteral("1"), QStringLiteral("*2"), QStringLiteral("*4")};
    const int zoomPlaces[][2] = {{240, 615}, {900, 435}, {1380, 495}, {1980, 495}};
    for (int i = 0; i < 4; ++i)
        Option6[i] = control<QRadioButton>(Frame6, zoomNames[i], zoomCaptions[i], zoomPlaces[i][0], 180, zoomPlaces[i][1], 180);
    Check2 = control<QCheckBox>(Frame2, "Check2", QStringLiteral("トリミング"), 240, 1020, 1155, 255);
    Label8 = design::wrappedLabel(
        Frame2, "Label8", QStringLiteral("画面上のトリミングしたい所でクリックドラッグしてトリミング枠を作成してください"),
        480, 1320, 3735, 435);
    design::setTextColour(Label8, design::kBlueText);
    Command5 = control<QPushButton>(Frame2, "Command5", QStringLiteral("トリミング"), 240, 1740, 1335, 315);
    Command11 = control<QPushButton>(Frame2, "Command11", QStringLiteral("取り消し"), 1560, 1740, 1335, 315);
    Command18 = control<QPushButton>(Frame2, "Command18", QStringLiteral("決定"), 2880, 1740, 1335, 315);
    Command12 = control<QPushButton>(Frame2, "Command12", QStringLiteral("表示設定を隠す"), 2280, 180, 1935, 315);
}

void frmviewer::buildSlideshowPanel()
{
    Frame3 = panel(this, "Frame3", 4860, 9180, 4395, 2115);
    cmdSstart = control<QPushButton>(Frame3, "cmdSstart", QStringLiteral("開始"), 420, 180, 1335, 375);
    cmdSpause = control<QPushButton>(Frame3, "cmdSpause", QStringLiteral("一時停止"), 1740, 180, 1155, 345);
    cmdSend = control<QPushButton>(Frame3, "cmdSend", QStringLiteral("終了"), 2880, 180, 1155, 375);
    Command2 = control<QPushButton>(Frame3, "Command2", QStringLiteral("| < 先頭に"), 420, 540, 915, 375);
    Command1 = control<QPushButton>(Frame3, "Command1", QStringLiteral("< １つ前に"), 1320, 540, 915, 375);
    Command3 = control<QPushButton>(Frame3, "Command3", QStringLiteral("１つ後へ >"), 2220, 540, 915, 375);
    Command4 = control<QPushButton>(Frame3, "Command4", QStringLiteral("最後に > |"), 3120, 540, 915, 375);
    Label18 = control<QLabel>(Frame3, "Label18", QStringLiteral("ｽﾗｲﾄﾞｼｮｰを止める時は終了ﾎﾞﾀﾝを押して下さい"), 360, 1380, 3615, 180);
    Text10 = control<QLineEdit>(Frame3, "Text10", QString(), 420, 1020, 2295, 270);
    Command20 = control<QPushButton>(Frame3, "Command20", QStringLiteral("全画面表示"), 2940, 1020, 1095, 255);
    Check1 = control<QCheckBox>(Frame3, "Check1", QStringLiteral("繰り返し"), 420, 1740, 1005, 240);
    Label20 = control<QLabel>(Frame3, "Label20", QStringLiteral("コマ送りの間隔"), 1680, 1740, 1260, 195);
    Text11 = control<QLineEdit>(Frame3, "Text11", QStringLiteral("3"), 3120, 1680, 615, 270);
    Label21 = control<QLabel>(Frame3, "Label21", QStringLiteral("秒"), 3840, 1740, 195, 195);
}

void frmviewer::buildAdjustmentsPanel()
{
    Frame4 = panel(this, "Frame4", 120, 9180, 4395, 2115);
    Command19 = control<QPushButton>(Frame4, "Command19", QStringLiteral("リサイズ"), 540, 270, 3390, 315);
    Command14 = control<QPushButton>(Frame4, "Command14", QStringLiteral("明るさ．コントラスト"), 540, 765, 3390, 315);
    Command16 = control<QPushButton>(Frame4, "Command16", QStringLiteral("彩度調整"), 540, 1260, 3390, 315);
    Command17 = control<QPushButton>(Frame4, "Command17", QStringLiteral("中止"), 1380, 1710, 1755, 315);
}

void frmviewer::buildQuickResizePanel()
{
    Frame5 = panel(this, "Frame5", 4680, 9180, 4395, 2235);
    Option3 = control<QRadioButton>(Frame5, "Option3", QStringLiteral("縦横比固定"), 0, 60, 1935, 255);
    Frame7 = control<design::Frame>(Frame5, "Frame7", QString(), 60, 240, 2055, 1335);
    optLong = control<QRadioButton>(Frame7, "optLong", QStringLiteral("長辺を"), 120, 165, 1455, 180);
    Label10 = control<QLabel>(Frame7, "Label10", QStringLiteral("For"), 120, 480, 255, 180);
    Text5 = control<QLineEdit>(Frame7, "Text5", QString(), 480, 390, 975, 270);
    Label11 = control<QLabel>(Frame7, "Label11", QStringLiteral("Pixcel"), 1500, 480, 465, 180);
    optShort = control<QRadioButton>(Frame7, "optShort", QStringLiteral("短辺を"), 120, 750, 1215, 180);
    Label9 = control<QLabel>(Frame7, "Label9", QStringLiteral("For"), 135, 1050, 255, 180);
    Text6 = control<QLineEdit>(Frame7, "Text6", QString(), 480, 960, 975, 270);
    Label12 = control<QLabel>(Frame7, "Label12", QStringLiteral("Pixcel"), 1500, 1020, 465, 180);
    Option4 = control<QRadioButton>(Frame5, "Option4", QStringLiteral("サイズから"), 30, 1560, 1215, 255);
    Text7 = control<QLineEdit>(Frame5, "Text7", QString(), 240, 1800, 1215, 270);
    Label13 = control<QLabel>(Frame5, "Label13", QStringLiteral("Kbyte"), 1500, 1920, 435, 180);
    Option5 = control<QRadioButton>(Frame5, "Option5", QStringLiteral("縦横比無視"), 2160, 60, 1275, 255);
    Label14 = control<QLabel>(Frame5, "Label14", QStringLiteral("Width"), 2160, 540, 420, 180);
    Text8 = control<QLineEdit>(Frame5, "Text8", QString(), 2700, 420, 1095, 270);
    Label15 = control<QLabel>(Frame5, "Label15", QStringLiteral("Pixcel"), 3840, 480, 465, 180);
    Label16 = control<QLabel>(Frame5, "Label16", QStringLiteral("Height"), 2160, 900, 495, 180);
    Text9 = control<QLineEdit>(Frame5, "Text9", QString(), 2700, 840, 1095, 270);
    Label17 = control<QLabel>(Frame5, "Label17", QStringLiteral("Pixcel"), 3840, 900, 465, 180);
    Command23 = control<QPushButton>(Frame5, "Command23", QStringLiteral("自動リサイズ"), 2220, 1590, 2055, 255);
    cmdResize = control<QPushButton>(Frame5, "cmdResize", QStringLiteral("リサイズ"), 2220, 1860, 1095, 255);
    cmdRcancel = control<QPushButton>(Frame5, "cmdRcancel", QStringLiteral("中止"), 3300, 1860, 975, 255);
    Option3->setChecked(true);
    optLong->setChecked(true);
    design::optionGroup(Frame5, {Option3, Option4, Option5});
    // The rule lies on the top edge of Frame7, as its title: in front of
    // the border, which would run through its caption.
    Option3->raise();
    Option3->setAutoFillBackground(true);
}

void frmviewer::buildSuiteControls()
{
    const QString typeList = QStringLiteral("BMP;JPG;TIF;PCX;FPX;PNG");
    Ik5File1 = new imaging::Ik5File(this);
    Ik5File1->setObjectName(QStringLiteral("Ik5File1"));
    Ik5File1->setTypeList(typeList);
    Ik5Common1 = new imaging::Ik5Common(this);
    Ik5Common1->setObjectName(QStringLiteral("Ik5Common1"));
    Ik5Effect1 = new imaging::Ik5Effect(this);
    Ik5Effect1->setObjectName(QStringLiteral("Ik5Effect1"));
}
