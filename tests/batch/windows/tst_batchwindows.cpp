// The batch windows' handlers without a run: the file list, the folder
// search and its type keys, the picking and search interplay, the buttons
// that open the output window, the output window's folder creation,
// quality bar and destination check, and the two Cancels.

#include <QScopeGuard>
#include <QtTest>

#include "FileSystemFixtures.h"
#include "app/Form2.h"
#include "app/Module1.h"
#include "batch/frmAllsave.h"
#include "batch/frmResize.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"
#include "viewer/frmviewer.h"

using testsupport::ScriptedMessageBoxes;
namespace msgbox = platform::msgbox;

namespace {

void makeTree(const QString &root, const QStringList &names)
{
    for (const QString &name : names) {
        const QString path = root + u'/' + name;
        if (name.endsWith(u'/')) {
            QVERIFY(QDir().mkpath(path));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(path).path()));
            QVERIFY(fixtures::writeBytes(path, "x"));
        }
    }
}

QStringList itemsOf(const QListWidget *list, const QString &stripped = QString())
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items.append(list->item(i)->text().mid(stripped.size()));
    return items;
}

void chooseType(frmResize *window, const QString &type)
{
    const int entry = window->cmbTarget->findText(type);
    if (entry >= 0) {
        window->cmbTarget->setCurrentIndex(entry); // from the list: no Change
    } else {
        window->cmbTarget->setCurrentIndex(-1);
        QTest::keyClicks(window->cmbTarget->lineEdit(), type); // typed: a Change per key
    }
}

void clickFile(frmResize *window, int row)
{
    const QRect place = window->File2->visualItemRect(window->File2->item(row));
    QTest::mouseClick(window->File2->viewport(), Qt::LeftButton, {}, place.center());
}

const QString kSearchTree = QStringLiteral("search tree");

} // namespace

