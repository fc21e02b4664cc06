#include <functional>

#include <QtTest>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QTreeView>

#include "imaging/core/FileDialogSeam.h"
#include "imaging/widgets/RealOpenFileDialog.h"

using namespace imaging;

namespace {

const QString kTypeList = QStringLiteral("BMP;JPG;TIF;PCX;FPX;PNG");

// Answers the next file dialog that opens, from inside its event loop.
void answerNextDialog(std::function<void(QFileDialog &)> answer)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *dialog = qobject_cast<QFileDialog *>(widget);
            if (dialog && dialog->isVisible()) {
                poll->deleteLater();
                poll->stop();
                answer(*dialog);
                return;
            }
        }
    });
    poll->start(10);
}

void createFile(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
}

} // namespace

class TestRealOpenFileDialog : public QObject
{
    Q_OBJECT

private slots:
    void filtersFromTheTypeList_data()
    {
        QTest::addColumn<QString>("typeList");
        QTest::addColumn<QStringList>("filters");
        const QString all = QStringLiteral("すべてのファイル (*)");
        QTest::newRow("the viewer's list") << kTypeList << QStringList{
            QStringLiteral("画像ファイル (*.bmp *.jpg *.jpeg *.jpe *.tif *.tiff *.pcx *.fpx *.png)"), all};
        QTest::newRow("lower case and blanks") << QStringLiteral(" png ; jpg ")
                                               << QStringList{QStringLiteral("画像ファイル (*.png *.jpg *.jpeg *.jpe)"), all};
        QTest::newRow("JPG and JPEG name one type") << QStringLiteral("JPG;JPEG")
                                                   << QStringList{QStringLiteral("画像ファイル (*.jpg *.jpeg *.jpe)"), all};
        QTest::newRow("empty entries are skipped") << QStringLiteral(";;BMP;")
                                                  << QStringList{QStringLiteral("画像ファイル (*.bmp)"), all};
        QTest::newRow("no types: all files only") << QString() << QStringList{all};
    }
    void filtersFromTheTypeList()
    {
        QFETCH(QString, typeList);
        QFETCH(QStringList, filters);
        QCOMPARE(openFileFilters(typeList), filters);
    }

    void listsImagesWhateverTheCaseOfTheirNames()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QStringList images{QStringLiteral("IMG_0001.JPG"), QStringLiteral("scan.Tif"),
                                 QStringLiteral("写真 1.png"), QStringLiteral("old.pcx")};
        for (const QString &name : images + QStringList{QStringLiteral("notes.txt"), QStringLiteral("a.webp")})
            createFile(folder.filePath(name));

        QFileDialog dialog;
        configureOpenFileDialog(dialog, kTypeList);
        dialog.setDirectory(folder.path());
        auto *model = dialog.findChild<QFileSystemModel *>();
        QVERIFY(model);
        const auto listed = [&] {
            QStringList names;
            const QModelIndex parent = model->index(folder.path());
            for (int row = 0; row < model->rowCount(parent); ++row)
                names << model->index(row, 0, parent).data().toString();
            names.sort();
            return names;
        };
        QStringList expected = images;
        expected.sort();
        QTRY_COMPARE(listed(), expected);
    }

    void kbyteSizes_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("empty") << qint64(0) << QStringLiteral("0.0 Kbyte");
        QTest::newRow("1000 bytes are one Kbyte") << qint64(1000) << QStringLiteral("1.0 Kbyte");
        QTest::newRow("a photo, grouped") << qint64(4379037) << QStringLiteral("4,379.0 Kbyte");
    }
    void kbyteSizes()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, shown);
        QCOMPARE(kbyteText(bytes), shown);
    }

    // Before the first choice the dialog opens where the program was
    // started, as the folder lists do, and its list shows every column whole.
    void startsInTheCurrentFolderWithWholeColumns()
    {
        QTemporaryDir folder;
        const QString name = QStringLiteral("夏休みの海辺で撮った写真 2024年8月 0001.JPG");
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2500, 'x')) == 2500);
        file.close();
        const QString started = QDir::currentPath();
        QVERIFY(QDir::setCurrent(folder.path()));

        QFileDialog dialog;
        configureOpenFileDialog(dialog, kTypeList);
        QVERIFY(QDir::setCurrent(started));
        QCOMPARE(dialog.directory().absolutePath(), QDir(folder.path()).absolutePath());

        dialog.show();
        auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
        QVERIFY(view);
        QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 1);
        const QModelIndex row = view->model()->index(0, 0, view->rootIndex());
        QCOMPARE(row.siblingAtColumn(1).data().toString(), QStringLiteral("2.5 Kbyte"));
        for (int column = 0; column < 4; ++column)
            QTRY_VERIFY2(view->header()->sectionSize(column) >= static_cast<QAbstractItemView *>(view)->sizeHintForColumn(column),
                         qPrintable(QStringLiteral("column %1 is cut").arg(column)));
    }

    void installedDialogReturnsTheChosenFile()
    {
        const OpenFileDialog previous = setOpenFileDialog({});
        installRealOpenFileDialog();
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("夏 休み")));
        const QString photo = folder.filePath(QStringLiteral("夏 休み/海の 写真.JPG"));
        createFile(photo);

        QString title;
        answerNextDialog([&](QFileDialog &dialog) {
            title = dialog.windowTitle();
            dialog.selectFile(photo);
            static_cast<QDialog &>(dialog).accept(); // QFileDialog::accept checks the file
        });
        QCOMPARE(showOpenFileDialog(kTypeList), QDir::toNativeSeparators(photo));
        QCOMPARE(title, QStringLiteral("ファイルを開く"));

        // The next dialog starts where the last file was chosen; cancelling chooses nothing.
        QString startFolder;
        answerNextDialog([&](QFileDialog &dialog) {
            startFolder = dialog.directory().absolutePath();
            dialog.reject();
        });
        QCOMPARE(showOpenFileDialog(kTypeList), QString());
        QCOMPARE(startFolder, QFileInfo(photo).absolutePath());

        (void)setOpenFileDialog(previous);
    }
};

QTEST_MAIN(TestRealOpenFileDialog)
#include "tst_realopenfiledialog.moc"
