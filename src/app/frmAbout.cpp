#include "app/frmAbout.h"

#include <QFileInfo>
#include <QKeyEvent>

#include "app/Module1.h"
#include "platform/Events.h"
#include "platform/MessageBox.h"
#include "platform/Twips.h"

using platform::place;

const QString frmAbout::kProductTitle = QStringLiteral("Morvell Image Viewer Lite");

namespace {

const QString kSysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kSysInfoPathValue = QStringLiteral("PATH");
const QString kSysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString kSysInfoLocationValue = QStringLiteral("MSINFO");
const QString kSysInfoProgram = QStringLiteral("MSINFO32.EXE");

QWidget *etchedLine(QWidget *parent, QColor colour, int x1, int y, int x2, int widthPx)
{
    auto *line = new QWidget(parent);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    line->setGeometry(platform::twipsToPixels(x1), platform::twipsToPixels(y),
                      platform::twipsToPixels(x2 - x1), widthPx);
    return line;
}

} // namespace

frmAbout::frmAbout()
    : picIcon(new QLabel(this))
    , lblTitle(new QLabel(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ ﾀｲﾄﾙ"), this))
    , lblVersion(new QLabel(QStringLiteral("ﾊﾞｰｼﾞｮﾝ"), this))
    , lblDescription(new QLabel(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの説明"), this))
    , Line1{nullptr, nullptr}
    , lblDisclaimer(new QLabel(this))
    , cmdOK(new QPushButton(QStringLiteral("OK"), this))
    , cmdSysInfo(new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this))
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(platform::twipsRect(0, 0, 5730, 3555).size());
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    place(picIcon, 120, 120, 1500, 1500);
    picIcon->setPixmap(QPixmap(QStringLiteral(":/design/about_icon.png")));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblTitle, 1920, 120, 3645, 480);
    QFont titleFont = lblTitle->font();
    titleFont.setPixelSize(16);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    place(lblVersion, 1920, 720, 3645, 225);
    place(lblDescription, 1935, 1080, 3645, 1170);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // An etched separator: a grey line with a white one just below it.
    Line1[1] = etchedLine(this, QColor(128, 128, 128), 90, 2445, 5654, 1);
    Line1[0] = etchedLine(this, Qt::white, 105, 2460, 5654, 2);
    place(lblDisclaimer, 255, 2625, 3870, 825);
    lblDisclaimer->setText(QStringLiteral("警告: この製品は著作権法により保護されています。"
                                          "許可なく複製・配布することはできません。"));
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(cmdOK, 4260, 2625, 1310, 345);
    cmdOK->setDefault(true);
    place(cmdSysInfo, 4260, 3075, 1310, 345);

    const std::pair<QWidget *, const char *> names[] = {
        {picIcon, "picIcon"}, {lblTitle, "lblTitle"}, {lblVersion, "lblVersion"},
        {lblDescription, "lblDescription"}, {Line1[0], "Line1_0"}, {Line1[1], "Line1_1"},
        {lblDisclaimer, "lblDisclaimer"}, {cmdOK, "cmdOK"}, {cmdSysInfo, "cmdSysInfo"}};
    for (const auto &[control, name] : names)
        control->setObjectName(QString::fromLatin1(name));

    platform::onClick(cmdOK, this, &frmAbout::cmdOK_Click);
    platform::onClick(cmdSysInfo, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load()
{
    const QSize screen = platform::screenSizeTwips();
    const QSize self = platform::outerSizeTwips(this);
    platform::moveTwips(this, (screen.width() - self.width()) / 2, (screen.height() - self.height()) / 2);
    setWindowTitle(kProductTitle + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報"));
    lblVersion->setText(QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + Module1::versionText());
    lblTitle->setText(kProductTitle);
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
