#include "support/ScriptedMessageBoxes.h"

#include <QtTest>

namespace testsupport {

namespace {

// What an unexpected box answers: the choice that backs out.
int backOutAnswer(int style)
{
    switch (style & 0x0F) {
    case platform::msgbox::OkCancel:
    case platform::msgbox::YesNoCancel:
    case platform::msgbox::RetryCancel:
        return platform::msgbox::Cancel;
    case platform::msgbox::AbortRetryIgnore:
        return platform::msgbox::Abort;
    case platform::msgbox::YesNo:
        return platform::msgbox::No;
    default:
        return platform::msgbox::Ok;
    }
}

} // namespace

ScriptedMessageBoxes::ScriptedMessageBoxes(std::source_location where)
    : m_createdAt(where)
{
    m_previous = platform::setMessageBox(
        [this](const QString &text, int style, const QString &title) { return answer(text, style, title); });
}

ScriptedMessageBoxes::~ScriptedMessageBoxes()
{
    // A test that failed already returned early: its leftovers say nothing new.
    if (!QTest::currentTestFailed())
        verify(m_createdAt);
    platform::setMessageBox(std::move(m_previous));
}

void ScriptedMessageBoxes::expect(int answer, const QString &text)
{
    m_expected.append({answer, text});
}

int ScriptedMessageBoxes::answer(const QString &text, int style, const QString &title)
{
    m_boxes.append({text, style, title});
    if (m_expected.isEmpty()) {
        m_problems.append(QStringLiteral("unexpected message box: \"%1\" (style %2, title \"%3\")").arg(text).arg(style).arg(title));
        return backOutAnswer(style);
    }
    const Expected expected = m_expected.takeFirst();
    if (!expected.text.isNull() && expected.text != text)
        m_problems.append(QStringLiteral("message box said \"%1\", expected \"%2\"").arg(text, expected.text));
    return expected.answer;
}

QStringList ScriptedMessageBoxes::takeProblems()
{
    QStringList problems = std::exchange(m_problems, {});
    for (const Expected &expected : std::exchange(m_expected, {})) {
        problems.append(expected.text.isNull()
                            ? QStringLiteral("answer %1 was never asked for").arg(expected.answer)
                            : QStringLiteral("answer %1 to \"%2\" was never asked for").arg(expected.answer).arg(expected.text));
    }
    return problems;
}

bool ScriptedMessageBoxes::verify(std::source_location where)
{
    const QStringList problems = takeProblems();
    if (problems.isEmpty())
        return true;
    QTest::qFail(problems.join(QLatin1String("; ")).toUtf8().constData(), where.file_name(), static_cast<int>(where.line()));
    return false;
}

} // namespace testsupport
