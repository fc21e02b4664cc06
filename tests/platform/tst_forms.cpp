#include <QtTest>

#include <QLineEdit>
#include <QPushButton>

#include "platform/Controls.h"
#include "platform/Events.h"
#include "platform/Forms.h"
#include "platform/MessageBox.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"

using platform::Form;

namespace {

// What the forms of this test did, in order.
QStringList events;

// A window with a text box, a button and a timer; what its events do is set
// by each test, since forms::get builds the instances.
class PlainForm : public Form
{
public:
    PlainForm()
    {
        Text1->setObjectName(QStringLiteral("Text1"));
        Text1->setText(QStringLiteral("design"));
        Command1->setObjectName(QStringLiteral("Command1"));
        Timer1->setObjectName(QStringLiteral("Timer1"));
        Timer1->setInterval(60000);
        platform::onClick(Command1, this, &PlainForm::Command1_Click);
    }

    QLineEdit *Text1 = new QLineEdit(this);
    QPushButton *Command1 = new QPushButton(this);
    platform::Timer *Timer1 = new platform::Timer(this);

    static inline std::function<void(PlainForm &)> onLoad;
    static inline std::function<void(PlainForm &)> onUnload;
    static inline std::function<void(PlainForm &)> onCommand1;

    void Form_Load() override
    {
        events << QStringLiteral("PlainForm load");
        if (onLoad)
            onLoad(*this);
    }
    void Form_Unload() override
    {
        events << QStringLiteral("PlainForm unload");
        if (onUnload)
            onUnload(*this);
    }
    void Command1_Click()
    {
        events << QStringLiteral("PlainForm Command1_Click");
        if (onCommand1)
            onCommand1(*this);
    }
};

class OtherForm : public Form
{
public:
    OtherForm() { Text1->setText(QStringLiteral("other design")); }
    QLineEdit *Text1 = new QLineEdit(this);
    void Form_Load() override { events << QStringLiteral("OtherForm load"); }
    void Form_Unload() override { events << QStringLiteral("OtherForm unload"); }
};

class FailingLoadForm : public Form
{
public:
    void Form_Load() override
    {
        events << QStringLiteral("FailingLoadForm load");
        throw std::runtime_error("cannot load");
    }
};

class FailingUnloadForm : public Form
{
public:
    void Form_Unload() override
    {
        events << QStringLiteral("FailingUnloadForm unload");
        throw std::runtime_error("cannot unload");
    }
};

} // namespace

// A short window whose lower controls lie below its edge, as the main
// window's thumbnail strip does until the window grows.
class ShortForm : public Form
{
public:
    ShortForm()
    {
        resize(200, 100);
        Top->setGeometry(0, 0, 80, 20);
        Below->setGeometry(0, 120, 80, 20);
        Picture->setGeometry(0, 40, 80, 20);
        PartlyShown->setGeometry(0, 90, 80, 20);
    }
    QPushButton *Top = new QPushButton(QStringLiteral("Top"), this);
    QPushButton *Below = new QPushButton(QStringLiteral("Below"), this);
    platform::PictureButton *Picture = new platform::PictureButton(this);
    QPushButton *PartlyShown = new QPushButton(QStringLiteral("PartlyShown"), this);
};

