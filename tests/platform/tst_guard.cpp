#include <QtTest>

#include <QCheckBox>
#include <QPushButton>

#include "platform/Events.h"
#include "platform/Forms.h"
#include "platform/MessageBox.h"
#include "support/FormTesting.h"
#include "support/ScriptedMessageBoxes.h"

using namespace platform;

namespace {

// A failure of our own kind, as the imaging suite raises them.
class SuiteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class NeverLoads : public Form
{
public:
    void Form_Load() override { throw std::runtime_error("window failed to load"); }
};

// A window with a long operation that yields to the event loop, a second
// start button, a stop button allowed while busy, and a check box.
class WorkForm : public Form
{
public:
    WorkForm()
    {
        Command1->move(0, 0);
        Command2->move(0, 30);
        cmdStop->move(0, 60);
        Check1->move(0, 90);
        resize(200, 150);
        onClick(Command1, this, &WorkForm::Command1_Click);
        onClick(Command2, this, &WorkForm::Command2_Click);
        onClick(cmdStop, this, &WorkForm::cmdStop_Click, WhileBusy::Allowed);
        onClick(Check1, this, &WorkForm::Check1_Click);
    }

    QPushButton *Command1 = new QPushButton(QStringLiteral("Command1"), this);
    QPushButton *Command2 = new QPushButton(QStringLiteral("Command2"), this);
    QPushButton *cmdStop = new QPushButton(QStringLiteral("cmdStop"), this);
    QCheckBox *Check1 = new QCheckBox(QStringLiteral("Check1"), this);
    QStringList log;
    std::function<void()> command1Work;
    std::function<void()> duringYield;

    void Command1_Click()
    {
        log << QStringLiteral("Command1_Click");
        if (command1Work)
            command1Work();
        if (duringYield) {
            QTimer::singleShot(0, this, duringYield);
            yieldToEventLoop();
        }
        log << QStringLiteral("Command1_Click done");
    }
    void Command2_Click() { log << QStringLiteral("Command2_Click"); }
    void cmdStop_Click()
    {
        log << QStringLiteral("cmdStop_Click");
        // A handler that runs starts afresh: the click it causes is not ignored.
        Check1->setChecked(true);
    }
    void Check1_Click() { log << QStringLiteral("Check1_Click"); }
};

using Failure = std::function<void()>;

} // namespace

Q_DECLARE_METATYPE(Failure)

class TestGuard : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { testsupport::unloadAllForms(); }

    void aFailingHandlerShowsItsDescriptionAndTheProgramGoesOn_data()
    {
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QString>("shown");
        QTest::newRow("our own error") << Failure([] { throw SuiteError("damaged file: premature end of data"); })
                                       << "damaged file: premature end of data";
        QTest::newRow("a standard error") << Failure([] { throw std::out_of_range("index 5 out of range"); })
                                          << "index 5 out of range";
        QTest::newRow("Japanese text") << Failure([] { throw std::runtime_error("オーバーフローしました。"); })
                                       << "オーバーフローしました。";
        QTest::newRow("something else") << Failure([] { throw 42; }) << "予期しないエラーが発生しました。";
        QTest::newRow("a window that fails to load") << Failure([] { forms::get<NeverLoads>()->Show(); })
                                                     << "window failed to load";
    }
    void aFailingHandlerShowsItsDescriptionAndTheProgramGoesOn()
    {
        QFETCH(Failure, failure);
        QFETCH(QString, shown);
        testsupport::ScriptedMessageBoxes boxes;
        boxes.expect(msgbox::Ok, shown);
        WorkForm *form = forms::get<WorkForm>();
        form->command1Work = failure;
        form->Command1->click();
        QVERIFY(boxes.verify());
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().first().style, msgbox::OkOnly | msgbox::Critical);
        QCOMPARE(boxes.boxes().first().title, applicationTitle());
        QVERIFY(!forms::isLoaded<NeverLoads>());

        form->Command2->click();
        QCOMPARE(form->log, QStringList({"Command1_Click", "Command2_Click"}));
    }

    void clicksWhileALongOperationYieldsAreIgnoredButStop()
    {
        testsupport::ScriptedMessageBoxes boxes;
        WorkForm *form = forms::get<WorkForm>();
        form->Show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
        form->duringYield = [form] {
            QVERIFY(isBusy());
            QTest::mouseClick(form->Command1, Qt::LeftButton);
            QTest::mouseClick(form->Command2, Qt::LeftButton);
            QTest::mouseClick(form->cmdStop, Qt::LeftButton);
            // A close request then would unload the window under its own operation.
            QVERIFY(!form->close());
        };
        QTest::mouseClick(form->Command1, Qt::LeftButton);

        QCOMPARE(form->log, QStringList({"Command1_Click", "cmdStop_Click", "Check1_Click", "Command1_Click done"}));
        QVERIFY(!isBusy());
        QVERIFY(forms::isLoaded<WorkForm>());

        // Once the operation is over, clicks work again.
        form->log.clear();
        form->duringYield = nullptr;
        QTest::mouseClick(form->Command2, Qt::LeftButton);
        QCOMPARE(form->log, QStringList({"Command2_Click"}));
    }

    void aHandlerOfAnUnloadedFormDoesNotRun()
    {
        WorkForm *form = forms::get<WorkForm>();
        forms::unload<WorkForm>();
        form->Command2->click();
        QVERIFY(form->log.isEmpty());
    }
};

QTEST_MAIN(TestGuard)
#include "tst_guard.moc"
