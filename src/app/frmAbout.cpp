#include "app/frmAbout.h"

#include <QFileInfo>
#include <QKeyEvent>

#include "app/Design.h"
#include "app/Module1.h"
#include "platform/Events.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"

const QString frmAbout::kProductTitle = QStringLiteral("Morvell Image Viewer Lite");

namespace {

const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoPathValue = QStringLiteral("PATH");
const QString kSysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kSysInfoLocationValue = QStringLiteral("MSINFO");
const QString kSysInfoProgram = QStringLiteral("MSINFO32.EXE");

// One line of the etched separator, its width in pixels.
QWidget *etchedLine(QWidget *parent, const char *name, QColor colour, int x1, int y, int x2, int widthPx)
{
    auto *line = design::control<QWidget>(parent, name, x1, y, x2 - x1, 0);
    line->resize(line->width(), widthPx);
    design::setBackground(line, colour);
    return line;
}

} // namespace

frmAbout::frmAbout()
{
    using design::control;
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    platform::setClientSizeTwips(this, 5730, 3555);
    design::setBackground(this, Qt::white);

    picIcon = control<QLabel>(this, "picIcon", 120, 120, 1500, 1500);
    picIcon->setPixmap(QPixmap(QStringLiteral(":/design/about_icon.png")));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont titleFont = font();
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    lblTitle = control<QLabel>(this, "lblTitle", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"), 1920, 120, 3645, 480, titleFont);
    lblVersion = control<QLabel>(this, "lblVersion", QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), 1920, 720, 3645, 225);
    lblDescription = design::wrappedLabel(this, "lblDescription", QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの説明"), 1935, 1080, 3645,
                                          1170);
    // An etched separator: a grey line with a white one just below it.
    Line1[1] = etchedLine(this, "Line1_1", QColor(128, 128, 128), 90, 2445, 5654, 1);
    Line1[0] = etchedLine(this, "Line1_0", Qt::white, 105, 2460, 5654, 2);
    lblDisclaimer = design::wrappedLabel(this, "lblDisclaimer",
                                         QStringLiteral("警告: この製品は著作権法により保護されています。"
                                                        "許可なく複製・配布することはできません。"),
                                         255, 2625, 3870, 825);
    cmdOK = control<QPushButton>(this, "cmdOK", QStringLiteral("OK"), 4260, 2625, 1310, 345);
    cmdOK->setDefault(true);
    cmdSysInfo = control<QPushButton>(this, "cmdSysInfo", QStringLiteral("ｼｽﾃﾑ情報(&S)..."), 4260, 3075, 1310, 345);

    platform::onClick(cmdOK, this, &frmAbout::cmdOK_Click);
    platform::onClick(cmdSysInfo, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load()
{
    platform::centreTwips(this, QRect(QPoint(0, 0), platform::screenSizeTwips()));
    setWindowTitle(kProductTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + Module1::versionText());
    lblTitle->setText(kProductTitle);
    design::fitCaption(lblTitle);
    lblDescription->setText(QStringLiteral("Produse'd By Morvell Communications\r\n\r\n"
                                           "〒100-0001 東京都千代田区架空町1-2-3\r\n"
                                           "モーヴェル・コミュニケーションズ"));
}

void frmAbout::cmdOK_Click()
{
    forms::unload<frmAbout>();
}

// OK is both the default and the cancel button: Enter and Esc press it.
void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        cmdOK->click();
        return;
    }
    platform::Form::keyPressEvent(event);
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    QString path;
    bool started = false;
    try {
        if (GetKeyValue(platform::RegistryRoot::LocalMachine, kSysInfoKey, kSysInfoPathValue, path)) {
            started = platform::startProgram(path);
        } else if (GetKeyValue(platform::RegistryRoot::LocalMachine, kSysInfoLocationKey, kSysInfoLocationValue, path)
                   && QFileInfo::exists(path + QStringLiteral("\\") + kSysInfoProgram)) {
            started = platform::startProgram(path + QStringLiteral("\\") + kSysInfoProgram);
        }
    } catch (const std::exception &) {
        started = false;
    }
    if (!started)
        platform::messageBox(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"), platform::msgbox::OkOnly);
}

bool frmAbout::GetKeyValue(platform::RegistryRoot root, const QString &keyName, const QString &valueName,
                           QString &value)
{
    const auto stored = platform::readRegistryValue(root, keyName, valueName);
    if (!stored) {
        value.clear();
        return false;
    }
    // The stored bytes up to the first NUL.
    const QByteArray text = stored->data.left(stored->data.indexOf('\0') < 0 ? stored->data.size()
                                                                               : stored->data.indexOf('\0'));
    if (stored->type == platform::RegistryType::String) {
        value = QString::fromLocal8Bit(text);
    } else if (stored->type == platform::RegistryType::Dword) {
        // Each byte of the text, last first, in upper-case hexadecimal
        // without leading zeros, after what was passed in; kept as "&h" text.
        QString hex = value;
        for (auto it = text.crbegin(); it != text.crend(); ++it)
            hex += QString::number(static_cast<uchar>(*it), 16).toUpper();
        value = QStringLiteral("&h") + hex;
    }
    return true;
}