class TestBatchWindows : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_tree; // the search tree's root, without a separator at its end

    // The batch window as 自動リサイズ opens it, its folder list on folder.
    frmResize *batchWindowOn(const QString &folder)
    {
        auto *window = forms::get<frmResize>();
        window->Show();
        window->Dir2->setPath(folder);
        return window;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_tree = QDir::toNativeSeparators(m_dir.filePath(kSearchTree));
        makeTree(m_tree, {"a.jpg", "b.JPG", "c.Jpg", "e.gif", "f.jpeg", "g.png", "h.bmp", "IMG_0001.JPG", "notes.txt",
                          "photosjpg/", "sub/d.jpg"});
    }

    void init()
    {
        AppPath = QStringLiteral(MORVELL_ART_DIR "/");
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void cleanup()
    {
        testsupport::unloadAllForms();
        Module1::resetApplicationState();
    }

    void startState()
    {
        auto *window = batchWindowOn(m_tree);
        QCOMPARE(window->windowTitle(), QStringLiteral("Resize"));
        QCOMPARE(window->cmbTarget->currentText(), QString());
        QCOMPARE((QStringList{window->cmbTarget->itemText(0), window->cmbTarget->itemText(1),
                              window->cmbTarget->itemText(2), window->cmbTarget->itemText(3)}),
                 (QStringList{"JPG(jpg)", "TIF(tif)", "BMP(bmp)", "*.*"}));
        QCOMPARE(window->cmbTarget->count(), 4);
        QVERIFY(window->Option1->isChecked() && window->optLong->isChecked());
        QVERIFY(!window->Check1->isChecked() && !window->Check2->isChecked());
        QVERIFY(window->lstResult->isHidden());
        QVERIFY(window->cmdSearch->isEnabled() && window->cmdAllresize->isEnabled());
        // The pattern ignores letter case, as the design's platform does.
        QCOMPARE(itemsOf(window->File2), (QStringList{"a.jpg", "b.JPG", "c.Jpg", "g.png", "h.bmp", "IMG_0001.JPG"}));
    }

    // The four rules are one group, though two frames with option buttons
    // of their own lie among them.
    void theRulesAreOneGroup()
    {
        auto *window = forms::get<frmResize>();
        const QList<QRadioButton *> rules{window->Option1, window->Option4, window->Option3, window->Option2};
        for (QRadioButton *from : rules)
            for (QRadioButton *to : rules) {
                from->setChecked(true);
                to->setChecked(true);
                QCOMPARE(int(std::count_if(rules.begin(), rules.end(), [](auto *r) { return r->isChecked(); })), 1);
                QVERIFY(to->isChecked() && window->optLong->isChecked());
            }
    }

    // The search takes every entry of the tree, then those whose last
    // three characters are the type's keys, letter case included.
    void search_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("found");
        const QStringList everything{"a.jpg", "b.JPG", "c.Jpg", "e.gif", "f.jpeg", "g.png", "h.bmp", "IMG_0001.JPG",
                                     "notes.txt", "photosjpg", "sub", "sub/d.jpg"};
        QTest::newRow("JPG(jpg): a folder named photosjpg too")
            << "JPG(jpg)" << QStringList{"a.jpg", "b.JPG", "IMG_0001.JPG", "photosjpg", "sub/d.jpg"};
        QTest::newRow("*.*: every file and folder") << "*.*" << everything;
        QTest::newRow("typed *") << "*" << everything;
        QTest::newRow("typed gif: both keys gif") << "gif" << QStringList{"e.gif"};
        QTest::newRow("typed jpeg: both keys jpe") << "jpeg" << QStringList{};
        QTest::newRow("BMP(bmp)") << "BMP(bmp)" << QStringList{"h.bmp"};
    }
    void search()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, found);
        ScriptedMessageBoxes boxes;
        auto *window = batchWindowOn(m_tree);
        window->Check2->setChecked(true);
        chooseType(window, type);
        QTest::mouseClick(window->cmdSearch, Qt::LeftButton);

        QCOMPARE(itemsOf(window->List1, m_tree + QDir::separator()), found);
        QCOMPARE(window->lstResult->count(), 12);
        QCOMPARE(window->Label15->text(), QString::number(found.size()) + QStringLiteral("個のﾌｧｲﾙが検索されました"));
        QCOMPARE(TargetType, type);
        QVERIFY(window->cmdSearch->isEnabled() && window->cmbTarget->isEnabled() && window->cmdAllresize->isEnabled());
    }

    // The highlighted folder is searched, not the open one.
    void theHighlightedFolderIsSearched()
    {
        auto *window = batchWindowOn(m_tree);
        window->Dir2->setListIndex(window->Dir2->listCount() - 1); // "sub"
        window->cmbTarget->setEditText(QStringLiteral("*.*"));
        window->cmdSearch_Click();
        QCOMPARE(itemsOf(window->List1), QStringList{QDir::toNativeSeparators(m_tree + "/sub/d.jpg")});
    }

    void anEmptyTypeFindsNothing()
    {
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok, QStringLiteral("ﾌｧｲﾙﾀｲﾌﾟを選択して下さい"));
        auto *window = batchWindowOn(m_tree);
        window->List1->addItem(QStringLiteral("an earlier result"));
        window->cmdSearch_Click();
        QCOMPARE(boxes.boxes().value(0).title, QStringLiteral("Caution"));
        QCOMPARE(window->List1->count(), 0);
        QCOMPARE(window->Label15->text(), QStringLiteral("0個のﾌｧｲﾙが検索されました"));
    }

    // A folder that cannot be opened gives one "エラー" box; the folders
    // beside it are still searched.
    void aFolderThatCannotBeOpened()
    {
        const QString root = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("tree 2")));
        makeTree(root, {"a/1.jpg", "locked/2.jpg", "z/3.jpg"});
        for (const QString &folder : {m_dir.path(), root, root + "/a", root + "/z"})
            QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)));
        QVERIFY(QFile::setPermissions(root + "/locked", QFileDevice::Permissions()));
        const auto unlock = qScopeGuard([&] { QFile::setPermissions(root + "/locked", QFileDevice::Permissions(0x7700)); });
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok);
        auto *window = batchWindowOn(root);
        window->cmbTarget->setEditText(QStringLiteral("JPG(jpg)"));
        {
            const fixtures::AsUnprivilegedUser user;
            if (fixtures::runningAsRoot() && !user.active())
                QSKIP("cannot drop root's file permissions here");
            window->cmdSearch_Click();
        }
        QVERIFY(boxes.verify());
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("エラー"));
        QCOMPARE(boxes.boxes()[0].style, int(msgbox::OkOnly | msgbox::Exclamation));
        QVERIFY(boxes.boxes()[0].text.contains(root + QStringLiteral("/locked")));
        QCOMPARE(itemsOf(window->List1, root + QDir::separator()), (QStringList{"a/1.jpg", "z/3.jpg"}));
    }

    // While the search yields, "OK", "No Risaiz", "Cancel", the close box,
    // a file click and a second search are ignored until it ends.
    void clicksDuringTheSearchAreIgnored()
    {
        ScriptedMessageBoxes boxes;
        auto *window = batchWindowOn(m_tree);
        window->Text6->setText(QStringLiteral("640"));
        window->cmbTarget->setEditText(QStringLiteral("JPG(jpg)"));
        int yields = 0;
        QTimer during;
        connect(&during, &QTimer::timeout, this, [&] {
            if (yields++ > 0)
                return;
            for (QPushButton *button : {window->cmdAllresize, window->Command3, window->Command2, window->cmdSearch})
                QTest::mouseClick(button, Qt::LeftButton);
            clickFile(window, 0);
            window->close();
            window->cmdSearch_Click();
        });
        during.start(0);
        window->cmdSearch_Click();
        during.stop();
        QVERIFY(yields > 0);
        QCOMPARE(window->List1->count(), 5);
        QVERIFY(forms::isLoaded<frmResize>() && window->isVisible());
        QVERIFY(!forms::isLoaded<frmAllsave>() && !forms::isLoaded<frmviewer>());
    }

    // Picking files by hand and searching discard each other's choice.
    void pickingAndSearching()
    {
        auto *window = batchWindowOn(m_tree);
        clickFile(window, 0);
        QVERIFY(!window->cmdSearch->isEnabled());
        window->Check2->setChecked(true);
        QVERIFY(window->cmdSearch->isEnabled());
        QCOMPARE(window->File2->selectedItems().size(), 0);

        chooseType(window, QStringLiteral("JPG(jpg)"));
        QCOMPARE(TargetType, QString()); // an entry chosen from the list is no edit
        window->cmdSearch_Click();
        QCOMPARE(window->List1->count(), 5);
        clickFile(window, 1);
        QCOMPARE(window->List1->count(), 0);
        QVERIFY(!window->cmdSearch->isEnabled());
        window->Command4_Click();
        QCOMPARE(window->File2->selectedItems().size(), 0);
        QVERIFY(window->cmdSearch->isEnabled());

        // Unchecking empties the result and the type; emptying the type is
        // an edit of it, which enables the search again.
        window->cmdSearch_Click();
        window->List1->selectAll();
        window->Check2->setChecked(false);
        QCOMPARE(window->List1->count(), 0);
        QCOMPARE(window->cmbTarget->currentText(), QString());
        QCOMPARE(TargetType, QString());
        QVERIFY(window->cmdSearch->isEnabled());
        // With the type already empty nothing is edited: the search stays off.
        window->Check2->setChecked(true);
        window->Check2->setChecked(false);
        QVERIFY(!window->cmdSearch->isEnabled());
        QTest::keyClicks(window->cmbTarget->lineEdit(), QStringLiteral("tif"));
        QCOMPARE(TargetType, QStringLiteral("tif"));
        QVERIFY(window->cmdSearch->isEnabled());
    }

    // "OK" and "No Risaiz" open the output window with the start buttons
    // of what was chosen; "OK" wants a size somewhere, but does not check
    // it against the rule.
    void openers_data()
    {
        QTest::addColumn<bool>("noResize"); // else "OK"
        QTest::addColumn<bool>("searched");
        QTest::addColumn<QString>("typed"); // Text4, Text6 or Text7: the box filled
        QTest::addColumn<QString>("rule");  // Option2 or Option4 selected, else Option1
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QList<bool>>("enabled"); // cmdResize, cmdAllresize, Command1
        QTest::newRow("OK after a search") << false << true << "Text6" << "" << true << QList<bool>{false, true, false};
        QTest::newRow("OK with picked files") << false << false << "Text4" << "" << true << QList<bool>{true, false, false};
        QTest::newRow("OK, Kbyte typed under the long side")
            << false << false << "Text7" << "" << true << QList<bool>{true, false, false};
        QTest::newRow("OK, the box rule with empty boxes")
            << false << false << "" << "Option4" << true << QList<bool>{true, false, false};
        QTest::newRow("OK, the free rule with empty boxes")
            << false << true << "" << "Option2" << true << QList<bool>{false, true, false};
        QTest::newRow("OK with nothing typed: loaded, not shown")
            << false << true << "" << "" << false << QList<bool>{false, true, false};
        QTest::newRow("No Risaiz after a search") << true << true << "" << "" << true << QList<bool>{false, false, true};
        QTest::newRow("No Risaiz with picked files") << true << false << "" << "" << true << QList<bool>{false, false, true};
    }
    void openers()
    {
        QFETCH(bool, noResize);
        QFETCH(bool, searched);
        QFETCH(QString, typed);
        QFETCH(QString, rule);
        QFETCH(bool, shown);
        QFETCH(QList<bool>, enabled);
        ScriptedMessageBoxes boxes;
        if (!shown)
            boxes.expect(msgbox::Ok, QStringLiteral("数値を入力して下さい"));
        auto *window = batchWindowOn(m_tree);
        if (searched)
            window->List1->addItems({m_tree + "/a.jpg", m_tree + "/b.JPG"});
        if (!typed.isEmpty())
            window->findChild<QLineEdit *>(typed)->setText(QStringLiteral("640"));
        if (!rule.isEmpty())
            window->findChild<QRadioButton *>(rule)->setChecked(true);
        QTest::mouseClick(noResize ? window->Command3 : window->cmdAllresize, Qt::LeftButton);

        QVERIFY(boxes.verify());
        QVERIFY(forms::isLoaded<frmAllsave>());
        auto *output = forms::get<frmAllsave>();
        QCOMPARE(output->isVisible(), shown);
        QCOMPARE((QList<bool>{output->cmdResize->isEnabled(), output->cmdAllresize->isEnabled(),
                              output->Command1->isEnabled()}),
                 enabled);
        QCOMPARE(FolderMode, searched);
        QCOMPARE(window->List1->selectedItems().size(), window->List1->count());
    }

    void cancelBringsBackTheMainWindow()
    {
        auto *window = batchWindowOn(m_tree);
        window->Command3_Click(); // the output window is open too
        QTest::mouseClick(window->Command2, Qt::LeftButton);
        QVERIFY(!forms::isLoaded<frmResize>());
        QVERIFY(forms::isLoaded<frmAllsave>());
        QVERIFY(forms::isLoaded<frmviewer>());
        frmviewer *viewer = forms::get<frmviewer>();
        QVERIFY(viewer->isVisible());
        QCOMPARE(viewer->Ik5Disp1->handle(), imaging::Handle(0));
        QVERIFY(viewer->Frame5->isHidden());
    }

    void outputWindowStartState()
    {
        auto *output = forms::get<frmAllsave>();
        QCOMPARE(output->windowTitle(), QStringLiteral("Set Save Dir"));
        QCOMPARE(output->txtCurdir->text(), output->Dir1->path());
        QCOMPARE(output->Dir1->path(), QDir::toNativeSeparators(m_dir.path()));
        QCOMPARE(output->txtDirName->text(), QStringLiteral("NewFolder"));
        QVERIFY(output->optJpg->isChecked() && output->Option2->isChecked() && !output->Check1->isChecked());
        QCOMPARE(output->Label4->text(), QString());
        QCOMPARE(output->HScroll1->minimum(), 0);
        QCOMPARE(output->HScroll1->maximum(), 100);
        QCOMPARE(output->HScroll1->value(), 0);
        // Later list windows start in the program folder.
        QCOMPARE(QDir::currentPath(), QDir(AppPath).absolutePath());
    }

    // A click on a folder makes it the destination without opening it; the
    // bar writes the custom quality into the label.
    void destinationAndQuality()
    {
        auto *output = forms::get<frmAllsave>();
        const QString open = output->Dir1->path();
        for (int i = 0; i < output->Dir1->listCount(); ++i)
            if (output->Dir1->list(i) == m_tree)
                output->Dir1->setListIndex(i);
        QCOMPARE(output->txtCurdir->text(), QDir::toNativeSeparators(m_tree));
        QCOMPARE(output->Dir1->path(), open);
        output->HScroll1->setValue(75);
        QCOMPARE(output->Label4->text(), QStringLiteral("75"));
        output->Option4->setChecked(true);
        QCOMPARE(output->chosenQuality(), savepath::Quality::Custom);
    }

    void createFolder_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message"); // empty: created
        const QString used = QStringLiteral("同じ名前のファイルかフォルダーが存在します");
        QTest::newRow("a folder of that name in another case") << QStringList{"newfolder/"} << "NewFolder" << used;
        QTest::newRow("a file of that name") << QStringList{"NEWFOLDER"} << "NewFolder" << used;
        QTest::newRow("no name, among files") << QStringList{"x.jpg"} << ""
                                              << QStringLiteral("新しいディレクトリー名を入力して下さい");
        QTest::newRow("no name, no file to compare with") << QStringList{"sub/"} << "" << used;
        QTest::newRow("a new name") << QStringList{"x.jpg"} << "小さい 写真" << "";
    }
    void createFolder()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QTemporaryDir dir;
        makeTree(dir.path(), present);
        ScriptedMessageBoxes boxes;
        if (!message.isEmpty())
            boxes.expect(msgbox::Ok, message);
        auto *output = forms::get<frmAllsave>();
        const QString listed = output->Dir1->path();
        const QString folder = QDir::toNativeSeparators(dir.path());
        output->txtCurdir->setText(folder);
        output->txtDirName->setText(name);
        QTest::mouseClick(output->cndDir, Qt::LeftButton);

        QVERIFY(boxes.verify());
        QCOMPARE(output->txtDirName->text(), QString());
        QCOMPARE(output->Dir1->path(), listed);
        const QString created = folder + QDir::separator() + name;
        if (message.isEmpty()) {
            QVERIFY(QFileInfo(created).isDir());
            QCOMPARE(output->txtCurdir->text(), created);
            QCOMPARE(QDir::toNativeSeparators(QDir::currentPath()), created);
        } else {
            QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Caution"));
            QCOMPARE(output->txtCurdir->text(), folder);
            QCOMPARE(fixtures::folderListing(dir.path()).size(), present.size());
        }
    }

    // No destination: the message, and nothing starts.
    void anEmptyDestination_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("ﾌｫﾙﾀﾞｰ一括ﾘｻｲｽﾞ") << "cmdAllresize";
        QTest::newRow("選択ﾌｧｲﾙをﾘｻｲｽﾞ") << "cmdResize";
        QTest::newRow("リサイズせずに保存形式のみ変更") << "Command1";
    }
    void anEmptyDestination()
    {
        QFETCH(QString, button);
        ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok, QStringLiteral("保存するフォルダーを選択して下さい"));
        auto *window = batchWindowOn(m_tree);
        window->File2->selectAll();
        auto *output = forms::get<frmAllsave>();
        output->Show();
        for (QPushButton *start : {output->cmdResize, output->cmdAllresize, output->Command1})
            start->setEnabled(true);
        output->txtCurdir->clear();
        QTest::mouseClick(output->findChild<QPushButton *>(button), Qt::LeftButton);
        QVERIFY(boxes.verify());
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Caution"));
        QVERIFY(forms::isLoaded<frmResize>() && forms::isLoaded<frmAllsave>());
        QVERIFY(!forms::isLoaded<frmviewer>() && !forms::isLoaded<Form2>());
    }

    // The output window's Cancel goes back to the batch window only.
    void outputCancel()
    {
        auto *window = batchWindowOn(m_tree);
        window->Command3_Click();
        QTest::mouseClick(forms::get<frmAllsave>()->Command3, Qt::LeftButton);
        QVERIFY(!forms::isLoaded<frmAllsave>());
        QVERIFY(forms::isLoaded<frmResize>() && window->isVisible());
        QVERIFY(!forms::isLoaded<frmviewer>());
    }
};

QTEST_MAIN(TestBatchWindows)
#include "tst_batchwindows.moc"