class TestForms : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        events.clear();
        PlainForm::onLoad = nullptr;
        PlainForm::onUnload = nullptr;
        PlainForm::onCommand1 = nullptr;
    }
    void cleanup() { testsupport::unloadAllForms(); }

    void tabPassesOverControlsBelowTheWindowsEdge_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QStringList>("visited");
        QTest::newRow("short: forward") << 100 << true << QStringList{"Picture", "PartlyShown", "Top"};
        QTest::newRow("short: backward") << 100 << false << QStringList{"PartlyShown", "Picture", "Top"};
        QTest::newRow("tall enough: every control")
            << 200 << true << QStringList{"Below", "Picture", "PartlyShown", "Top"};
    }
    void tabPassesOverControlsBelowTheWindowsEdge()
    {
        QFETCH(int, height);
        QFETCH(bool, forward);
        QFETCH(QStringList, visited);
        auto *form = forms::get<ShortForm>();
        form->Picture->setText(QStringLiteral("Picture"));
        form->resize(200, height);
        form->Show();
        QVERIFY(QTest::qWaitForWindowActive(form));
        form->Top->setFocus();
        QStringList seen;
        for (qsizetype i = 0; i < visited.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, forward ? Qt::NoModifier : Qt::ShiftModifier);
            auto *focused = qobject_cast<QAbstractButton *>(QApplication::focusWidget());
            seen << (focused ? focused->text() : QString());
        }
        QCOMPARE(seen, visited);
    }

    void everyLoadStartsFromTheDesign()
    {
        PlainForm *first = forms::get<PlainForm>();
        first->Text1->setText(QStringLiteral("changed"));
        QCOMPARE(forms::get<PlainForm>(), first);
        QCOMPARE(first->Text1->text(), QStringLiteral("changed"));

        forms::unload<PlainForm>();
        PlainForm *second = forms::get<PlainForm>();
        QVERIFY(second != first);
        QCOMPARE(second->Text1->text(), QStringLiteral("design"));
        QVERIFY(!second->isUnloaded());
        QVERIFY(first->isUnloaded());
    }

    void loadAndUnloadRunOnceEach()
    {
        PlainForm::onLoad = [](PlainForm &form) {
            // Code run by Form_Load reaches the instance being loaded.
            events << (forms::get<PlainForm>() == &form ? QStringLiteral("same in load") : QStringLiteral("other in load"));
        };
        PlainForm::onUnload = [](PlainForm &form) {
            events << (forms::get<PlainForm>() == &form ? QStringLiteral("same in unload") : QStringLiteral("other in unload"));
        };
        QVERIFY(!forms::isLoaded<PlainForm>());
        forms::get<PlainForm>();
        forms::get<PlainForm>();
        QVERIFY(forms::isLoaded<PlainForm>());
        forms::unload<PlainForm>();
        forms::unload<PlainForm>();
        QVERIFY(!forms::isLoaded<PlainForm>());
        QCOMPARE(events, QStringList({"PlainForm load", "same in load", "PlainForm unload", "same in unload"}));
    }

    void unloadingAFormThatIsNotLoadedDoesNothing()
    {
        forms::unload<OtherForm>();
        forms::unload(nullptr);
        QVERIFY(events.isEmpty());
    }

    void aHandlerMayUnloadItsOwnFormAndGoOn_data()
    {
        QTest::addColumn<bool>("clickedByUser");
        QTest::newRow("clicked by the user") << true;
        QTest::newRow("handler called from code") << false;
    }
    void aHandlerMayUnloadItsOwnFormAndGoOn()
    {
        QFETCH(bool, clickedByUser);
        PlainForm::onCommand1 = [](PlainForm &form) {
            forms::unload<PlainForm>();
            // The object outlives the unload until the handler returns, even
            // across a yield to the event loop.
            form.Text1->setText(QStringLiteral("after unload"));
            platform::yieldToEventLoop();
            events << form.Text1->text();
        };
        PlainForm *form = forms::get<PlainForm>();
        form->Show();
        const QPointer<PlainForm> old(form);
        if (clickedByUser)
            QTest::mouseClick(form->Command1, Qt::LeftButton);
        else
            form->Command1_Click();

        QCOMPARE(events, QStringList({"PlainForm load", "PlainForm Command1_Click", "PlainForm unload", "after unload"}));
        QVERIFY(!forms::isLoaded<PlainForm>());
        QVERIFY(!form->isVisible());
        QTRY_VERIFY(old.isNull());
    }

    void aHandlerMayUnloadAndReloadAnotherForm()
    {
        OtherForm *other = forms::get<OtherForm>();
        other->Text1->setText(QStringLiteral("changed"));
        OtherForm *reloaded = nullptr;
        PlainForm::onCommand1 = [&reloaded](PlainForm &) {
            forms::unload<OtherForm>();
            reloaded = forms::get<OtherForm>();
        };
        forms::get<PlainForm>()->Command1->click();

        QVERIFY(reloaded != other);
        QCOMPARE(reloaded->Text1->text(), QStringLiteral("other design"));
        QCOMPARE(forms::get<OtherForm>(), reloaded);
        QCOMPARE(events, QStringList({"OtherForm load", "PlainForm load", "PlainForm Command1_Click", "OtherForm unload",
                                      "OtherForm load"}));
    }

    void anUnloadedFormRunsNoMoreHandlersAndItsTimersStop()
    {
        PlainForm *form = forms::get<PlainForm>();
        QVERIFY(form->Timer1->isEnabled());
        forms::unload<PlainForm>();
        events.clear();
        form->Command1->click();
        QVERIFY(events.isEmpty());
        QVERIFY(!form->Timer1->isEnabled());
    }

    void closingTheWindowUnloadsIt()
    {
        PlainForm *form = forms::get<PlainForm>();
        form->Show();
        QVERIFY(form->close());
        QVERIFY(!forms::isLoaded<PlainForm>());
        QVERIFY(!form->isVisible());
        QCOMPARE(events, QStringList({"PlainForm load", "PlainForm unload"}));
    }

    void aFailingFormLoadLeavesTheFormUnloaded()
    {
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, forms::get<FailingLoadForm>());
        QVERIFY(!forms::isLoaded<FailingLoadForm>());
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, forms::get<FailingLoadForm>());
        QCOMPARE(events, QStringList({"FailingLoadForm load", "FailingLoadForm load"}));
    }

    void aFailingFormUnloadStillUnloads()
    {
        forms::get<FailingUnloadForm>();
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, forms::unload<FailingUnloadForm>());
        QVERIFY(!forms::isLoaded<FailingUnloadForm>());

        // Closed by the user, the failure is shown and the window still goes.
        testsupport::ScriptedMessageBoxes boxes;
        boxes.expect(platform::msgbox::Ok, QStringLiteral("cannot unload"));
        FailingUnloadForm *form = forms::get<FailingUnloadForm>();
        form->Show();
        QVERIFY(form->close());
        QVERIFY(!forms::isLoaded<FailingUnloadForm>());
    }

    void unloadAllUnloadsNewestFirst()
    {
        forms::get<PlainForm>();
        forms::get<OtherForm>();
        // A window that ends the program from its own Form_Unload.
        PlainForm::onUnload = [](PlainForm &) { forms::unloadAll(); };
        forms::unloadAll();
        QVERIFY(!forms::isLoaded<PlainForm>());
        QVERIFY(!forms::isLoaded<OtherForm>());
        QCOMPARE(events, QStringList({"PlainForm load", "OtherForm load", "OtherForm unload", "PlainForm unload"}));
    }

    void showReturnsAtOnce()
    {
        PlainForm *form = forms::get<PlainForm>();
        QVERIFY(!form->isVisible());
        form->Show();
        QVERIFY(form->isVisible());
        QVERIFY(!form->isModal());
        form->Hide();
        QVERIFY(!form->isVisible());
        QVERIFY(forms::isLoaded<PlainForm>());
    }

    void showModalReturnsWhenTheFormIsDone_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("stillLoaded");
        QTest::newRow("unloaded from outside") << "unload" << false;
        QTest::newRow("unloads itself in its handler") << "click" << false;
        QTest::newRow("hidden") << "hide" << true;
        QTest::newRow("closed by the user") << "close" << false;
    }
    void showModalReturnsWhenTheFormIsDone()
    {
        QFETCH(QString, how);
        QFETCH(bool, stillLoaded);
        PlainForm::onCommand1 = [](PlainForm &) { forms::unload<PlainForm>(); };
        PlainForm *form = forms::get<PlainForm>();
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            wasModal = QApplication::activeModalWidget() == form;
            if (how == "unload")
                forms::unload<PlainForm>();
            else if (how == "click")
                QTest::mouseClick(form->Command1, Qt::LeftButton);
            else if (how == "hide")
                form->Hide();
            else
                form->close();
        });
        form->ShowModal();

        QVERIFY(wasModal);
        QCOMPARE(forms::isLoaded<PlainForm>(), stillLoaded);
        if (stillLoaded) {
            QVERIFY(!form->isModal());
            form->Show();
            QVERIFY(!form->isModal());
        }
    }

    void aModalFormOpenedFromAHandlerThatUnloadedItsOwnForm_data() { aHandlerMayUnloadItsOwnFormAndGoOn_data(); }
    void aModalFormOpenedFromAHandlerThatUnloadedItsOwnForm()
    {
        QFETCH(bool, clickedByUser);
        // The handler's own form is unloaded, then a modal window runs its
        // own event loop; the handler's form must survive that loop.
        PlainForm::onCommand1 = [](PlainForm &form) {
            forms::unload<PlainForm>();
            QTimer::singleShot(0, [] { forms::unload<OtherForm>(); });
            forms::get<OtherForm>()->ShowModal();
            events << form.Text1->text();
        };
        PlainForm *form = forms::get<PlainForm>();
        form->Show();
        const QPointer<PlainForm> old(form);
        if (clickedByUser)
            QTest::mouseClick(form->Command1, Qt::LeftButton);
        else
            form->Command1_Click();
        QCOMPARE(events.last(), QStringLiteral("design"));
        QVERIFY(!forms::isLoaded<OtherForm>());
        QTRY_VERIFY(old.isNull());
    }
};

QTEST_MAIN(TestForms)
#include "tst_forms.moc"
