#pragma once

#include <source_location>

#include <QList>
#include <QString>
#include <QStringList>

#include "platform/MessageBox.h"

namespace testsupport {

// Answers message boxes from a script instead of showing them. While it
// lives it is the installed box; it records every box and fails the running
// test, at verify() or at the end of its scope, when a box appeared that
// nobody expected or that said something else than expected, or when an
// expected answer was never asked for.
class ScriptedMessageBoxes
{
public:
    struct Box
    {
        QString text;
        int style;
        QString title; // as shown: an empty title is already the application title
    };

    explicit ScriptedMessageBoxes(std::source_location where = std::source_location::current());
    ~ScriptedMessageBoxes();
    ScriptedMessageBoxes(const ScriptedMessageBoxes &) = delete;
    ScriptedMessageBoxes &operator=(const ScriptedMessageBoxes &) = delete;

    // Queues the answer to the next box; with a text, that box must say exactly it.
    void expect(int answer, const QString &text = QString());

    [[nodiscard]] const QList<Box> &boxes() const { return m_boxes; }

    // Fails the running test on any problem so far (answers still queued
    // count) and starts afresh; true when there was none.
    bool verify(std::source_location where = std::source_location::current());

    // The problems so far, answers still queued included, and starts afresh
    // without failing anything: for tests of this fake.
    [[nodiscard]] QStringList takeProblems();

private:
    struct Expected
    {
        int answer;
        QString text;
    };

    int answer(const QString &text, int style, const QString &title);

    QList<Expected> m_expected;
    QList<Box> m_boxes;
    QStringList m_problems;
    platform::MessageBoxFunction m_previous;
    std::source_location m_createdAt;
};

} // namespace testsupport
